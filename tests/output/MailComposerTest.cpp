// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Subjects and paths that xdg-email would take for options or cut short reach the mail
// program whole, and without a mail program no text browser is tried.
#include "output/MailComposer.h"
#include "support/MailDesktop.h"

#include <QObject>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

TEST(ComposeMail, AnySubjectAndPathReachTheMailProgramWhole) {
    QTemporaryDir folder;
    const QString attachment = folder.filePath(QStringLiteral("a,b 'c'.pdf"));
    QFile(attachment).open(QIODevice::WriteOnly);
    for (const QString& subject :
         {QStringLiteral("--help"), QStringLiteral("-n"), QStringLiteral("Tea\\c and cake"),
          QStringLiteral("Smith, Jones & O'Brien BBQ?&to=eve")}) {
        SCOPED_TRACE(subject.toStdString());
        const MailDesktop desktop(true);
        QObject receiver;
        QString failure;
        composeMail(subject, {attachment}, &receiver, [&](const QString& why) { failure = why; });
        const QUrlQuery mail(QUrl(desktop.waitForMailto()));
        EXPECT_EQ(mail.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
        EXPECT_EQ(mail.queryItemValue(QStringLiteral("attach"), QUrl::FullyDecoded), attachment);
        EXPECT_FALSE(mail.hasQueryItem(QStringLiteral("to")));
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    }
}

// With no mail program set up and only a text browser (which xdg-email would run on the
// address, to wait without a terminal), the lack is told and no browser runs.
TEST(ComposeMail, WithoutAMailProgramNoTextBrowserIsTried) {
    const MailDesktop desktop(false);
    ScopedVariable browser("BROWSER");
    browser.unset();
    QTemporaryDir bin;
    const QString ran = bin.filePath(QStringLiteral("ran"));
    for (const char* name : {"www-browser", "lynx", "w3m"}) {
        QFile script(bin.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\ntouch '" + QFile::encodeName(ran) + "'\nsleep 17\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    ScopedVariable path("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
    QObject receiver;
    QString failure;
    composeMail(QStringLiteral("Party"), {bin.filePath(QStringLiteral("lynx"))}, &receiver,
                [&](const QString& why) { failure = why; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failure.isEmpty(); }, 30000));
    EXPECT_EQ(failure, QStringLiteral("none is set up"));
    EXPECT_FALSE(QFile::exists(ran)) << "a text browser was run";
}
