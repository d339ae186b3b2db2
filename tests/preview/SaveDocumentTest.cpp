// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/EventDetails.h"
#include "core/Files.h"
#include "core/Product.h"
#include "output/Export.h"
#include "preview/PreviewCommands.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Save : ::testing::Test {
    QTemporaryDir folder;
    QString document;
    QByteArray content;
    ScriptedPrompts prompts;
    FakeOffice office;
    EventDetails details{QStringLiteral("Lobster Eating Party"),
                         QDate(2026, 7, 4),
                         QTime(19, 30),
                         {},
                         {},
                         {},
                         {},
                         {}};

    void SetUp() override {
        setApplicationTitle();
        document = tempPath(QStringLiteral("qorvel12345678.doc"));
        // Bytes that a text-mode or truncating copy would spoil.
        for (int i = 0; i < 200000; ++i)
            content.append(char(i * 7 % 256));
        content.append('\0');
        content.append("\r\n\x1a");
        write(document, content);
    }
    void TearDown() override { QFile::remove(document); }
    QString at(const QString& name) const { return folder.filePath(name); }
    void save(const QString& name) {
        prompts.saveNames << name;
        SaveDocument(prompts, office).saveAs(document, details);
    }
    // Printing to a file goes the same way as saving.
    void print(const QString& name) {
        prompts.printFiles << name;
        PrintDocument(prompts, office).print(document, details.name);
    }
    QStringList texts() const {
        QStringList result;
        for (const auto& s : prompts.shown)
            result << s.text;
        return result;
    }
    // Nothing half-written is left beside the destination.
    QStringList leftovers(const QString& in = QString()) const {
        return QDir(in.isEmpty() ? folder.path() : in)
            .entryList({QStringLiteral(".festoria-save-*")}, QDir::Files | QDir::Hidden);
    }
};

// A small file system of its own that fills up (mounting one needs the superuser).
struct SmallDisk {
    QByteArray path;
    bool mounted = false;
    explicit SmallDisk(const QString& at) : path(QFile::encodeName(at)) {
        QDir().mkpath(at);
        mounted =
            ::geteuid() == 0 && ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
    }
};
} // namespace

TEST_F(Save, ANewNameGetsAByteForByteCopyThenDone) {
    save(at(QStringLiteral("party.doc")));
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_EQ(prompts.saveDialogs[0].title, QStringLiteral("Save File"));
    EXPECT_EQ(prompts.saveDialogs[0].filter,
              QStringLiteral("Word Files (*.doc);;PDF Files (*.pdf);;Word 2007-365 Files "
                             "(*.docx);;OpenDocument Text Files (*.odt);;PNG Image (*.png);;"
                             "JPEG Image (*.jpg);;Calendar Event (*.ics)"));
    EXPECT_EQ(prompts.saveDialogs[0].selectedFilter, QStringLiteral("Word Files (*.doc)"));
    EXPECT_EQ(prompts.saveDialogs[0].initialName, QString());
    EXPECT_EQ(readAll(at(QStringLiteral("party.doc"))), content);
    ASSERT_EQ(texts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(prompts.shown[0].caption, applicationTitle());
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::Ok);
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(QFile::exists(document)); // the document itself stays for Back and Close
    EXPECT_TRUE(office.log.isEmpty()) << "a Word file is a copy; the office has no part in it";
}

TEST_F(Save, SavingAgainAsksAndReplacesOnlyAfterYes) {
    const QString target = at(QStringLiteral("party.doc"));
    const QString question =
        QStringLiteral("Are you sure you wish to overwrite ") + target + QStringLiteral(" ?");
    save(target);
    write(document, "second version");
    prompts.clear();
    prompts.answers << Prompts::Answer::No;
    save(target);
    EXPECT_EQ(readAll(target), content); // No: nothing written, "Done." all the same
    ASSERT_EQ(texts(), (QStringList{question, QStringLiteral("Done.")}));
    EXPECT_EQ(prompts.shown[0].caption, applicationTitle());
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);

    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(target);
    EXPECT_EQ(readAll(target), QByteArray("second version"));
    EXPECT_EQ(texts(), (QStringList{question, QStringLiteral("Done.")}));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Save, CancellingWritesNothingAndStillSaysDone) {
    SaveDocument(prompts, office).saveAs(document, details);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Done.")});
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(Save, TheNameIsUsedExactlyAsGiven) {
    // No extension is added; spaces and non-ASCII letters are kept.
    const QString name = at(QStringLiteral("Fête d'été invitation"));
    save(name);
    EXPECT_EQ(readAll(name), content);
    EXPECT_FALSE(QFile::exists(name + QStringLiteral(".doc")));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(Save, BadDestinationsAreReportedAndHarmNothing) {
    // A folder that does not exist.
    save(at(QStringLiteral("no such folder/party.doc")));
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(prompts.reports().value(0).contains(QString::fromLocal8Bit(std::strerror(ENOENT))))
        << prompts.reports().value(0).toStdString();
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));

    // A folder chosen as the file name: asked about, then refused with a clear report.
    const QString sub = at(QStringLiteral("folder.doc"));
    QDir().mkdir(sub);
    write(sub + QStringLiteral("/inside"), "x");
    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(sub);
    ASSERT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("folder")));
    EXPECT_EQ(readAll(sub + QStringLiteral("/inside")), QByteArray("x"));
    // One the office would export to is refused before the office is asked to.
    const QString pdfFolder = at(QStringLiteral("folder.pdf"));
    QDir().mkdir(pdfFolder);
    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(pdfFolder);
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_EQ(office.log, QStringList()) << "no session, no export";

    // The temporary document itself: it survives whole.
    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(document);
    EXPECT_EQ(readAll(document), content);
    EXPECT_EQ(texts().last(), QStringLiteral("Done."));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Save, AReadOnlyFolderIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    const QString locked = at(QStringLiteral("locked"));
    QDir().mkdir(locked);
    write(locked + QStringLiteral("/party.doc"), "old");
    ::chmod(QFile::encodeName(locked).constData(), 0555);
    prompts.answers << Prompts::Answer::Yes;
    save(locked + QStringLiteral("/party.doc"));
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_EQ(readAll(locked + QStringLiteral("/party.doc")), QByteArray("old"));
}

// Every way of writing a file the user named (the Word copy, an export, printing to a file)
// keeps what the user set on the file it replaces; a new file gets the usual mode.
TEST_F(Save, TheReplacedFilesModeAndOwnerAreKept) {
    const mode_t savedMask = ::umask(002);
    const auto restoreMask = qScopeGuard([savedMask] { ::umask(savedMask); });
    const bool root = ::geteuid() == 0; // then the old file is another user's, kept as theirs
    const struct {
        const char* name;
        mode_t mask;
        mode_t before; // 0: no file yet
        bool link;
        mode_t after;
    } cases[] = {
        {"private", 022, 0600, false, 0600},      {"group", 077, 0640, false, 0640},
        {"read-only", 022, 0444, false, 0444},    {"new, usual mask", 022, 0, false, 0644},
        {"new, group mask", 002, 0, false, 0664}, {"new, private mask", 077, 0, false, 0600},
        {"linked", 002, 0604, true, 0604}};
    for (const char* writer : {"copy.doc", "export.pdf", "image.png", "print.pdf"})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " " + writer);
            ::umask(c.mask);
            const QString path = at(QString::fromLatin1(c.name) + u'-' + QLatin1String(writer));
            const QString file = c.link ? path + QStringLiteral(".target") : path;
            const QByteArray native = QFile::encodeName(file);
            if (c.before) {
                write(file, "old");
                ::chmod(native.constData(), c.before);
                ASSERT_TRUE(!root || ::chown(native.constData(), 65534, 65534) == 0);
            }
            ASSERT_TRUE(!c.link || QFile::link(file, path));
            prompts.clear();
            prompts.answers << Prompts::Answer::Yes;
            std::string_view(writer).starts_with("print") ? print(path) : save(path);
            EXPECT_EQ(prompts.reports(), QStringList());
            EXPECT_NE(readAll(file), QByteArray("old"));
            struct stat status {};
            ASSERT_EQ(::stat(native.constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, c.after);
            EXPECT_EQ(status.st_uid, root && c.before ? 65534u : ::geteuid());
            EXPECT_EQ(status.st_gid, root && c.before ? 65534u : ::getegid());
            EXPECT_EQ(QFileInfo(path).isSymLink(), c.link);
        }
    EXPECT_TRUE(leftovers().isEmpty());
}

// A destination that cannot take the file keeps the old one whole and the failure is
// reported: a disk full beside the old file, a printout that does not fit where it is
// written first, and a named pipe or a device, which is never opened.
TEST_F(Save, AFullDiskOrAPipeIsReportedAndTheOldFileKept) {
    const QString pipe = at(QStringLiteral("pipe.pdf")), pipeDoc = at(QStringLiteral("pipe.doc"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipeDoc).constData(), 0600), 0);
    // A reader, so that opening the pipe after all fails this test instead of hanging it.
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    const QString full = at(QStringLiteral("full"));
    const QByteArray old(40000, 'o');
    const struct {
        QString path;      // a .doc is saved, a .pdf printed
        QString smallDisk; // mounted for the case
        int line;
        const char* report;
    } cases[] = {
        {pipe, QString(), 102, "Cannot print to '%1': it is a named pipe, not a plain"},
        {pipeDoc, QString(), 130, "Cannot save to '%1': it is a named pipe, not a plain"},
        {full + QStringLiteral("/party.doc"), full, 130, "Cannot save to '%1': No space"},
        {full + QStringLiteral("/party.pdf"), full, 102, "Cannot print to '%1': No space"},
        {at(QStringLiteral("party.pdf")), cacheFolder(), 102, "'%1': the printout could not"},
        {QStringLiteral("/dev/null"), QString(), 102, "Cannot print to '%1': it is a device, not"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        std::optional<SmallDisk> disk;
        if (!c.smallDisk.isEmpty() && !disk.emplace(c.smallDisk).mounted) {
            std::printf("Not run without a small disk (it needs the superuser): %s\n", c.report);
            continue;
        }
        const bool notPlain = c.smallDisk.isEmpty(); // a pipe or a device
        if (!notPlain)
            write(c.path, old);
        prompts.clear();
        prompts.answers << Prompts::Answer::Yes;
        office.log.clear();
        c.path.endsWith(QStringLiteral(".doc")) ? save(c.path) : print(c.path);
        ASSERT_EQ(prompts.reportLines(), QList<int>{c.line});
        EXPECT_TRUE(prompts.reports()[0].contains(QString::fromLatin1(c.report).arg(c.path)))
            << prompts.reports()[0].toStdString();
        EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
        if (notPlain) {
            EXPECT_EQ(office.log, QStringList()) << "refused before the office works";
            EXPECT_FALSE(texts().join(u' ').contains(QStringLiteral("overwrite")))
                << "refused before asking";
        } else
            EXPECT_EQ(readAll(c.path), old);
        EXPECT_TRUE(leftovers(QFileInfo(c.path).absolutePath()).isEmpty());
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    ::close(reader);
}

TEST_F(Save, OtherFormatsAreMadeByTheOfficeWithTheSameQuestions) {
    // The PDF filter and a bare name: the office exports the document, opened read-only, in
    // a private folder; the result then takes the target's name.
    prompts.saveFilters << QStringLiteral("PDF Files (*.pdf)");
    save(at(QStringLiteral("party")));
    EXPECT_TRUE(readAll(at(QStringLiteral("party.pdf"))).startsWith("%PDF-1.4"));
    ASSERT_EQ(office.exportedPaths.size(), 1);
    EXPECT_TRUE(office.exportedPaths[0].startsWith(cacheFolder() + u'/'));
    EXPECT_TRUE(office.log.contains(QStringLiteral("open ") + document + QStringLiteral(" ro")));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Done.")});

    // Again under the same name: asked first, with the name the file really has.
    prompts.clear();
    prompts.saveFilters << QStringLiteral("PDF Files (*.pdf)");
    prompts.answers << Prompts::Answer::Yes;
    save(at(QStringLiteral("party")));
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Are you sure you wish to overwrite ") +
                                        at(QStringLiteral("party.pdf")) + QStringLiteral(" ?"),
                                    QStringLiteral("Done.")}));

    // A failing export, or a page's PDF that cannot be drawn, is reported at the save's
    // statement, keeps the old file whole, leaves nothing behind and shows no "Done."; the
    // next save works.
    for (const auto& [name, unreadable] :
         {std::pair{"keep.odt", false}, std::pair{"keep.png", false},
          std::pair{"keep.jpg", true}}) {
        SCOPED_TRACE(name);
        const QString target = at(QString::fromLatin1(name));
        write(target, "the user's only copy");
        if (unreadable)
            office.unreadablePdfs = 1;
        else
            office.fail(FakeOffice::Op::Export, 1);
        prompts.clear();
        prompts.answers << Prompts::Answer::Yes;
        save(target);
        EXPECT_EQ(readAll(target), QByteArray("the user's only copy"));
        EXPECT_EQ(prompts.reportLines(), QList<int>{130});
        EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
        EXPECT_EQ(office.liveSessions, 0) << "the session ends with the failure";
        prompts.clear();
        prompts.answers << Prompts::Answer::Yes;
        save(target);
        EXPECT_NE(readAll(target), QByteArray("the user's only copy"));
        EXPECT_EQ(texts().last(), QStringLiteral("Done."));
    }
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Save, TheCalendarEventIsWrittenWithoutTheOffice) {
    prompts.saveFilters << QStringLiteral("Calendar Event (*.ics)");
    save(at(QStringLiteral("party")));
    const QByteArray event = readAll(at(QStringLiteral("party.ics")));
    EXPECT_TRUE(event.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(event.contains("\r\nSUMMARY:Lobster Eating Party\r\n"));
    EXPECT_TRUE(office.log.isEmpty());
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(Save, ALinkHasTheFileItPointsToReplacedAndADanglingOneIsRefused) {
    const QString real = at(QStringLiteral("real.doc"));
    const QString link = at(QStringLiteral("link.doc"));
    write(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    prompts.answers << Prompts::Answer::Yes;
    save(link);
    EXPECT_EQ(readAll(real), content);
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    const QString dangling = at(QStringLiteral("dangling.doc"));
    ASSERT_TRUE(QFile::link(at(QStringLiteral("gone.doc")), dangling));
    prompts.clear();
    save(dangling);
    ASSERT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("link")));
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("gone.doc"))));
    EXPECT_TRUE(leftovers().isEmpty());
}

// An empty document is what a failed save leaves behind: copying it, or a document that is
// gone, is reported and never followed by "Done."; the file it would have replaced stays.
// The document is read only as the plain file the request made: a link put in its place is
// never followed.
TEST_F(Save, AnEmptyMissingOrLinkedDocumentIsReportedWithoutDone) {
    for (const char* what : {"empty", "missing", "link"}) {
        SCOPED_TRACE(what);
        const bool empty = std::string_view(what) == "empty";
        prompts.clear();
        QFile::remove(document);
        if (empty)
            write(document, QByteArray());
        if (std::string_view(what) == "link") {
            ASSERT_TRUE(QFile::link(at(QStringLiteral("elsewhere.doc")), document));
        }
        write(at(QStringLiteral("elsewhere.doc")), "another document");
        const QString target = at(QStringLiteral("copy.doc"));
        write(target, "the user's only copy");
        prompts.answers << Prompts::Answer::Yes;
        save(target);
        EXPECT_EQ(readAll(target), QByteArray("the user's only copy"));
        ASSERT_EQ(texts().size(), 2); // the question and the report
        EXPECT_TRUE(texts().at(1).contains(QStringLiteral("PushButton6_Click at line 130")))
            << texts().at(1).toStdString();
        EXPECT_TRUE(empty || texts().at(1).contains(document));
        EXPECT_TRUE(leftovers().isEmpty());
    }
}

// A print job is called after the event in the printer's queue, as one line; an unnamed
// event's job is called as its PDF would be.
TEST(PrintJob, IsTitledAfterTheEvent) {
    QPrinter printer;
    const struct {
        const char* event;
        const char* title;
    } table[] = {{"Sommerfest am See", "Sommerfest am See"},
                 {"Garden\nParty\r\n2021", "Garden Party 2021"},
                 {"", "Invitation"}};
    for (const auto& row : table)
        EXPECT_EQ(printJobOf(printer, QString::fromUtf8(row.event)).title,
                  QString::fromUtf8(row.title));
}
