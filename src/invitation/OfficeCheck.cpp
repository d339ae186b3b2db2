// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/OfficeCheck.h"

#include "core/AppError.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "office/Office.h"

#include <QCoreApplication>
#include <QStringList>

QString officeMissingMessage() {
    static const char* const paragraphs[] = {
        QT_TRANSLATE_NOOP(
            "OfficeCheck",
            "Error 842001. A normal instance of LibreOffice Writer could not be started."),
        QT_TRANSLATE_NOOP(
            "OfficeCheck",
            "1. Please make sure LibreOffice Writer is installed on this computer: on Debian the "
            "package libreoffice-writer (or libreoffice-writer-nogui), for example with \"sudo "
            "apt install libreoffice-writer\"."),
        QT_TRANSLATE_NOOP(
            "OfficeCheck",
            "2. Please make sure the office starts: in a terminal, \"soffice --headless "
            "--version\" must print the LibreOffice version at once, without any error message."),
        QT_TRANSLATE_NOOP(
            "OfficeCheck",
            "3. Please make sure the command soffice is found on the PATH, and that the folder "
            "~/.cache in your home folder can be written (the office keeps its private settings "
            "there)."),
        QT_TRANSLATE_NOOP(
            "OfficeCheck",
            "4. LibreOffice 7 and later are supported; the program runs its own hidden copy of "
            "the office and never changes your own LibreOffice settings."),
    };
    QStringList lines;
    for (const char* paragraph : paragraphs)
        lines << QCoreApplication::translate("OfficeCheck", paragraph);
    return lines.join(QStringLiteral("\r\n\r\n"));
}

namespace {
// Starts a session and ends it at once. False when no session could be started; an office
// that starts but fails to end its session still counts as one that starts. What the
// program's own folders keep from starting is said in reason.
bool sessionStarts(office::Office& office, QString& reason) {
    std::unique_ptr<office::Session> session;
    try {
        session = office.startSession();
    } catch (const OwnFilesError& e) {
        reason = e.description();
        return false;
    } catch (...) {
        return false; // whatever the reason, the advice below is the answer
    }
    if (!session)
        return false;
    try {
        session->quit();
    } catch (...) {
        // The office started, which is all this check asks.
    }
    return true;
}
} // namespace

void checkOfficeStarts(office::Office& office, Prompts& prompts,
                       const std::function<void()>& endAtOnce) {
    QString reason;
    if (sessionStarts(office, reason))
        return;
    try {
        // Installing the office is no answer when the office is not what failed.
        if (reason.isEmpty())
            prompts.message(officeMissingMessage(), applicationTitle(), Prompts::Icon::None,
                            Prompts::Buttons::Ok);
        else
            prompts.message(reason, applicationTitle(), Prompts::Icon::Warning,
                            Prompts::Buttons::Ok);
    } catch (...) {
        // The program ends below whether or not the advice could be shown.
    }
    if (endAtOnce)
        endAtOnce();
}
