// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

namespace {
std::mutex gSyncedMutex;
QStringList gSynced; // what fsync() was called on, in order
} // namespace

// Every fsync() of this test program is noted by what it syncs, then done.
extern "C" int fsync(int fd) {
    {
        std::lock_guard lock(gSyncedMutex);
        gSynced << QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget();
    }
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

// A saved file is synced, renamed into place, and then its folder is synced, so that the
// rename itself survives a power loss: directly and through a link to another folder.
TEST(ReplaceFile, SyncsTheFileThenItsFolderAfterTheRename) {
    const QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("elsewhere")));
    const QString direct = dir.filePath(QStringLiteral("party.doc"));
    const QString target = dir.filePath(QStringLiteral("elsewhere/target.pdf"));
    const QString link = dir.filePath(QStringLiteral("link.pdf"));
    writeFileReplacing("old", target);
    ASSERT_TRUE(QFile::link(target, link));
    const struct {
        QString saved;
        QString folder;
    } table[] = {{direct, dir.path()}, {link, dir.filePath(QStringLiteral("elsewhere"))}};
    for (const auto& row : table) {
        {
            std::lock_guard lock(gSyncedMutex);
            gSynced.clear();
        }
        writeFileReplacing("invitation", row.saved);
        std::lock_guard lock(gSyncedMutex);
        ASSERT_EQ(gSynced.size(), 2) << gSynced.join(u' ').toStdString();
        EXPECT_TRUE(gSynced[0].contains(QStringLiteral(".festoria-save")));
        EXPECT_EQ(gSynced[1], row.folder);
    }
}
