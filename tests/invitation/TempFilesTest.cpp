// The temporary folder and the deletion of the request's files.
#include "core/AppError.h"
#include "core/Files.h"
#include "invitation/RequestFakes.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

TEST(TemporaryFolder, WithoutTempAPrivateFolderOfTheUser) {
    const QByteArray saved = qgetenv("TEMP");
    for (const bool unset : {true, false}) {
        if (unset)
            qunsetenv("TEMP");
        else
            qputenv("TEMP", "");
        const QString folder = tempFolder();
        EXPECT_FALSE(folder.isEmpty());
        EXPECT_NE(folder, "/");
        EXPECT_TRUE(tempPath("temp.bmp").startsWith(folder + "/"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(info.st_uid, ::getuid());
    }
    qputenv("TEMP", saved);
}

TEST(KillFile, LetsPendingEventsRunFirstThenDeletes) {
    ScopedTemp temp;
    const QString path = temp.file("temp.bmp");
    writeFile(path, "picture");
    bool existedWhenEventRan = false;
    bool eventRan = false;
    QTimer::singleShot(0, [&] {
        eventRan = true;
        existedWhenEventRan = QFile::exists(path);
    });
    KillFile(path);
    EXPECT_TRUE(eventRan);
    EXPECT_TRUE(existedWhenEventRan);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(KillFile, NeverThrowsAndRemovesOnlyWhatIsThere) {
    ScopedTemp temp;
    EXPECT_NO_THROW(KillFile(temp.file("missing.doc")));
    EXPECT_NO_THROW(KillFile(QString()));

    // A folder under the name stays; a read-only file goes.
    ASSERT_TRUE(QDir(temp.path()).mkdir("template.dot"));
    EXPECT_NO_THROW(KillFile(temp.file("template.dot")));
    EXPECT_TRUE(QFileInfo(temp.file("template.dot")).isDir());

    const QString readOnly = temp.file("qorvel12345678.doc");
    writeFile(readOnly, "doc");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    KillFile(readOnly);
    EXPECT_FALSE(QFile::exists(readOnly));

    // A link is removed itself; what it leads to stays.
    const QString target = temp.file("target.txt");
    writeFile(target, "keep");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                        QFile::encodeName(temp.file("temp.bmp")).constData()),
              0);
    KillFile(temp.file("temp.bmp"));
    EXPECT_FALSE(QFileInfo(temp.file("temp.bmp")).isSymLink());
    EXPECT_TRUE(QFile::exists(target));
}

TEST(WriteFileNoFollow, ALinkPlantedUnderTheNameIsNotFollowed) {
    ScopedTemp temp;
    const QString target = temp.file("elsewhere.txt");
    writeFile(target, "keep");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                        QFile::encodeName(temp.file("template.dot")).constData()),
              0);
    EXPECT_THROW(writeFileNoFollow(temp.file("template.dot"), "bytes"), AppError);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep");
}
