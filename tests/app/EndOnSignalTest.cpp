// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ScopedTemp.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

// Whether someone handles the signal already, as AddressSanitizer's run-time does SIGSEGV: the
// program leaves such a fault signal to them, and the child, built alike, leaves it too.
static bool handledAlready(int signal) {
    struct sigaction action {};
    return ::sigaction(signal, nullptr, &action) == 0 &&
           (action.sa_handler != SIG_DFL || (action.sa_flags & SA_SIGINFO));
}

// A second ending signal, or a fault, ends the run at once and removes what it noted first;
// the first ending signal waits for the orderly end, whichever signal it is.
TEST(EndOnSignal, TheAtOncePathRemovesTheRunsFiles) {
    const QTemporaryDir cache;
    ScopedVariable cacheHome("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    const struct {
        int first;
        int second; // 0: none
        int endedBy;
    } table[] = {{SIGTERM, SIGHUP, SIGHUP},   {SIGINT, SIGTERM, SIGTERM},
                 {SIGUSR1, SIGUSR1, SIGUSR1}, {SIGQUIT, SIGALRM, SIGALRM},
                 {SIGSEGV, 0, SIGSEGV},       {SIGABRT, 0, SIGABRT}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.first);
        if (row.second == 0 && handledAlready(row.first))
            continue;
        const QString document = cache.filePath(QStringLiteral("qorvel12345678.doc"));
        writeFile(document, "Jane Doe, 12 Elm Street");
        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + "/festoria-signal-child", {document});
        ASSERT_TRUE(child.waitForReadyRead(10000));
        ::kill(pid_t(child.processId()), row.first);
        if (row.second) {
            EXPECT_FALSE(child.waitForFinished(300)) << "the first signal waits for the end";
            EXPECT_TRUE(QFile::exists(document));
            ::kill(pid_t(child.processId()), row.second);
        }
        ASSERT_TRUE(child.waitForFinished(10000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        EXPECT_FALSE(QFile::exists(document));
    }
}
