// Every way the preview window writes a file the user named (the Word copy, an export,
// printing to a file) replaces it whole and keeps what the user set on it; printing to a
// pipe is refused, and a printout that cannot be written leaves the old file as it was.
#include "core/Files.h"
#include "core/Product.h"
#include "preview/PrintDocument.h"
#include "preview/SaveDocument.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <tuple>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
struct stat statusOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

struct Replace : ::testing::Test {
    QTemporaryDir folder;
    QString document = tempPath(QStringLiteral("qorvel87654321.doc"));
    ScriptedPrompts prompts;
    FakeOffice office;

    void SetUp() override {
        setApplicationTitle();
        writeFile(document, "a Word 97 document");
    }
    void TearDown() override { QFile::remove(document); }
    QString at(const QString& name) const { return folder.filePath(name); }

    void save(const QString& path) {
        prompts.saveNames << path;
        prompts.answers << Prompts::Answer::Yes;
        SaveDocument(prompts, office).saveAs(document);
    }
    void print(const QString& path) {
        prompts.printFiles << path;
        PrintDocument(prompts, office).print(document);
    }
    QStringList leftovers(const QString& in) const {
        return QDir(in).entryList({QStringLiteral(".festoria-save-*")}, QDir::Files | QDir::Hidden);
    }
};

// A small file system of its own (mounting one needs the superuser); unmounted on the way out.
struct SmallDisk {
    QByteArray path;
    bool mounted = false;
    explicit SmallDisk(const QString& at) : path(QFile::encodeName(at)) {
        QDir().mkpath(at);
        mounted = ::geteuid() == 0 &&
                  ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    ~SmallDisk() {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
    }
};
} // namespace

TEST_F(Replace, EveryWayOfWritingKeepsTheReplacedFilesModeAndOwner) {
    const mode_t savedMask = ::umask(002); // a new file: 0664
    const auto restoreMask = qScopeGuard([savedMask] { ::umask(savedMask); });
    const bool root = ::geteuid() == 0;
    using Write = std::function<void(Replace&, const QString&)>;
    const std::tuple<const char*, const char*, Write> writers[] = {
        {"copy", "doc", [](Replace& r, const QString& path) { r.save(path); }},
        {"export", "pdf", [](Replace& r, const QString& path) { r.save(path); }},
        {"print", "pdf", [](Replace& r, const QString& path) { r.print(path); }},
    };
    const struct {
        const char* name;
        mode_t before; // 0: no file yet
        bool throughLink;
        mode_t after;
    } cases[] = {{"private", 0600, false, 0600}, {"group", 0640, false, 0640},
                 {"read-only", 0444, false, 0444}, {"new", 0, false, 0664},
                 {"linked", 0604, true, 0604}};
    for (const auto& [writer, extension, writeWith] : writers)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(writer) + " " + c.name);
            const QString path = at(QStringLiteral("%1-%2.%3").arg(writer, c.name, extension));
            const QString file = c.throughLink ? path + QStringLiteral(".target") : path;
            if (c.before) {
                writeFile(file, "old");
                ::chmod(QFile::encodeName(file).constData(), c.before);
                // Somebody else's file, which only the superuser may write as theirs.
                ASSERT_TRUE(!root || ::chown(QFile::encodeName(file).constData(), 65534, 65534) == 0);
            }
            ASSERT_TRUE(!c.throughLink || QFile::link(file, path));
            prompts.clear();
            writeWith(*this, path);
            EXPECT_EQ(prompts.reports(), QStringList());
            EXPECT_NE(readAll(file), QByteArray("old"));
            const struct stat status = statusOf(file);
            EXPECT_EQ(status.st_mode & 07777, c.after);
            const bool given = root && c.before;
            EXPECT_EQ(status.st_uid, given ? 65534u : ::geteuid());
            EXPECT_EQ(status.st_gid, given ? 65534u : ::getegid());
            EXPECT_EQ(QFileInfo(path).isSymLink(), c.throughLink);
        }
    EXPECT_TRUE(leftovers(folder.path()).isEmpty());
}

TEST_F(Replace, PrintingToAPipeOrAFullDiskReportsAndKeepsTheOldFile) {
    const QString pipe = at(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A reader, so that printing that opens the pipe after all fails this test, not hangs it.
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    const struct {
        QString path;
        QString smallDisk; // mounted for the case: it fills up
        const char* report;
    } cases[] = {
        {pipe, QString(), "it is a named pipe, not a plain file."},
        // The printout does not fit beside the old one.
        {at(QStringLiteral("full/printed.pdf")), at(QStringLiteral("full")), "No space left"},
        // It does not even fit where it is written first.
        {at(QStringLiteral("printed.pdf")), cacheFolder(), "not be written completely"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        std::optional<SmallDisk> disk;
        if (!c.smallDisk.isEmpty() && !disk.emplace(c.smallDisk).mounted) {
            std::printf("not run without a small disk (needs the superuser): %s\n", c.report);
            continue;
        }
        if (c.path != pipe)
            writeFile(c.path, QByteArray(40000, 'o')); // the old printout
        prompts.clear();
        office.log.clear();
        print(c.path);
        ASSERT_EQ(prompts.reportLines(), QList<int>{102});
        EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("Cannot print to '") + c.path));
        EXPECT_TRUE(prompts.reports()[0].contains(QString::fromLatin1(c.report)))
            << prompts.reports()[0].toStdString();
        if (c.path == pipe)
            EXPECT_TRUE(office.log.isEmpty()) << "refused before the office works";
        else
            EXPECT_EQ(readAll(c.path), QByteArray(40000, 'o'));
        EXPECT_TRUE(leftovers(QFileInfo(c.path).absolutePath()).isEmpty());
    }
    EXPECT_TRUE(S_ISFIFO(statusOf(pipe).st_mode));
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "nothing was written into the pipe";
    ::close(reader);
}
