// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Faults users meet, against the real office: the office killed or hanging in the middle of a
// request, and a full disk under the temporary folder. The request reports, never hangs for
// longer than the bounded call time, leaves no half-written file, and the next request makes
// a correct invitation.
#include "core/Files.h"
#include "invitation/InvitationText.h"
#include "invitation/RequestFakes.h"
#include "invitation/Template.h"
#include "office/libreoffice/LibreOffice.h"
#include "preview/PreviewCommands.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompts.h"
#include "support/WatchedOffice.h"
#include "support/office/OfficeDocuments.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

using Field = InvitationHost::Field;
using namespace std::chrono_literals;

namespace {

office::LibreOffice& sharedOffice() {
    static std::unique_ptr<office::LibreOffice> office = [] {
        office::LibreOfficeOptions options;
        options.callTimeout = 4000ms; // a hung office is given up quickly here
        return office::makeLibreOffice(options);
    }();
    return *office;
}

class OfficeFault : public ::testing::Test {
protected:
    OfficeFault() : office(sharedOffice()), request(host, office, prompts, clipboard) {
        host.texts = {{Field::EventName, "Harbor Gala"},
                      {Field::Location, "Pier 9"},
                      {Field::Items, "lanterns"},
                      {Field::Drive, "Route 1 north"},
                      {Field::RSVP, "host@example.org"}};
    }

    // Runs one request, returning how long it took.
    qint64 run() {
        prompts.clear();
        host.calls.clear();
        QElapsedTimer timer;
        timer.start();
        request.run();
        return timer.elapsed();
    }

    // After a fault, the next request (with the office left alone) makes a correct invitation.
    void expectNextRequestIsCorrect() {
        office.before = nullptr;
        run();
        EXPECT_TRUE(prompts.shown.isEmpty())
            << (prompts.shown.isEmpty() ? "" : prompts.shown[0].text.toStdString());
        ASSERT_TRUE(QFile::exists(request.documentPath()));
        const auto found = textsFromBookmarks(sharedOffice(), request.documentPath());
        EXPECT_EQ(found.value("bEvent").left(11), QStringLiteral("Harbor Gala"));
        const QString when = whenTextOf(host.date, host.time);
        EXPECT_EQ(found.value("bWhen").left(when.size()), when);
        EXPECT_FALSE(host.picture.isNull());
        EXPECT_TRUE(host.calls.contains("show"));
        QFile::remove(request.documentPath());
    }

    void expectRequestEndedCleanly() {
        EXPECT_FALSE(request.busy());
        ASSERT_FALSE(host.calls.isEmpty());
        EXPECT_GT(host.calls.lastIndexOf(QStringLiteral("hourglass off")),
                  host.calls.lastIndexOf(QStringLiteral("hourglass on")))
            << "the pointer is restored: " << host.calls.join(", ").toStdString();
        for (const QString& report : prompts.reports())
            EXPECT_FALSE(report.startsWith(QStringLiteral("\r\n")))
                << "every report says what failed";
        EXPECT_FALSE(QFile::exists(temp.file("temp.bmp")));
        EXPECT_FALSE(QFile::exists(temp.file("template.dot")));
    }

    // Signals every process of the program's office (found by its pipe's name).
    static void signalOffice(int signal) {
        QProcess::execute(QStringLiteral("pkill"),
                          {QStringLiteral("-%1").arg(signal), QStringLiteral("-f"),
                           QStringLiteral("name=festoria-%1-").arg(::getpid())});
    }

    ScopedTemp temp;
    WatchedOffice office; // the real office, broken at a chosen operation
    FakeHost host;
    FakeClipboard clipboard;
    ScriptedPrompts prompts;
    CreateInvitation request;
};

} // namespace

TEST_F(OfficeFault, KilledWhileFillingTheBookmarks) {
    office.before = [](const QString& op) {
        if (op == "fill")
            signalOffice(SIGKILL);
    };
    const qint64 ms = run();
    EXPECT_LT(ms, 15000);
    const QList<int> lines = prompts.reportLines();
    EXPECT_TRUE(lines.contains(120)) << "the first fill fails";
    EXPECT_TRUE(lines.contains(148)) << "so does the save";
    EXPECT_FALSE(lines.contains(106));
    EXPECT_FALSE(host.calls.contains("show")) << "no preview without a document";
    expectRequestEndedCleanly();
    expectNextRequestIsCorrect();
}

TEST_F(OfficeFault, KilledWhileSaving) {
    office.before = [](const QString& op) {
        if (op == "save")
            signalOffice(SIGKILL);
    };
    run();
    EXPECT_TRUE(prompts.reportLines().contains(148));
    EXPECT_FALSE(host.calls.contains("show"));
    expectRequestEndedCleanly();
    const QStringList left = temp.entries();
    for (const QString& name : left)
        ADD_FAILURE() << "left in the temporary folder: " << name.toStdString();
    expectNextRequestIsCorrect();
}

TEST_F(OfficeFault, KilledWhileRenderingThePreview) {
    office.before = [](const QString& op) {
        if (op == "render")
            signalOffice(SIGKILL);
    };
    run();
    const QList<int> lines = prompts.reportLines();
    EXPECT_TRUE(lines.contains(120)) << "the picture step of the preview fails";
    EXPECT_TRUE(lines.contains(122)) << "and no picture is taken from the clipboard";
    EXPECT_TRUE(host.picture.isNull() || host.calls.count("picture") == 0);
    expectRequestEndedCleanly();
    QFile::remove(request.documentPath());
    expectNextRequestIsCorrect();
}

TEST_F(OfficeFault, AHangingOfficeTimesOutWithAReadableReportAndIsReplaced) {
    bool stopped = false;
    office.before = [&](const QString& op) {
        if (op == "fill" && !stopped) {
            stopped = true;
            signalOffice(SIGSTOP);
        }
    };
    const qint64 ms = run();
    EXPECT_LT(ms, 20000) << "bounded by the call time, not forever";
    ASSERT_FALSE(prompts.reports().isEmpty());
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("did not answer")))
        << prompts.reports()[0].toStdString();
    expectRequestEndedCleanly();
    expectNextRequestIsCorrect(); // a new office serves the next request
}

TEST_F(OfficeFault, AnOfficeHangingInAnExportKeepsTheOldFileAndTheNextSaveWorks) {
    office.before = nullptr;
    run();
    ASSERT_TRUE(QFile::exists(request.documentPath()));
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("party.pdf"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the user's only copy");
    old.close();
    const auto save = [&] {
        prompts.clear();
        prompts.saveNames << target;
        prompts.answers << Prompts::Answer::Yes;
        SaveDocument(prompts, office).saveAs(request.documentPath(), {});
    };

    office.before = [](const QString& op) {
        if (op == "export")
            signalOffice(SIGSTOP);
    };
    save();
    ASSERT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("did not answer")))
        << prompts.reports()[0].toStdString();
    EXPECT_NE(prompts.shown.last().text, QStringLiteral("Done."));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the user's only copy"));
    old.close();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("party.pdf")});

    office.before = nullptr; // a new office makes the next save
    save();
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("Done."));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("%PDF-"));
    QFile::remove(request.documentPath());
}

// A small tmpfs stands for a full disk; mounting one needs root.
class FullDisk : public OfficeFault {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "a full disk is simulated with a small tmpfs, which needs root";
    }
    bool mountTiny(const QString& folder, int kilobytes) {
        // A private folder, as the test's own temporary folder is (a tmpfs root is 1777).
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
        return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                       options.constData()) == 0;
    }
    ~FullDisk() override {
        if (mounted)
            ::umount2(QFile::encodeName(temp.path()).constData(), MNT_DETACH);
    }
    bool mounted = false;
};

TEST_F(FullDisk, NoRoomForTheTemplateLeavesNoHalfWrittenFile) {
    if (!(mounted = mountTiny(temp.path(), 8)))
        GTEST_SKIP() << "this system refuses to mount a tmpfs: " << std::strerror(errno);
    run();
    const QList<int> lines = prompts.reportLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), 110) << "writing the template fails first";
    EXPECT_FALSE(host.calls.contains("show"));
    expectRequestEndedCleanly();
    EXPECT_TRUE(temp.entries().isEmpty()) << temp.entries().join(", ").toStdString();
}

TEST_F(FullDisk, NoRoomForThePictureShowsNoPictureAndLeavesNoHalfWrittenFile) {
    // Room for the template and the document, not for the picture.
    if (!(mounted = mountTiny(temp.path(), 120)))
        GTEST_SKIP() << "this system refuses to mount a tmpfs: " << std::strerror(errno);
    run();
    const QList<int> lines = prompts.reportLines();
    EXPECT_TRUE(lines.contains(122)) << "the picture cannot be written";
    EXPECT_FALSE(lines.contains(148)) << "the document was saved";
    EXPECT_TRUE(host.picture.isNull()) << "no half-written picture is shown";
    expectRequestEndedCleanly();
    EXPECT_EQ(temp.entries(), QStringList{QFileInfo(request.documentPath()).fileName()});
}

TEST_F(FullDisk, NoRoomForAnExportKeepsTheOldFileWhole) {
    office.before = nullptr;
    run();
    QTemporaryDir folder;
    if (::mount("tmpfs", QFile::encodeName(folder.path()).constData(), "tmpfs", 0, "size=40k") != 0)
        GTEST_SKIP() << "this system refuses to mount a tmpfs: " << std::strerror(errno);
    const auto unmount =
        qScopeGuard([&] { ::umount2(QFile::encodeName(folder.path()).constData(), MNT_DETACH); });
    const QString target = folder.filePath(QStringLiteral("party.pdf"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(30000, 'o')); // the embedded fonts alone need more than what is left
    old.close();
    prompts.clear();
    prompts.saveNames << target;
    prompts.answers << Prompts::Answer::Yes;
    SaveDocument(prompts, office).saveAs(request.documentPath(), {});
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(30000, 'o'));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("party.pdf")});
    QFile::remove(request.documentPath());
}

// A save that fails on a full disk leaves nothing behind and hands nothing over: no preview,
// and no empty file that "Save Results To Word File" could copy.
TEST_F(FullDisk, NoRoomForTheDocumentHandsOverNothing) {
    // Room for the template, not for the document.
    if (!(mounted = mountTiny(temp.path(), 24)))
        GTEST_SKIP() << "this system refuses to mount a tmpfs: " << std::strerror(errno);
    run();
    const QList<int> lines = prompts.reportLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), 148) << "the document cannot be saved";
    EXPECT_FALSE(host.calls.contains("picture"));
    EXPECT_FALSE(host.calls.contains("show"));
    expectRequestEndedCleanly();
    EXPECT_TRUE(temp.entries().isEmpty()) << temp.entries().join(", ").toStdString();
}
