// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary folder, deleting files and writing them without following a link.
#include "core/Files.h"
#include "core/AppError.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// Without TEMP (unset or empty) the program keeps its files in a private folder of its own,
// and refuses a folder someone else could have prepared (a link planted under its name).
TEST(TempFolder, WithoutTempIsAPrivateFolderAndNeverAPlantedLink) {
    ScopedVariable temp("TEMP");
    ScopedVariable cacheHome("XDG_CACHE_HOME");
    for (const bool unset : {true, false}) {
        SCOPED_TRACE(unset ? "unset" : "empty");
        QTemporaryDir cache;
        cacheHome.set(QFile::encodeName(cache.path()));
        unset ? temp.unset() : temp.set("");

        const QString folder = tempFolder();
        EXPECT_EQ(folder, cache.path() + "/festoria/tmp");
        EXPECT_EQ(tempPath("template.dot"), folder + "/template.dot");
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(info.st_uid, ::getuid());

        QTemporaryDir elsewhere;
        ASSERT_TRUE(QDir(folder).removeRecursively());
        ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
        EXPECT_THROW(tempFolder(), AppError);
    }
}

TEST(TempFolder, TempIsTakenAsGivenWithoutATrailingSlash) {
    ScopedVariable temp("TEMP", "/some/where//");
    EXPECT_EQ(tempPath("temp.bmp"), QStringLiteral("/some/where/temp.bmp"));
}

TEST(deleteFile, LetsPendingEventsRunFirstThenDeletes) {
    ScopedTemp temp;
    const QString path = temp.file("temp.bmp");
    writeFile(path, "picture");
    bool existedWhenEventRan = false;
    bool eventRan = false;
    QTimer::singleShot(0, [&] {
        eventRan = true;
        existedWhenEventRan = QFile::exists(path);
    });
    deleteFile(path);
    EXPECT_TRUE(eventRan);
    EXPECT_TRUE(existedWhenEventRan);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(deleteFile, NeverThrowsAndRemovesOnlyWhatIsThere) {
    ScopedTemp temp;
    EXPECT_NO_THROW(deleteFile(temp.file("missing.doc")));
    EXPECT_NO_THROW(deleteFile(QString()));

    // A folder under the name stays; a read-only file goes.
    ASSERT_TRUE(QDir(temp.path()).mkdir("template.dot"));
    EXPECT_NO_THROW(deleteFile(temp.file("template.dot")));
    EXPECT_TRUE(QFileInfo(temp.file("template.dot")).isDir());

    const QString readOnly = temp.file("qorvel12345678.doc");
    writeFile(readOnly, "doc");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    deleteFile(readOnly);
    EXPECT_FALSE(QFile::exists(readOnly));

    // A link is removed itself; what it leads to stays.
    const QString target = temp.file("target.txt");
    writeFile(target, "keep");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                        QFile::encodeName(temp.file("temp.bmp")).constData()),
              0);
    deleteFile(temp.file("temp.bmp"));
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
