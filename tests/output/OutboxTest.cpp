// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/Outbox.h"

#include <QDir>
#include <QFile>
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
