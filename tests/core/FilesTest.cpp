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

// TEMP is used as it is only when nobody else can add or replace names in it; otherwise the
// program works in a private folder of its own there. As the superuser the test gives folders
// to another user for real.
TEST(TempFolder, ATempOthersCanWriteToGetsAPrivateFolderOfItsOwn) {
    ScopedVariable temp("TEMP");
    const struct {
        const char* name;
        mode_t mode;
        bool anotherUsers;
        bool shared;
    } cases[] = {{"own, private", 0700, false, false},
                 {"own, readable by all", 0755, false, false},
                 {"writable by all, sticky", 01777, false, true},
                 {"writable by the group", 0770, false, true},
                 {"writable by the group, sticky", 01775, false, true},
                 {"another user's, readable by all", 0755, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir parent;
        const QString folder = parent.filePath("temp");
        ASSERT_TRUE(QDir().mkdir(folder));
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), c.mode), 0);
        if (c.anotherUsers && !giveToAnotherUser(folder))
            continue; // only the superuser can give a folder away
        temp.set(QFile::encodeName(folder));
        const QString own = folder + QStringLiteral("/festoria-%1").arg(::getuid());
        EXPECT_EQ(tempFolder(), c.shared ? own : folder);
        struct stat info {};
        EXPECT_EQ(::lstat(QFile::encodeName(own).constData(), &info) == 0, c.shared);
        if (c.shared) {
            EXPECT_TRUE(S_ISDIR(info.st_mode));
            EXPECT_EQ(info.st_mode & 07777, 0700u);
            EXPECT_EQ(info.st_uid, ::getuid());
        }
    }
}

// What is found under the private folder's name in a shared TEMP: the user's own folder is
// used, closed to others first; another user's folder, a link or a file is left as it is and
// a fresh private folder beside it is used instead.
TEST(TempFolder, ThePrivateFolderInASharedTempIsTheUsersAlone) {
    ScopedVariable temp("TEMP");
    enum class Found { Nothing, Folder, AnotherUsersFolder, LinkToOwnFolder, File };
    const struct {
        const char* name;
        Found found;
        mode_t mode;
        bool refused;
    } cases[] = {{"nothing", Found::Nothing, 0, false},
                 {"own folder, open to the group", Found::Folder, 0770, false},
                 {"own folder, readable by all", Found::Folder, 0755, false},
                 {"another user's folder", Found::AnotherUsersFolder, 0700, true},
                 {"a link to a private folder of the user's", Found::LinkToOwnFolder, 0700, true},
                 {"a file", Found::File, 0600, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir parent;
        const QString shared = parent.filePath("shared");
        const QString elsewhere = parent.filePath("elsewhere");
        ASSERT_TRUE(QDir().mkdir(shared) && QDir().mkdir(elsewhere));
        ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
        temp.set(QFile::encodeName(shared));
        const QString own = shared + QStringLiteral("/festoria-%1").arg(::getuid());
        const QByteArray native = QFile::encodeName(own);
        if (c.found == Found::Folder || c.found == Found::AnotherUsersFolder) {
            ASSERT_TRUE(QDir().mkdir(own));
        }
        if (c.found == Found::LinkToOwnFolder) {
            ASSERT_TRUE(QFile::link(elsewhere, own));
        }
        if (c.found == Found::File)
            writeFile(own, "in the way");
        if (c.mode && c.found != Found::LinkToOwnFolder) {
            ASSERT_EQ(::chmod(native.constData(), c.mode), 0);
        }
        if (c.found == Found::AnotherUsersFolder && !giveToAnotherUser(own))
            continue;
        struct stat before {};
        ::lstat(native.constData(), &before);
        const QString folder = tempFolder();
        struct stat info {};
        if (c.refused) { // left as it was; a fresh private folder of ours beside it instead
            EXPECT_TRUE(folder.startsWith(own + QLatin1Char('-'))) << folder.toStdString();
            EXPECT_EQ(tempFolder(), folder) << "the same one for the whole run";
            ASSERT_EQ(::lstat(native.constData(), &info), 0);
            EXPECT_EQ(std::pair(info.st_mode, info.st_uid),
                      std::pair(before.st_mode, before.st_uid));
            ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
            EXPECT_EQ(info.st_uid, ::getuid());
        } else {
            EXPECT_EQ(folder, own);
            ASSERT_EQ(::lstat(native.constData(), &info), 0);
        }
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0700u);
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

// A private file is the user's alone whatever the mask, and is never written through a link.
TEST(WriteFileNoFollow, ALinkPlantedUnderTheNameIsNotFollowed) {
    ScopedTemp temp;
    const mode_t savedMask = ::umask(0);
    writeFileNoFollow(temp.file("fixed.dot"), "bytes");
    const QString drawn = writePrivateFile(temp.path(), "template", ".dot", "bytes");
    ::umask(savedMask);
    for (const QString& written : {temp.file("fixed.dot"), drawn}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(written).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
    }
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

// Reading refuses a link, even to a plain file of the user's, unless following is asked for.
TEST(ReadPlainFile, ALinkIsReadOnlyWhenAskedToFollowIt) {
    ScopedTemp temp;
    writeFile(temp.file("picture.bmp"), "pixels");
    ASSERT_TRUE(QFile::link(temp.file("picture.bmp"), temp.file("link.bmp")));
    EXPECT_EQ(readPlainFile(temp.file("picture.bmp")), "pixels");
    EXPECT_THROW(readPlainFile(temp.file("link.bmp")), AppError);
    EXPECT_EQ(readPlainFile(temp.file("link.bmp"), Links::Follow), "pixels");
}
