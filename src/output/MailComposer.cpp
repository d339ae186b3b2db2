// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MailComposer.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

namespace {
// xdg-email's exit code when it found no way to open a mailto: address.
constexpr int kNoMailProgram = 3;

QString failureReason(QProcess::ExitStatus status, int code) {
    if (status != QProcess::NormalExit)
        return QCoreApplication::translate("MailComposer", "xdg-email stopped unexpectedly");
    if (code == kNoMailProgram)
        return QCoreApplication::translate("MailComposer", "none is set up");
    return QCoreApplication::translate("MailComposer", "xdg-email failed with exit code %1")
        .arg(code);
}

// As xdg-email encodes its options: UTF-8, every byte but letters, digits and @ . - / as %XX.
QByteArray mailtoEncoded(const QString& text) {
    return text.toUtf8().toPercentEncoding("@./", "~_");
}

// The whole mailto: address, made here rather than by xdg-email from options: the subject and
// the path then reach it as one argument that begins "mailto:", which it takes as it is. Its
// own encoding goes through the shell's echo, which takes a text "-n" for an option and stops
// at "\c", and it looks for --help in every argument, the subject's included.
QString mailtoAddress(const QString& subject, const QStringList& attachments) {
    QByteArrayList query;
    // A mail program takes an empty subject for none.
    if (!subject.isEmpty())
        query << "subject=" + mailtoEncoded(subject);
    for (const QString& attachment : attachments)
        query << "attach=" + mailtoEncoded(attachment);
    return QStringLiteral("mailto:?") + QString::fromLatin1(query.join('&'));
}

// Without a mail program xdg-email tries web browsers on the address, text ones among them;
// started from a window, a text browser has no terminal to show anything on and only waits
// (17 seconds for one). Graphical ones only, unless the user chose.
QProcessEnvironment mailEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (environment.value(QStringLiteral("BROWSER")).isEmpty())
        environment.insert(QStringLiteral("BROWSER"),
                           QStringLiteral("x-www-browser:firefox:iceweasel:seamonkey:mozilla:"
                                          "epiphany:konqueror:chromium-browser:google-chrome"));
    return environment;
}
} // namespace

void composeMail(const QString& subject, const QStringList& attachments, QObject* receiver,
                 std::function<void(const QString& reason)> failed) {
    // Not the receiver's child: closing the window must not end xdg-email, nor the mail
    // program waiting under it. The process object goes once xdg-email has ended.
    auto* process = new QProcess;
    process->setProgram(QStringLiteral("xdg-email"));
    process->setArguments({mailtoAddress(subject, attachments)});
    process->setProcessEnvironment(mailEnvironment());
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
            report(QCoreApplication::translate("MailComposer",
                                               "xdg-email (from xdg-utils) could not be started"));
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
