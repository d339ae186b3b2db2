// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office engine against the real LibreOffice: every office operation on real Word 97 files, the
// engine's death, hang and restart, and that no office process outlives its program.

#include "office/libreoffice/Engine.h"
#include "office/libreoffice/HiddenDocument.h"
#include "office/libreoffice/LibreOffice.h"
#include "office/libreoffice/UnoText.h"
#include "support/SamePage.h"
#include "support/TestFiles.h"
#include "support/office/OfficeDocuments.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace ::com::sun::star;
using ::rtl::OUString;
using testing::HasSubstr;

namespace {

QString tempFile(const QString& name) {
    return qEnvironmentVariable("TEMP") + QLatin1Char('/') + name;
}

// Processes of the group that still run (zombies do not count).
int livingInGroup(pid_t group) {
    int living = 0;
    for (const QString& entry :
         QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int close = line.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 2 && fields[0] != "Z" && fields[0] != "X" && fields[2].toInt() == group)
            ++living;
    }
    return living;
}

bool groupEndsWithin(pid_t group, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (livingInGroup(group) > 0) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.description().toStdString();
    }
    return "(no failure)";
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// After the whole run, no office this program started may still run (their pipe names
// carry this program's process id).
class NoOfficeLeft : public testing::Environment {
public:
    void TearDown() override {
        const QString ours = QStringLiteral("pipe,name=festoria-%1-").arg(::getpid());
        const auto until = std::chrono::steady_clock::now() + 2s;
        QList<int> left = processesMentioning(ours);
        while (!left.isEmpty() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(50ms);
            left = processesMentioning(ours);
        }
        EXPECT_TRUE(left.isEmpty()) << "office processes left after the test run: " << left.size();
    }
};
[[maybe_unused]] testing::Environment* const noOfficeLeft =
    testing::AddGlobalTestEnvironment(new NoOfficeLeft);

// One office for the tests that do not end it.
class OfficeTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        office = office::makeLibreOffice().release();
        dot = tempFile(QStringLiteral("fixture.dot"));
        makeTestDocument(*office, dot, true);
    }
    static void TearDownTestSuite() {
        const pid_t pid = office->processId();
        delete office;
        office = nullptr;
        EXPECT_TRUE(groupEndsWithin(pid, 0ms)) << "the office outlived its engine";
    }
    static inline office::LibreOffice* office = nullptr;
    static inline QString dot;
};

TEST_F(OfficeTest, FillsBookmarksSavesAsWord97AndReadsBack) {
    const QByteArray templateBefore = bytesOf(dot);
    // A folder name with a space and a non-ASCII letter, as $TEMP may have.
    QDir().mkpath(tempFile(QStringLiteral("a folder ü")));
    const QString saved = tempFile(QStringLiteral("a folder ü/filled.doc"));
    const QString ranged = QString(999, u'a') + QStringLiteral("😀") + QString(1500, QChar(0xE000));
    const QString collapsed =
        QStringLiteral("Saturday ") + QString(2500, u'4') + QStringLiteral(" PM");
    {
        auto word = office->startSession();
        office::Document& doc = word->open(dot, true);
        EXPECT_EQ(&word->activeDocument(), &doc);
        // Long texts go in by pieces, in order, a pair of halves across a piece's end whole,
        // and a ranged bookmark spans all of it: the next text replaces it whole.
        doc.setBookmarkText(QStringLiteral("bRanged"), ranged);
        doc.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("Garden ") + ranged);
        doc.setBookmarkText(QStringLiteral("bCollapsed"), collapsed);
        doc.setBookmarkText(QStringLiteral("bField"), QStringLiteral("Grüße & “quotes”"));
        // Line breaks as a text box gives them (CR LF), or bare: each is one paragraph break.
        doc.setBookmarkText(QStringLiteral("bCollapsed"), QStringLiteral("A\r\nB\nC\rD, "));
        doc.saveAs(saved);
        word->setDisplayAlerts(false);
        doc.close();
        word->quit();
    }
    {
        // Opened for editing: no lock file appears beside it.
        auto word = office->startSession();
        word->open(saved, false)
            .setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("edited"));
        EXPECT_EQ(QDir(QFileInfo(saved).path())
                      .entryList(QDir::Files | QDir::Hidden)
                      .join(' ')
                      .toStdString(),
                  "filled.doc");
        word->quit();
    }
    // A Word 97 file is an OLE compound file.
    EXPECT_TRUE(bytesOf(saved).startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")));
    // The template was opened read-only and is untouched.
    EXPECT_EQ(bytesOf(dot), templateBefore);

    const DocumentContents back = readDocument(*office, saved);
    ASSERT_GE(back.paragraphs.size(), 6);
    EXPECT_EQ(back.paragraphs[0],
              QStringLiteral("Event: Garden ") + ranged + QStringLiteral(" end."));
    EXPECT_EQ(back.paragraphs.mid(1, 5), QStringList({"When: A", "B", "C", "D, " + collapsed + "|",
                                                      "Date: Grüße & “quotes”|"}));
    EXPECT_EQ(back.fields, 0) << "the field under the bookmark must be replaced";

    const DocumentContents original = readDocument(*office, dot);
    EXPECT_EQ(original.fields, 1);
    EXPECT_THAT(original.bookmarks,
                testing::UnorderedElementsAre("bRanged", "bCollapsed", "bField"));
}

TEST_F(OfficeTest, OpensTheTemplateItselfAndClosesEverythingOnQuit) {
    auto word = office->startSession();
    word->open(dot, true);
    const QString url = QUrl::fromLocalFile(dot).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(openDocumentUrls(*office).contains(url)) << "a template must open as itself";
    word->quit();
    for (int i = 0; i < 100 && office->engine().documentsLeftToClose() > 0; ++i)
        std::this_thread::sleep_for(50ms); // closed once the office is idle
    EXPECT_FALSE(openDocumentUrls(*office).contains(url))
        << "quit must close the session's documents";
}

TEST_F(OfficeTest, ReadableFailures) {
    auto word = office->startSession();
    EXPECT_THAT(failureOf([&] { word->open(tempFile(QStringLiteral("nowhere.dot")), true); }),
                HasSubstr("nowhere.dot"));
    EXPECT_THAT(failureOf([&] { word->activeDocument(); }), HasSubstr("no document is open"));

    office::Document& doc = word->open(dot, true);
    EXPECT_THAT(
        failureOf([&] { doc.setBookmarkText(QStringLiteral("bNoSuch"), QStringLiteral("x")); }),
        HasSubstr("bNoSuch"));
    EXPECT_THAT(failureOf([&] { doc.fitText({{QStringLiteral("bNoSuch")}}); }),
                HasSubstr("'bNoSuch' does not exist"));
    EXPECT_THAT(failureOf([&] { doc.saveAs(tempFile(QStringLiteral("no/such/folder/x.doc"))); }),
                HasSubstr("x.doc"));

    doc.close();
    EXPECT_THAT(
        failureOf([&] { doc.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("x")); }),
        HasSubstr("closed"));
    EXPECT_THAT(failureOf([&] { doc.saveAs(tempFile(QStringLiteral("late.doc"))); }),
                HasSubstr("closed"));
    EXPECT_THAT(failureOf([&] { doc.close(); }), HasSubstr("closed"));
    EXPECT_THAT(failureOf([&] { word->activeDocument(); }), HasSubstr("no document is open"));
    EXPECT_FALSE(QFile::exists(tempFile(QStringLiteral("late.doc"))));

    word->quit();
    EXPECT_THAT(failureOf([&] { word->open(dot, true); }), HasSubstr("quit"));
    EXPECT_THAT(failureOf([&] { word->setDisplayAlerts(false); }), HasSubstr("quit"));
    EXPECT_THAT(failureOf([&] { word->quit(); }), HasSubstr("quit"));
}

TEST_F(OfficeTest, RendersTheFirstPageAtItsPhysicalScale) {
    auto word = office->startSession();
    office::Document& doc = word->open(dot, true);
    doc.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("BIG EVENT BIG EVENT BIG EVENT"));
    const QImage picture = doc.renderPicture(816, 0.5);
    word->quit();

    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 816);
    EXPECT_NEAR(picture.height(), 1056, 1); // US Letter, 8.5 x 11
    // Half the page's size: 8.5 in x 0.5 = 0.10795 m.
    EXPECT_NEAR(picture.width() / double(picture.dotsPerMeterX()), 0.10795, 0.0005);
    EXPECT_NEAR(picture.height() / double(picture.dotsPerMeterY()), 0.1397, 0.0005);
    int dark = 0;
    for (int y = 0; y < picture.height() / 4; ++y)
        for (int x = 0; x < picture.width(); ++x)
            dark += qGray(picture.pixel(x, y)) < 128;
    EXPECT_GT(dark, 50) << "the text must be drawn";
    // No picture file is left behind.
    EXPECT_TRUE(QDir(qEnvironmentVariable("TEMP"))
                    .entryList({QStringLiteral("*.png"), QStringLiteral("*.bmp")})
                    .isEmpty());
}

// The picture is the office's own drawing, nothing resampled. At the preview's width (the
// page at the screen's 96 dpi) the page is drawn once, straight onto a device: what the
// office's PNG export ("Export as Image") draws, but for glyphs and edges that export's
// played-back recording places a fraction of a pixel apart. At any other width it is that
// export's own drawing, pixel for pixel, without the blank edge the export adds.
TEST_F(OfficeTest, RendersThePageAsTheOfficeDrawsIt) {
    const QString still = tempFile(QStringLiteral("still.doc"));
    {
        auto word = office->startSession();
        office::Document& document = word->open(QStringLiteral(FESTORIA_TEMPLATE), true);
        document.setBookmarkText(QStringLiteral("bEvent"), QStringLiteral("Lobster Eating Party"));
        document.saveAs(still);
        word->quit();
    }
    for (const QSize size : {QSize(816, 1056), QSize(700, 906)}) {
        SCOPED_TRACE(size.width());
        QImage picture;
        {
            auto word = office->startSession();
            picture = word->open(still, true).renderPicture(size.width(), 0.5);
            word->quit();
        }
        ASSERT_EQ(picture.size(), size);
        const QString png = tempFile(QStringLiteral("exported.png"));
        {
            OpenedDocument document(*office, still);
            using office::property;
            const auto pixels =
                office::properties({property("PixelWidth", uno::Any(sal_Int32(size.width()))),
                                    property("PixelHeight", uno::Any(sal_Int32(size.height())))});
            uno::Reference<frame::XStorable>(document.component(), uno::UNO_QUERY_THROW)
                ->storeToURL(office::fileUrl(png),
                             office::properties(
                                 {property("FilterName", uno::Any(OUString("writer_png_Export"))),
                                  property("FilterData", uno::Any(pixels))}));
        }
        const QImage exported =
            QImage(png).copy(QRect(QPoint(), size)).convertToFormat(QImage::Format_RGB32);
        picture = picture.convertToFormat(QImage::Format_RGB32);
        if (size.width() != 816) {
            EXPECT_EQ(picture, exported);
            continue;
        }
        EXPECT_LE(meanDifference(picture, exported), 1.5) << "per pixel";
        EXPECT_EQ(inkOnlyInOne(picture, exported), 0);
    }
}

// A Word 97 file named .doc opens with the Word filter named (the office then spares
// probing it with every other filter) and is drawn as when the office finds its type itself;
// a compound file that filter cannot open is still asked about, and reported.
TEST_F(OfficeTest, OpensAWordFileWithItsFilterNamed) {
    const QString doc = tempFile(QStringLiteral("word.doc")), bin = tempFile("word.bin"),
                  odd = tempFile(QStringLiteral("compound.doc"));
    writeFile(odd, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(4000, '\0'));
    auto word = office->startSession();
    word->open(QStringLiteral(FESTORIA_TEMPLATE), true).saveAs(doc);
    ASSERT_TRUE(QFile::copy(doc, bin));
    EXPECT_EQ(word->open(doc, true).renderPicture(700, 0.5),
              word->open(bin, true).renderPicture(700, 0.5));
    EXPECT_THAT(failureOf([&] { word->open(odd, true); }), HasSubstr("could not open"));
    word->quit();
    office::Engine& engine = office->engine();
    const auto args = engine.call(engine.generation(), [&] {
        const auto document = office::openHiddenDocument(engine, doc, true);
        const auto read = uno::Reference<frame::XModel>(document, uno::UNO_QUERY_THROW)->getArgs();
        office::closeOrDispose(document);
        return read;
    });
    const auto filter = std::find_if(args.begin(), args.end(),
                                     [](const auto& arg) { return arg.Name == "FilterName"; });
    ASSERT_NE(filter, args.end());
    EXPECT_EQ(filter->Value.get<OUString>(), OUString("MS Word 97"));
}

// A document never fetches what it links to: a picture at an address stays unloaded when
// the document is opened and drawn. A listener on a local port sees any attempt.
TEST_F(OfficeTest, APictureLinkedToAnAddressIsNeverFetched) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const QByteArray url =
        "http://127.0.0.1:" + QByteArray::number(ntohs(address.sin_port)) + "/p.png";
    const QString path = tempFile(QStringLiteral("linked.doc"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({\rtf1 Party {\field{\*\fldinst INCLUDEPICTURE ")" + url + R"(" \\d}}})");
    file.close();
    auto word = office->startSession();
    EXPECT_FALSE(word->open(path, true).renderPicture(816, 0.5).isNull());
    word->quit();
    pollfd incoming{listener, POLLIN, 0};
    EXPECT_EQ(poll(&incoming, 1, 300), 0) << "the office fetched " << url.constData();
    close(listener);
}

} // namespace

using office::LibreOfficeOptions;

namespace {

TEST(OfficeLife, AKilledOfficeIsReplacedByTheNextSession) {
    LibreOfficeOptions options;
    options.callTimeout = 2s; // a hung office is given up quickly here
    auto office = office::makeLibreOffice(options);
    const QString dot = tempFile(QStringLiteral("life.dot"));
    makeTestDocument(*office, dot, true);

    // Killed between two sessions: the next session start starts a new office.
    office->startSession()->quit();
    const pid_t first = office->processId();
    ::kill(-first, SIGKILL);
    ASSERT_TRUE(groupEndsWithin(first, 5s));
    auto word = office->startSession();
    const pid_t second = office->processId();
    EXPECT_NE(second, first);
    office::Document& doc = word->open(dot, true);
    EXPECT_TRUE(doc.fitText({}).isEmpty()); // the fit is loaded into this office

    // Killed in the middle of a session: a readable failure (none of the office's internals),
    // then recovery, the fit loaded into the new office.
    ::kill(-second, SIGKILL);
    EXPECT_EQ(
        failureOf([&] { doc.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("x")); }),
        "The office stopped working; try again.");
    doc.close(); // closing a document whose office died is harmless, and so is quitting
    EXPECT_THAT(failureOf([&] { doc.saveAs(tempFile(QStringLiteral("gone.doc"))); }),
                HasSubstr("closed"));
    word->quit();
    auto again = office->startSession();
    office::Document& reopened = again->open(dot, true);
    reopened.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("back"));
    EXPECT_TRUE(reopened.fitText({}).isEmpty());
    again->quit();
    EXPECT_NE(office->processId(), second);

    // A hung office: the call fails within the bound and the office is ended.
    auto hung = office->startSession();
    office::Document& stuck = hung->open(dot, true);
    const pid_t third = office->processId();
    ASSERT_EQ(::kill(-third, SIGSTOP), 0);
    std::this_thread::sleep_for(200ms);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_THAT(
        failureOf([&] { stuck.setBookmarkText(QStringLiteral("bRanged"), QStringLiteral("x")); }),
        HasSubstr("did not answer within 2 seconds"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 10s);
    EXPECT_TRUE(groupEndsWithin(third, 5s));
    hung.reset();
    auto recovered = office->startSession();
    recovered->open(dot, true).setBookmarkText(QStringLiteral("bCollapsed"), QStringLiteral("ok"));
    recovered->quit();

    // Hung between sessions: a session start asks the office, and replaces it when it does
    // not answer. (The worker has no document left to close in it, which would find the hang
    // first.)
    for (int i = 0; i < 100 && office->engine().documentsLeftToClose() > 0; ++i)
        std::this_thread::sleep_for(50ms);
    office->startSession()->quit();
    const pid_t fourth = office->processId();
    ASSERT_EQ(::kill(-fourth, SIGSTOP), 0);
    office->startSession()->open(dot, true);
    EXPECT_NE(office->processId(), fourth);
    EXPECT_TRUE(groupEndsWithin(fourth, 5s));
}

// The process groups of the offices a program runs, each with the profile it uses.
std::map<pid_t, QByteArray> officesOf(qint64 program) {
    std::map<pid_t, QByteArray> offices;
    for (int pid : processesMentioning(QStringLiteral("name=festoria-%1-").arg(program))) {
        QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
        if (!environment.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& entry : environment.readAll().split('\0'))
            if (entry.startsWith("UserInstallation="))
                offices[::getpgid(pid)] = entry;
    }
    offices.erase(-1);
    return offices;
}

// The pipe sockets the processes of an office's group hold open, as /proc shows them.
QStringList pipesOf(pid_t group) {
    std::set<QByteArray> inodes;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (::getpgid(entry.toInt()) != group)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(entry));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            char link[64] = {};
            const QByteArray target(link,
                                    int(::readlink(QFile::encodeName(fd.filePath()).constData(),
                                                   link, sizeof link - 1)));
            if (target.startsWith("socket:["))
                inodes.insert(target.mid(8).chopped(1));
        }
    }
    QStringList paths;
    QFile sockets(QStringLiteral("/proc/net/unix"));
    if (sockets.open(QIODevice::ReadOnly))
        for (const QByteArray& line : sockets.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 7 && inodes.contains(fields[6]) && fields[7].contains("OSL_PIPE_"))
                paths << QString::fromLocal8Bit(fields[7]);
        }
    paths.removeDuplicates();
    return paths;
}

// Whether a socket is still bound to one of the paths: an office whose processes show as
// ended may hold its pipes open a little longer, until its last thread has gone.
bool anyHeld(const QStringList& paths) {
    QFile sockets(QStringLiteral("/proc/net/unix"));
    if (!sockets.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : sockets.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 7 && paths.contains(QString::fromLocal8Bit(fields[7])))
            return true;
    }
    return false;
}

bool unheldWithin(const QStringList& paths, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (anyHeld(paths)) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

bool goneWithin(const QStringList& paths, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::any_of(paths.cbegin(), paths.cend(),
                       [](const QString& p) { return QFileInfo::exists(p); })) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Waits for an office of the program that is none of the known ones; 0 when none comes.
pid_t newOfficeOf(qint64 program, const std::set<pid_t>& known, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        for (const auto& [group, profile] : officesOf(program))
            if (!known.contains(group))
                return group;
        std::this_thread::sleep_for(50ms);
    }
    return 0;
}

TEST(OfficeLife, RenewsAndRecoversInTheBackground) {
    LibreOfficeOptions options;
    options.sessionsPerOffice = 2;
    auto office = office::makeLibreOffice(options);
    office->startSession()->quit();
    const pid_t first = office->processId();
    // The second session serves its share: a successor starts while the first still serves.
    auto second = office->startSession();
    EXPECT_EQ(office->processId(), first);
    second->quit();
    second.reset(); // a session object still held keeps its office
    const pid_t successor = newOfficeOf(::getpid(), {first}, 30s);
    ASSERT_GT(successor, 0) << "no successor was started";
    const auto both = officesOf(::getpid());
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NE(both.begin()->second, std::next(both.begin())->second)
        << "two offices share a profile";

    // Session starts go on with the first office until the successor answers, then with the
    // successor: no session start ever starts an office itself.
    pid_t serving = first;
    for (int i = 0; i < 300 && serving == first; ++i) {
        office->startSession()->quit();
        serving = office->processId();
        if (serving == first)
            std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(serving, successor);
    EXPECT_TRUE(groupEndsWithin(first, 10s)) << "the replaced office was not ended";
    // Its rehearsal was no session of the program's: one session leaves it half its share.
    EXPECT_EQ(newOfficeOf(::getpid(), {first, successor}, 2s), 0) << "renewed too early";

    // An office killed between requests is replaced before the next session start needs it,
    // and its pipes (the program's and its single-instance one) go when it is replaced.
    const QStringList killedPipes = pipesOf(successor);
    EXPECT_EQ(killedPipes.size(), 2) << killedPipes.join(' ').toStdString();
    ::kill(-successor, SIGKILL);
    const pid_t replacement = newOfficeOf(::getpid(), {first, successor}, 30s);
    ASSERT_GT(replacement, 0) << "the killed office was not replaced ahead of need";
    auto next = office->startSession();
    EXPECT_EQ(office->processId(), replacement);
    next->quit();
    next.reset();
    EXPECT_TRUE(groupEndsWithin(successor, 10s));
    EXPECT_EQ(officesOf(::getpid()).size(), 1u);
    EXPECT_TRUE(goneWithin(killedPipes, 10s)) << killedPipes.join(' ').toStdString();
    EXPECT_EQ(pipesOf(replacement).size(), 2u) << "the serving office keeps its pipes";
}

// While the office is idle it opens the program's template ahead. The copy serves the next
// read-only open of a file with exactly the template's bytes, once and as the template it is
// (never the document an earlier request filled), any other open reads its file as before,
// and the copy goes before its office does.
TEST(OfficeLife, TheTemplateOpenedAheadServesOneOpenOfItsOwnBytes) {
    const QString dot = QStringLiteral(FESTORIA_TEMPLATE), same = tempFile("same bytes.dot");
    ASSERT_TRUE(QFile::copy(dot, same));
    LibreOfficeOptions options;
    options.templateAhead = bytesOf(dot);
    auto office = office::makeLibreOffice(options);
    office->startSession()->quit(); // as at start-up
    const auto openAhead = [&] {
        for (int i = 0; i < 300 && !office->engine().templateAheadOpen(); ++i)
            std::this_thread::sleep_for(100ms);
        return office->engine().templateAheadOpen();
    };
    // Each open in a session of its own; what it took ahead, and what it saved.
    const auto openAndSave = [&](const QString& path, bool readOnly, const QString& event,
                                 const QString& savedAs) {
        EXPECT_TRUE(openAhead());
        const int before = office->engine().templatesTakenAhead();
        auto session = office->startSession();
        office::Document& document = session->open(path, readOnly);
        if (!event.isEmpty())
            document.setBookmarkText(QStringLiteral("bEvent"), event);
        document.saveAs(savedAs);
        session->quit();
        return office->engine().templatesTakenAhead() - before;
    };
    const QString first = tempFile("first.doc"), other = tempFile("other.doc"),
                  again = tempFile("again.doc");
    EXPECT_EQ(openAndSave(same, false, {}, other), 0) << "opened for editing";
    EXPECT_EQ(openAndSave(same, true, QStringLiteral("First request"), first), 1);
    EXPECT_EQ(openAndSave(first, true, {}, other), 0) << "another file";
    EXPECT_EQ(openAndSave(same, true, {}, again), 1);

    ASSERT_TRUE(openAhead()); // the office is idle until the next session
    EXPECT_TRUE(textsFromBookmarks(*office, first).value("bEvent").startsWith("First request"));
    EXPECT_EQ(textsFromBookmarks(*office, again), textsFromBookmarks(*office, dot));
    EXPECT_EQ(openDocumentUrls(*office).size(), 1) << "only the copy opened ahead";
    office->shutdown();
    EXPECT_FALSE(office->engine().templateAheadOpen());
}

// A frame kept from a closed document (without its toolbars) opens the next documents: they
// are filled, fitted and drawn exactly as in new frames, and a file that cannot be opened
// fails as it would in a new frame, without spoiling the next open.
TEST(OfficeLife, KeptFramesOpenDocumentsAsNewFramesDo) {
    auto office = office::makeLibreOffice();
    const QString saved = tempFile(QStringLiteral("kept.doc")), broken = tempFile("broken.docx");
    const auto closedOnceIdle = [&] { // the documents, and their frames kept
        for (int i = 0; i < 100 && office->engine().documentsLeftToClose() > 0; ++i)
            std::this_thread::sleep_for(50ms);
    };
    const auto click = [&] {
        auto session = office->startSession();
        office::Document& filled = session->open(QStringLiteral(FESTORIA_TEMPLATE), true);
        filled.setBookmarkText(QStringLiteral("bEvent"),
                               QStringLiteral("Lobster Eating Party by the Old Harbour Light"));
        const QStringList tooLong = filled.fitText(
            {{QStringLiteral("bEvent"), false, 14, 0, true}, {QStringLiteral("bWhen"), true, 7}});
        filled.saveAs(saved);
        filled.close();
        const QImage picture = session->open(saved, true).renderPicture(816, 0.5);
        session->quit();
        closedOnceIdle();
        return std::pair(tooLong, picture);
    };
    const auto inNewFrames = click();
    // The office rehearses a request in its first idle moment, in the kept frames too.
    for (int i = 0; i < 200 && !office->engine().rehearsed(); ++i)
        std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(office->engine().rehearsed()) << "the first office rehearsed no request";
    closedOnceIdle();
    const int takenBefore = office->engine().spareFrames().taken();
    EXPECT_EQ(click(), inNewFrames) << "filled, fitted and drawn in kept frames";
    EXPECT_EQ(office->engine().spareFrames().taken() - takenBefore, 2);
    EXPECT_EQ(officeFrames(*office), 2) << "only the kept frames, each used again";

    writeFile(broken, QByteArray("PK\x03\x04") + QByteArray(4000, '\x7f'));
    auto session = office->startSession();
    EXPECT_THAT(failureOf([&] { session->open(broken, true); }), HasSubstr("could not open"));
    session->open(saved, true);
    session->quit();
    closedOnceIdle();
    EXPECT_EQ(officeFrames(*office), 1) << "the frame that failed is gone";
}

// A document the program closes is closed in the office once it is idle, not during the
// request; with no idle moment between requests, only the latest one's wait. One filled with
// long texts is closed at once (the office would lay it out between the next request's calls).
TEST(OfficeLife, ClosedDocumentsAreClosedOnceTheOfficeIsIdle) {
    auto office = office::makeLibreOffice();
    const QString saved = tempFile(QStringLiteral("long.doc"));
    // The template filled with a short or a long text, or the long one saved and opened.
    const struct {
        int length;
        bool reopened;
    } rows[] = {{10, false}, {10, false},   {10, false}, {10, false},
                {10, false}, {4001, false}, {0, true}};
    for (const auto& row : rows) {
        auto session = office->startSession();
        office::Document& document =
            session->open(row.reopened ? saved : QStringLiteral(FESTORIA_TEMPLATE), true);
        if (!row.reopened)
            document.setBookmarkText(QStringLiteral("bEvent"), QString(row.length, u'x'));
        if (row.length > 4000)
            document.saveAs(saved);
        const int before = office->engine().documentsLeftToClose();
        document.close();
        session->quit();
        const int waiting = office->engine().documentsLeftToClose();
        const bool isLong = row.reopened || row.length > 4000;
        EXPECT_TRUE(isLong ? waiting <= before : waiting >= 1 && waiting <= 2) << waiting;
    }
    for (int i = 0; i < 100 && office->engine().documentsLeftToClose() > 0; ++i)
        std::this_thread::sleep_for(50ms);
    EXPECT_EQ(openDocumentUrls(*office), QStringList());
}

// An office whose successor is due first closes what waits and opens the template ahead in
// its idle moment, and again after each request it serves while the successor starts (held
// here, as a start on a busy machine takes seconds).
TEST(OfficeLife, AnOfficeBeingRenewedWorksAheadWhileItsSuccessorStarts) {
    LibreOfficeOptions options;
    options.sessionsPerOffice = 2;
    options.templateAhead = bytesOf(QStringLiteral(FESTORIA_TEMPLATE));
    auto office = office::makeLibreOffice(options);
    const auto request = [&] {
        auto session = office->startSession();
        session->open(QStringLiteral(FESTORIA_TEMPLATE), true).close();
        session->quit();
    };
    request();
    request(); // uses up the office's share
    const pid_t serving = office->processId();
    const pid_t successor = newOfficeOf(::getpid(), {serving}, 30s);
    ASSERT_GT(successor, 0);
    ::kill(-successor, SIGSTOP);
    const auto resume = qScopeGuard([&] { ::kill(-successor, SIGCONT); });
    EXPECT_TRUE(office->engine().templateAheadOpen());
    EXPECT_EQ(office->engine().documentsLeftToClose(), 0);

    request();
    EXPECT_EQ(office->processId(), serving);
    bool ahead = false;
    for (int i = 0; i < 100 && !ahead; ++i) {
        std::this_thread::sleep_for(50ms);
        ahead =
            office->engine().templateAheadOpen() && office->engine().documentsLeftToClose() == 0;
    }
    EXPECT_TRUE(ahead);
}

pid_t runChild(QProcess& child, const char* mode) {
    // A program of its own that holds an office: ends normally ("end") or waits ("wait").
    child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/festoria-hold-office"),
                {QString::fromLatin1(mode)});
    if (!child.waitForStarted(5000))
        return 0;
    QByteArray out;
    const auto until = std::chrono::steady_clock::now() + 40s;
    while (!out.contains('\n') && std::chrono::steady_clock::now() < until) {
        child.waitForReadyRead(500);
        out += child.readAllStandardOutput();
        const int at = out.indexOf("office ");
        if (at >= 0 && out.indexOf('\n', at) > 0)
            return pid_t(out.mid(at + 7, out.indexOf('\n', at) - at - 7).toInt());
        if (out.contains('\n') && !out.contains("office "))
            out.clear();
    }
    return 0;
}

// The processes whose parent is the given one, each with its process group.
QList<std::pair<pid_t, pid_t>> childrenOf(pid_t parent) {
    QList<std::pair<pid_t, pid_t>> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid pgrp ...": the name may hold spaces and parentheses.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(1).toInt() == parent)
            found.append({pid_t(entry.toInt()), pid_t(fields.at(2).toInt())});
    }
    return found;
}

// However the program ends (in order, killed, or killed after its guard process was killed
// first), its office ends with it.
TEST(OfficeLife, NoOfficeOutlivesItsProgram) {
    enum class End { Normally, Killed, GuardKilledFirst };
    for (const End end : {End::Normally, End::Killed, End::GuardKilledFirst}) {
        SCOPED_TRACE(int(end));
        QProcess child;
        const pid_t office = runChild(child, end == End::Normally ? "end" : "wait");
        ASSERT_GT(office, 0);
        ASSERT_GT(livingInGroup(office), 0);
        if (end == End::Normally) {
            ASSERT_TRUE(child.waitForFinished(30000));
            EXPECT_TRUE(groupEndsWithin(office, 0ms))
                << "the office outlived a program that ended normally";
            continue;
        }
        if (end == End::GuardKilledFirst) {
            pid_t guard = 0;
            for (const auto& [pid, group] : childrenOf(pid_t(child.processId())))
                if (group != office)
                    guard = pid;
            ASSERT_GT(guard, 0) << "the program has a guard process beside its office";
            // Both are the small keeper program, not copies of the program sharing its memory.
            for (const pid_t helper : {guard, office})
                EXPECT_TRUE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(helper))
                                .symLinkTarget()
                                .endsWith(QStringLiteral("/festoria-office-keeper")));
            ASSERT_EQ(::kill(guard, SIGKILL), 0);
            std::this_thread::sleep_for(300ms);
            ASSERT_GT(livingInGroup(office), 0) << "the guard's end alone does not end the office";
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(5000);
        EXPECT_TRUE(groupEndsWithin(office, 10s)) << "the office outlived a killed program";
    }
    {
        // Killed while a successor office is starting in the background: neither outlives it.
        QProcess child;
        const pid_t office = runChild(child, "renew");
        ASSERT_GT(office, 0);
        const pid_t successor = newOfficeOf(child.processId(), {office}, 30s);
        ASSERT_GT(successor, 0);
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(5000);
        EXPECT_TRUE(groupEndsWithin(office, 10s)) << "the serving office outlived a killed program";
        EXPECT_TRUE(groupEndsWithin(successor, 10s))
            << "the starting office outlived a killed program";
    }
}

// The office's calls that wait for the disk return at once as done (what it writes goes when
// the program ends). A pipe cannot be synced: the kernel refuses it, unless the call never
// reaches the kernel.
TEST(OfficeLife, TheOfficeNeverWaitsForTheDisk) {
    const QString sync = QStandardPaths::findExecutable(QStringLiteral("sync"));
    ASSERT_FALSE(sync.isEmpty());
    const QString keeper = QCoreApplication::applicationDirPath() + "/festoria-office-keeper";
    const auto exitCodeOf = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments); // its input: a pipe
        return process.waitForFinished(10000) ? process.exitCode() : -1;
    };
    const int exitCodes[2] = {
        exitCodeOf(sync, {QStringLiteral("/dev/stdin")}),
        exitCodeOf(keeper,
                   {QStringLiteral("keep"), QString::number(::getpid()), sync, "/dev/stdin"}),
    };
    EXPECT_EQ(exitCodes[0], 1) << "syncing a pipe fails";
    EXPECT_EQ(exitCodes[1], 0) << "under the keeper, the sync returned without the disk";
}

// A killed program's offices leave their pipes behind; the next start removes them, and no
// pipe of a live office.
TEST(OfficeLife, TheNextStartRemovesTheKilledOfficesPipes) {
    QProcess killed;
    const pid_t office = runChild(killed, "renew");
    ASSERT_GT(office, 0);
    const pid_t successor = newOfficeOf(killed.processId(), {office}, 30s);
    ASSERT_GT(successor, 0);
    QStringList left;
    for (int i = 0; i < 100 && left.size() < 4; ++i) { // until the successor listens too
        std::this_thread::sleep_for(100ms);
        left = pipesOf(office) + pipesOf(successor);
    }
    ASSERT_EQ(left.size(), 4) << left.join(' ').toStdString();
    ::kill(pid_t(killed.processId()), SIGKILL);
    killed.waitForFinished(5000);
    ASSERT_TRUE(groupEndsWithin(office, 10s) && groupEndsWithin(successor, 10s) &&
                unheldWithin(left, 10s));
    ASSERT_FALSE(goneWithin(left, 0ms)) << "a killed office leaves its pipes";

    QProcess next;
    const pid_t nextOffice = runChild(next, "wait");
    ASSERT_GT(nextOffice, 0);
    const QStringList live = pipesOf(nextOffice);
    for (const QString& pipe : left)
        EXPECT_TRUE(!QFileInfo::exists(pipe) || live.contains(pipe)) << pipe.toStdString();
    EXPECT_EQ(live.size(), 2);
    for (const QString& pipe : live)
        EXPECT_TRUE(QFileInfo::exists(pipe)) << "a live office's pipe: " << pipe.toStdString();
    ::kill(pid_t(next.processId()), SIGKILL);
    next.waitForFinished(5000);
    ASSERT_TRUE(groupEndsWithin(nextOffice, 10s) && unheldWithin(live, 10s));
    office::makeLibreOffice()->startSession()->quit(); // and the pipes of that one go too
    EXPECT_TRUE(goneWithin(left + live, 5s)) << (left + live).join(' ').toStdString();
}

// A program whose office lives in static storage ends while a successor office is starting,
// or rehearsing, in the background: it ends cleanly, and neither office outlives it.
TEST(OfficeLife, AProgramEndingWhileASuccessorStartsEndsCleanly) {
    for (const auto delay : {0ms, 600ms, 1500ms}) {
        SCOPED_TRACE(delay.count());
        QProcess child;
        const pid_t office = runChild(child, "end-while-renewing");
        ASSERT_GT(office, 0);
        const pid_t successor = newOfficeOf(child.processId(), {office}, 30s);
        ASSERT_GT(successor, 0);
        std::this_thread::sleep_for(delay);
        child.write("end\n");
        ASSERT_TRUE(child.waitForFinished(30000)) << "the program did not end";
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_TRUE(groupEndsWithin(office, 5s)) << "the serving office outlived its program";
        EXPECT_TRUE(groupEndsWithin(successor, 5s)) << "the successor outlived its program";
    }
}

TEST(OfficeLife, AStartCleansUpAfterACrashedRun) {
    // A run that crashed with its guard: an office still holds the profile, with its lock.
    const QString cache = qEnvironmentVariable("TEMP") + QStringLiteral("/crashed-cache");
    QDir().mkpath(cache);
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    const QString profile = cache + QStringLiteral("/festoria/office-profile");
    QDir().mkpath(profile);
    qint64 orphan = 0;
    QProcess::startDetached(
        QStringLiteral("setsid"),
        {QStringLiteral("soffice"), QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("--nolockcheck"),
         QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
         QStringLiteral("--accept=pipe,name=festoria-orphan-%1;urp;").arg(::getpid())},
        QString(), &orphan);
    ASSERT_GT(orphan, 0);
    const auto until = std::chrono::steady_clock::now() + 20s;
    const QString accepting =
        QStringLiteral("/tmp/OSL_PIPE_%1_festoria-orphan-%2").arg(::getuid()).arg(::getpid());
    while (!QFile::exists(accepting) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(QFile::exists(accepting))
        << "the stand-in for a crashed run's office did not start";
    QFile lock(profile + QStringLiteral("/.lock"));
    ASSERT_TRUE(lock.exists());
    QFile pid(profile + QStringLiteral(".pid"));
    ASSERT_TRUE(pid.open(QIODevice::WriteOnly));
    pid.write(QByteArray::number(orphan));
    pid.close();

    {
        auto office = office::makeLibreOffice();
        office->startSession()->quit();
        EXPECT_TRUE(groupEndsWithin(pid_t(orphan), 0ms))
            << "the crashed run's office must be ended";
        EXPECT_GT(office->processId(), 0);
    }
    EXPECT_FALSE(QFile::exists(profile + QStringLiteral("/.lock")));
    QFile::remove(accepting);
    qputenv("XDG_CACHE_HOME", savedCache);
    ::waitpid(pid_t(orphan), nullptr, WNOHANG);
}

// An office that ends while it starts is told as it ended: killed from outside is not "check
// that LibreOffice is installed".
TEST(OfficeLife, AnOfficeEndedWhileStartingIsToldHowItEnded) {
    const struct {
        const char* what;
        const char* script;
        const char* told;
    } cases[] = {
        {"killed", "kill -9 $$",
         "was ended by signal 9 (Killed) while it started; something "
         "outside the program ended it. Try again."},
        {"failed", "exit 3",
         "ended as soon as it started, with code 3; check that LibreOffice "
         "is installed and works."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString program = tempFile(QStringLiteral("office-%1").arg(c.what));
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        LibreOfficeOptions options;
        options.program = program;
        auto office = office::makeLibreOffice(options);
        EXPECT_THAT(failureOf([&] { office->startSession(); }), HasSubstr(c.told));
    }
}

// The office's temporary folder beside its profile is emptied at every start; a link in its
// place is left as it is (the folder it leads to keeps everything and its mode), and the
// office starts with a fresh private folder instead.
TEST(OfficeLife, ALinkInPlaceOfTheOfficesTemporaryFolderIsLeftAndTheOfficeStarts) {
    const QString cache = tempFile(QStringLiteral("linked-cache"));
    const QString usersFolder = tempFile(QStringLiteral("users-folder"));
    ASSERT_TRUE(QDir().mkpath(cache + QStringLiteral("/festoria")));
    ASSERT_TRUE(QDir().mkpath(usersFolder + QStringLiteral("/letters")));
    QFile::setPermissions(usersFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup);
    const QFileDevice::Permissions mode = QFileInfo(usersFolder).permissions();
    ASSERT_TRUE(QFile::link(usersFolder, cache + QStringLiteral("/festoria/office-profile-tmp")));
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    {
        auto office = office::makeLibreOffice();
        EXPECT_EQ(failureOf([&] { office->startSession()->quit(); }), "(no failure)");
    }
    qputenv("XDG_CACHE_HOME", savedCache);
    EXPECT_TRUE(QFileInfo(cache + QStringLiteral("/festoria/office-profile-tmp")).isSymLink());
    EXPECT_EQ(QDir(usersFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("letters")})
        << "nothing is written through the link";
    EXPECT_EQ(QFileInfo(usersFolder).permissions(), mode);
}

} // namespace
