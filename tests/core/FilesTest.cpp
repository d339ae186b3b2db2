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

namespace {
mode_t modeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}
} // namespace

// A folder the program makes or empties is taken only as a real folder of the user's own: in
// place of a link, a file or a folder others may enter, nothing outside it is emptied or
// re-moded.
TEST(OwnFolder, ALinkOrFileInItsPlaceIsRefusedAndKeepsEverything) {
    enum class Place { Missing, OpenFolder, LinkToFolder, File };
    const struct {
        const char* what;
        Place place;
        bool refused;
    } cases[] = {
        {"missing", Place::Missing, false},
        {"a folder of ours others may enter", Place::OpenFolder, false},
        {"a link to a folder of the user's", Place::LinkToFolder, true},
        {"a file", Place::File, true},
    };
    for (const auto& c : cases) {
        for (const bool empty : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (empty ? ", emptied" : ", made"));
            ScopedTemp temp;
            const QString folder = temp.file("outbox");
            const QString usersFolder = temp.file("photos");
            ASSERT_TRUE(QDir().mkpath(usersFolder + "/2019"));
            ASSERT_EQ(::chmod(QFile::encodeName(usersFolder).constData(), 0755), 0);
            if (c.place == Place::OpenFolder) {
                ASSERT_TRUE(QDir().mkpath(folder + "/old"));
                ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
                ASSERT_TRUE(QFile::link(usersFolder, folder + "/link"));
            } else if (c.place == Place::LinkToFolder) {
                ASSERT_TRUE(QFile::link(usersFolder, folder));
            } else if (c.place == Place::File) {
                writeFile(folder, "the user's");
            }

            const auto act = [&] {
                empty ? emptyOwnFolder(folder, "outbox") : ensureOwnFolder(folder, "outbox");
            };
            if (c.refused) {
                EXPECT_THROW(act(), AppError);
                EXPECT_FALSE(isOwnFolder(folder));
            } else {
                EXPECT_NO_THROW(act());
                EXPECT_TRUE(isOwnFolder(folder));
                EXPECT_EQ(modeOf(folder), 0700u);
                EXPECT_EQ(QDir(folder).exists("old"), c.place == Place::OpenFolder && !empty);
            }
            EXPECT_TRUE(QDir(usersFolder).exists("2019")) << "what it led to keeps everything";
            EXPECT_EQ(modeOf(usersFolder), 0755u) << "and its mode";
        }
    }
}
