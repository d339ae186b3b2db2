// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MailComposer.h"

#include <QPointer>
#include <QProcess>

#include <unistd.h>

namespace {
// xdg-email's exit code when it found no way to open a mailto: address.
constexpr int kNoMailProgram = 3;

QString failureReason(QProcess::ExitStatus status, int code) {
    if (status != QProcess::NormalExit)
        return QStringLiteral("xdg-email stopped unexpectedly");
    if (code == kNoMailProgram)
        return QStringLiteral("none is set up");
    return QStringLiteral("xdg-email failed with exit code %1").arg(code);
}

QStringList arguments(const QString& subject, const QString& attachment) {
    QStringList list{QStringLiteral("--utf8")};
    // xdg-email refuses an empty subject.
    if (!subject.isEmpty())
        list << QStringLiteral("--subject") << subject;
    list << QStringLiteral("--attach") << attachment;
    return list;
}
} // namespace

void composeMail(const QString& subject, const QString& attachment, QObject* receiver,
                 std::function<void(const QString& reason)> failed) {
    // Not the receiver's child: closing the window must not end xdg-email, nor the mail
    // program waiting under it. The process object goes once xdg-email has ended.
    auto* process = new QProcess;
    process->setProgram(QStringLiteral("xdg-email"));
    process->setArguments(arguments(subject, attachment));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setChildProcessModifier([] { ::setsid(); });
    const auto report = [failed = std::move(failed),
                         to = QPointer<QObject>(receiver)](const QString& reason) {
        if (to)
            failed(reason);
    };
    // Queued: a program that cannot be started is reported while start() runs, and the
    // report comes after composeMail has returned, as every other.
    QObject::connect(
        process, &QProcess::errorOccurred, process,
        [process, report](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return; // a crash is reported when the process has finished
            process->deleteLater();
            report(QStringLiteral("xdg-email (from xdg-utils) could not be started"));
        },
        Qt::QueuedConnection);
    QObject::connect(process, &QProcess::finished, process,
                     [process, report](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             report(failureReason(status, code));
                     });
    process->start();
}
