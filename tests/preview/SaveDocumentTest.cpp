#include "core/Files.h"
#include "core/Product.h"
#include "preview/SaveDocument.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
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

    void SetUp() override {
        SetApplicationTitle();
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
        SaveDocument(prompts).PushButton6_Click(document);
    }
    QStringList texts() const {
        QStringList result;
        for (const auto& s : prompts.shown)
            result << s.text;
        return result;
    }
    // Nothing half-written is left beside the destination.
    QStringList leftovers() const {
        return QDir(folder.path()).entryList({QStringLiteral(".festoria-save-*")},
                                             QDir::Files | QDir::Hidden);
    }
};
} // namespace

TEST_F(Save, ANewNameGetsAByteForByteCopyThenDone) {
    save(at(QStringLiteral("party.doc")));
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_EQ(prompts.saveDialogs[0].title, QStringLiteral("Save File"));
    EXPECT_EQ(prompts.saveDialogs[0].filter, QStringLiteral("Word Files (*.doc)"));
    EXPECT_EQ(prompts.saveDialogs[0].initialName, QString());
    EXPECT_EQ(readAll(at(QStringLiteral("party.doc"))), content);
    ASSERT_EQ(texts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(prompts.shown[0].caption, applicationTitle());
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::Ok);
    // An ordinary new file, readable by others as any saved document.
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(at(QStringLiteral("party.doc"))).constData(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(QFile::exists(document)); // the document itself stays for Back and Close
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

    // A read-only file is replaced after Yes, as the forced deletion would have done.
    ::chmod(QFile::encodeName(target).constData(), 0444);
    write(document, "third version");
    prompts.answers << Prompts::Answer::Yes;
    save(target);
    EXPECT_EQ(readAll(target), QByteArray("third version"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Save, CancellingWritesNothingAndStillSaysDone) {
    SaveDocument(prompts).PushButton6_Click(document);
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

TEST_F(Save, AFailedCopyReportsKeepsTheOldFileAndSaysNoDone) {
    const QString target = at(QStringLiteral("keep.doc"));
    write(target, "the user's only copy");
    QFile::remove(document); // gone behind the program's back
    prompts.answers << Prompts::Answer::Yes;
    save(target);
    EXPECT_EQ(readAll(target), QByteArray("the user's only copy"));
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_TRUE(prompts.reports()[0].contains(document));
    EXPECT_EQ(texts().size(), 2); // the question and the report, no "Done."
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Save, BadDestinationsAreReportedAndHarmNothing) {
    // A folder that does not exist.
    save(at(QStringLiteral("no such folder/party.doc")));
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
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

// A destination disk with no room left: a small tmpfs (mounting one needs root).
TEST_F(Save, AFullDiskKeepsTheOldFileWholeAndShowsNoDone) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "a full disk is simulated with a small tmpfs, which needs root";
    const QByteArray folderName = QFile::encodeName(folder.path());
    if (::mount("tmpfs", folderName.constData(), "tmpfs", 0, "size=128k") != 0)
        GTEST_SKIP() << "this system refuses to mount a tmpfs: " << std::strerror(errno);
    const QString name = at(QStringLiteral("invitation.doc"));
    const QByteArray old(60000, 'o');
    write(name, old);
    prompts.answers << Prompts::Answer::Yes;
    save(name); // 200 KB do not fit beside the 60 KB already there
    EXPECT_EQ(readAll(name), old) << "the saved invitation of before is intact";
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(", ").toStdString();
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
    ::umount2(folderName.constData(), MNT_DETACH);
}
