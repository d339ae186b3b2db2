// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The office's process id after its end.

#include "office/libreoffice/OfficeProcess.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A process's command line or environment, its entries separated by NUL.
QByteArray procText(pid_t pid, const char* what) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(what)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

char processState(pid_t pid) {
    const QByteArray stat = procText(pid, "stat");
    const qsizetype after = stat.lastIndexOf(')');
    return after < 0 || after + 2 >= stat.size() ? '\0' : stat.at(after + 2);
}

} // namespace

// An office that ended stays uncollected until end(), which the engine calls once it has
// forgotten the office's id: no kill by that id can reach a process that got the id later.
TEST(OfficeProcessId, AnEndedOfficeIsSeenButCollectedOnlyByEnd) {
    QTemporaryDir folder;
    office::OfficeProcess process;
    const pid_t group = process.spawn({"/bin/sh", "-c", "exit 3"}, {},
                                      folder.filePath(QStringLiteral("office.log")));
    QString how;
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (!process.hasEnded(&how) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(how, QStringLiteral("with code 3"));
    EXPECT_EQ(processState(group), 'Z') << "seen, not collected";
    process.end();
    EXPECT_EQ(processState(group), '\0') << "collected by end()";
}
