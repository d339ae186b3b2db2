// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/PrintQueue.h"

#include "core/AppError.h"

#include <QProcess>
#include <QStringList>

namespace {
QStringList lpArguments(const PrintJob& job, const QString& pdfFile) {
    QStringList arguments{QStringLiteral("-d"),        job.printer,          QStringLiteral("-n"),
                          QString::number(job.copies), QStringLiteral("-t"), job.title};
    if (!job.paper.isEmpty())
        arguments << QStringLiteral("-o") << QStringLiteral("media=") + job.paper;
    // The file's path is absolute, so it never reads as an option.
    arguments << pdfFile;
    return arguments;
}
} // namespace

void CupsPrintQueue::submit(const PrintJob& job, const QString& pdfFile) {
    QProcess lp;
    lp.setProgram(mProgram);
    lp.setArguments(lpArguments(job, pdfFile));
    lp.setStandardInputFile(QProcess::nullDevice());
    lp.start();
    if (!lp.waitForStarted())
        throw AppError(QStringLiteral("The print command '%1' could not be started (is the "
                                      "package cups-client installed?).")
                           .arg(mProgram));
    if (!lp.waitForFinished(int(mTimeout.count()))) {
        lp.kill();
        lp.waitForFinished();
        throw AppError(QStringLiteral("The printing system did not answer within %1 seconds; "
                                      "nothing was printed.")
                           .arg(double(mTimeout.count()) / 1000.0));
    }
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        throw AppError(QStringLiteral("The printer '%1' did not take the invitation: %2")
                           .arg(job.printer, said.isEmpty() ? QStringLiteral("the print command "
                                                                             "failed.")
                                                            : said));
    }
}
