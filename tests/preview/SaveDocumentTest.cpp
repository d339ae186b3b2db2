#include "core/Files.h"
#include "core/Product.h"
#include "preview/SaveDocument.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    FakeOffice office;

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
        SaveDocument(prompts, office).saveAs(document);
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
    EXPECT_EQ(prompts.saveDialogs[0].filter,
              QStringLiteral("Word Files (*.doc);;PDF Files (*.pdf);;Word 2007-365 Files "
                             "(*.docx);;OpenDocument Text Files (*.odt)"));
    EXPECT_EQ(prompts.saveDialogs[0].selectedFilter, QStringLiteral("Word Files (*.doc)"));
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
    SaveDocument(prompts, office).saveAs(document);
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
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));

    // A folder or a named pipe chosen as the file name: asked about, then refused with a
    // clear report (the pipe without being opened); neither is touched.
    const QString sub = at(QStringLiteral("folder.doc"));
    QDir().mkdir(sub);
    write(sub + QStringLiteral("/inside"), "x");
    const QString pipe = at(QStringLiteral("pipe.doc"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const auto& [name, report] : {std::pair{sub, "it is a folder"},
                                       std::pair{pipe, "it is a named pipe, not a plain file."}}) {
        prompts.clear();
        prompts.answers << Prompts::Answer::Yes;
        save(name);
        ASSERT_EQ(prompts.reportLines(), QList<int>{130});
        EXPECT_TRUE(prompts.reports()[0].contains(QString::fromLatin1(report)));
    }
    EXPECT_EQ(readAll(sub + QStringLiteral("/inside")), QByteArray("x"));
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());

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

TEST(SaveTarget, TheExtensionOrElseTheSelectedFilterGivesTheFormat) {
    const QString word = QStringLiteral("Word Files (*.doc)");
    const QString pdf = QStringLiteral("PDF Files (*.pdf)");
    const QString docx = QStringLiteral("Word 2007-365 Files (*.docx)");
    const QString odt = QStringLiteral("OpenDocument Text Files (*.odt)");
    const struct {
        const char* typed;
        QString filter;
        const char* path;
        SaveFormat format;
    } cases[] = {
        {"/t/party", word, "/t/party", SaveFormat::Doc}, // as typed, nothing added
        {"/t/party.doc", pdf, "/t/party.doc", SaveFormat::Doc},
        {"/t/party", pdf, "/t/party.pdf", SaveFormat::Pdf},
        {"/t/party", docx, "/t/party.docx", SaveFormat::Docx},
        {"/t/party", odt, "/t/party.odt", SaveFormat::Odt},
        {"/t/Party.PDF", word, "/t/Party.PDF", SaveFormat::Pdf}, // the name's extension wins
        {"/t/Party.Docx", odt, "/t/Party.Docx", SaveFormat::Docx},
        {"/t/party.ODT", word, "/t/party.ODT", SaveFormat::Odt},
        {"/t/party.pdf", docx, "/t/party.pdf", SaveFormat::Pdf},
        {"/t/party.txt", pdf, "/t/party.txt.pdf", SaveFormat::Pdf}, // not one of ours
        {"/t/party.txt", word, "/t/party.txt", SaveFormat::Doc},
        {"/t/my.pdf/party", odt, "/t/my.pdf/party.odt", SaveFormat::Odt}, // the folder's dot
        {"/t/Fête d'été", pdf, "/t/Fête d'été.pdf", SaveFormat::Pdf},
    };
    for (const auto& c : cases) {
        const SaveTarget target = saveTarget(QString::fromUtf8(c.typed), c.filter);
        EXPECT_EQ(target.path, QString::fromUtf8(c.path)) << c.typed;
        EXPECT_EQ(target.format, c.format) << c.typed;
    }
}

TEST_F(Save, OtherFormatsAreMadeByTheOfficeWithTheSameQuestions) {
    // The PDF filter and a bare name: the office exports the document, opened read-only, in
    // a private folder; the result then takes the target's name.
    prompts.saveFilters << QStringLiteral("PDF Files (*.pdf)");
    save(at(QStringLiteral("party")));
    EXPECT_EQ(readAll(at(QStringLiteral("party.pdf"))), QByteArray("fake pdf"));
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

    // A failing export is reported at the save's statement, keeps the old file whole, leaves
    // nothing behind and shows no "Done."; the next save works.
    write(at(QStringLiteral("keep.odt")), "the user's only copy");
    office.fail(FakeOffice::Op::Export, 1);
    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(at(QStringLiteral("keep.odt")));
    EXPECT_EQ(readAll(at(QStringLiteral("keep.odt"))), QByteArray("the user's only copy"));
    EXPECT_EQ(prompts.reportLines(), QList<int>{130});
    EXPECT_FALSE(texts().contains(QStringLiteral("Done.")));
    EXPECT_EQ(office.liveSessions, 0) << "the session ends with the failed export";
    prompts.clear();
    prompts.answers << Prompts::Answer::Yes;
    save(at(QStringLiteral("keep.odt")));
    EXPECT_EQ(readAll(at(QStringLiteral("keep.odt"))), QByteArray("fake odt"));
    EXPECT_TRUE(leftovers().isEmpty());
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
TEST_F(Save, AnEmptyOrMissingDocumentIsReportedWithoutDone) {
    for (const bool empty : {true, false}) {
        SCOPED_TRACE(empty ? "empty" : "missing");
        prompts.clear();
        QFile::remove(document);
        if (empty)
            write(document, QByteArray());
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
