// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How each way the CUPS queue can fail reaches the user, with stand-ins for "lp". (What lp
// is told, and the office's PDF it gets: OfficeSaveTest.)
#include "output/PrintQueue.h"
#include "core/AppError.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CupsPrintQueue, ARefusalASilenceOrNoLpIsReportedInPlainWords) {
    QTemporaryDir folder;
    const struct {
        QByteArray script; // "": no program at all
        const char* error;
    } cases[] = {
        {"echo 'lp: The printer or class does not exist.' >&2; exit 1",
         "The printer 'P' did not take the invitation: lp: The printer or class does not exist."},
        {"exit 2", "The printer 'P' did not take the invitation: the print command failed."},
        {"exec sleep 20", "The printing system did not answer within 0.3 seconds; nothing was "
                          "printed."},
        {"", "The print command '%1' could not be started (is the package cups-client "
             "installed?)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        const QString lp = folder.filePath(QStringLiteral("lp"));
        QFile program(lp);
        QFile::remove(lp);
        if (!c.script.isEmpty()) {
            ASSERT_TRUE(program.open(QIODevice::WriteOnly));
            program.write("#!/bin/sh\n" + c.script + '\n');
            program.close();
            program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        // A short wait only where the answer never comes: a busy machine starts a shell slowly.
        const std::chrono::milliseconds wait(c.script.contains("sleep") ? 300 : 30000);
        CupsPrintQueue queue(lp, wait);
        try {
            queue.submit({QStringLiteral("P"), 1, QString(), QString()}, folder.filePath("x.pdf"));
            ADD_FAILURE() << "printed";
        } catch (const AppError& e) {
            QString expected = QString::fromUtf8(c.error);
            EXPECT_EQ(e.description(), expected.replace(QStringLiteral("%1"), lp));
        }
    }
    // A queue that takes the job is told the printer, the copies, the paper, the title, and
    // the file last.
    const QString lp = folder.filePath(QStringLiteral("lp-ok"));
    QFile program(lp);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    CupsPrintQueue(lp, std::chrono::seconds(30))
        .submit({QStringLiteral("P"), 2, QStringLiteral("Letter"), QStringLiteral("-Party")},
                QStringLiteral("/x.pdf"));
    QFile told(lp + QStringLiteral(".args"));
    ASSERT_TRUE(told.open(QIODevice::ReadOnly));
    EXPECT_EQ(told.readAll(), "-d\nP\n-n\n2\n-t\n-Party\n-o\nmedia=Letter\n/x.pdf\n");
}

// Before the print dialog opens, a scheduler that does not answer is found out in the limit;
// one that answers, even "not running", or no lpstat at all, lets the dialog open.
TEST(PrintSystem, OnlyASchedulerThatDoesNotAnswerIsTakenForHung) {
    QTemporaryDir folder;
    const std::pair<QByteArray, bool> cases[] = {
        {"exec sleep 20", false}, {"echo 'scheduler is not running'; exit 1", true}, {"", true}};
    for (const auto& [script, answers] : cases) {
        SCOPED_TRACE(script.toStdString());
        const QString lpstat = folder.filePath(QStringLiteral("lpstat"));
        QFile::remove(lpstat);
        if (!script.isEmpty()) {
            QFile program(lpstat);
            ASSERT_TRUE(program.open(QIODevice::WriteOnly));
            program.write("#!/bin/sh\n" + script + '\n');
            program.close();
            program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        QElapsedTimer asked;
        asked.start();
        EXPECT_EQ(printSystemAnswers(lpstat, std::chrono::milliseconds(answers ? 30000 : 500)),
                  answers);
        EXPECT_LT(asked.elapsed(), 10000);
    }
}
