#include "core/AppError.h"
#include "core/Files.h"
#include "support/QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

// Without TEMP the program keeps its files in a private folder of its own, and refuses a
// folder someone else could have prepared (a link planted under its name).
TEST(TempFolder, WithoutTempIsAPrivateFolderAndNeverAPlantedLink) {
    const QByteArray savedTemp = qgetenv("TEMP");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    qputenv("TEMP", "");

    const QString folder = tempFolder();
    EXPECT_EQ(folder, cache.path() + "/festoria/tmp");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(tempPath("template.dot"), folder + "/template.dot");

    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
    EXPECT_THROW(tempFolder(), AppError);

    qputenv("TEMP", savedTemp);
    qputenv("XDG_CACHE_HOME", savedCache);
}

TEST(TempFolder, TempIsTakenAsGivenWithoutATrailingSlash) {
    const QByteArray saved = qgetenv("TEMP");
    qputenv("TEMP", "/some/where//");
    EXPECT_EQ(tempPath("temp.bmp"), QStringLiteral("/some/where/temp.bmp"));
    qputenv("TEMP", saved);
}
