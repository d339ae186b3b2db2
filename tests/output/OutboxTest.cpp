// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/Outbox.h"

#include "core/AppError.h"
#include "core/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

TEST(Outbox, AttachmentNamesAreSafeFileNamesOfWholeCharacters) {
    const QString family = QStringLiteral("👨‍👩‍👧"); // 18 bytes in UTF-8, one character
    const struct {
        QString eventName, expected;
    } cases[] = {
        {"Lobster Fête & Feast", "Lobster Fête & Feast"},
        {"Party 2024/25: \"the\" <best>?", "Party 2024 25 the best"},
        {"a\\b*c|d\te\nf\x01g\u2028h", "a b c d e f g h"},
        {" ..hidden. . ", "hidden"},
        {"/ ... /", "Invitation"},
        {QString(200, u'é'), QString(69, u'é')},         // 138 bytes of at most 139
        {family.repeated(10), family.repeated(7)},       // 126 bytes: no emoji cut apart
        {QString(138, u'x') + " y", QString(138, u'x')}, // no space left at the end
        // Nothing that ends a value or starts a field or an option in a compose line.
        {"Smith, Jones and O'Brien BBQ", "Smith Jones and O Brien BBQ"},
        {"Party',to='eve@example.org", "Party to= eve@example.org"},
        {"--help", "help"},
        {"-n `date`", "n date"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(attachmentBaseName(c.eventName), c.expected) << c.eventName.toStdString();
}

TEST(Outbox, FoldersChangedBeforeTheCutoffAreRemovedAndLinksNotFollowed) {
    const auto setAge = [](const QString& path, int days) {
        const timeval at{::time(nullptr) - days * 86400, 0};
        const timeval times[] = {at, at};
        ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0);
    };
    const auto old = newOutboxFolder(), fresh = newOutboxFolder();
    old->setAutoRemove(false);
    QFile(old->filePath(QStringLiteral("invitation.pdf"))).open(QIODevice::WriteOnly);
    setAge(old->path(), 8);
    QTemporaryDir elsewhere;
    QFile(elsewhere.filePath(QStringLiteral("kept.pdf"))).open(QIODevice::WriteOnly);
    setAge(elsewhere.path(), 8);
    QFile::link(elsewhere.path(), QDir(outboxFolder()).filePath(QStringLiteral("link")));

    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(outboxFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u) << "the outbox is the user's alone";

    removeOutboxFoldersBefore(QDateTime::currentDateTime().addDays(-kOutboxKeepDays));
    EXPECT_FALSE(QFileInfo::exists(old->path()));
    EXPECT_TRUE(QFileInfo::exists(fresh->path()));
    EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("kept.pdf"))));
    QDir(outboxFolder()).removeRecursively();
}

// An outbox replaced by a link to a folder of the user's, or the program's cache folder
// replaced so: nothing there is expired, written or re-moded.
TEST(Outbox, ALinkInPlaceOfTheOutboxKeepsEverythingAndItsMode) {
    for (const bool linkedCache : {false, true}) {
        SCOPED_TRACE(linkedCache ? "the cache folder linked" : "the outbox linked");
        QTemporaryDir users;
        const QString week = users.filePath(QStringLiteral("last-week"));
        ASSERT_TRUE(QDir().mkpath(week + QStringLiteral("/photos")));
        const timeval old{::time(nullptr) - 8 * 86400, 0};
        const timeval times[] = {old, old};
        ASSERT_EQ(::utimes(QFile::encodeName(week).constData(), times), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(users.path()).constData(), 0755), 0);
        const QString linked = linkedCache ? cacheFolder() : outboxFolder();
        QDir(linked).removeRecursively();
        ASSERT_TRUE(QFile::link(users.path(), linked));

        removeOutboxFoldersBefore(QDateTime::currentDateTime().addDays(-kOutboxKeepDays));
        EXPECT_THROW(newOutboxFolder(), AppError);
        EXPECT_TRUE(QFileInfo::exists(week + QStringLiteral("/photos")));
        EXPECT_EQ(QDir(users.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("last-week")});
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(users.path()).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0755u);
        ASSERT_TRUE(QFile::remove(linked));
    }
}
