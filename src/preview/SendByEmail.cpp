// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/SendByEmail.h"

#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "preview/MailComposer.h"
#include "preview/Outbox.h"
#include "preview/SaveDocument.h"

#include <QScopeGuard>

namespace {
QString mailFailedText(const QString& reason, const QString& attachment) {
    return QStringLiteral("No mail program could be opened: %1.\n\nThe invitation is saved "
                          "as\n%2\nAttach it to a message yourself; it is kept there for a "
                          "week.")
        .arg(reason, attachment);
}
} // namespace

QString SendByEmail::writeAttachment(const QString& documentPath, const QString& eventName) {
    if (mSetHourglass)
        mSetHourglass(true);
    const auto restore = qScopeGuard([this] {
        if (mSetHourglass)
            mSetHourglass(false);
    });
    // A failed export leaves no empty folder behind.
    const auto folder = newOutboxFolder();
    const QString attachment =
        pathIn(folder->path(), attachmentBaseName(eventName) + QStringLiteral(".pdf"));
    exportFileReplacing(mOffice, documentPath, attachment, SaveFormat::Pdf);
    folder->setAutoRemove(false); // the mail program reads it later
    return attachment;
}

void SendByEmail::send(const QString& documentPath, const QString& eventName, QObject* window) {
    // Only the export can fail; opening the mail program reports its own failure later.
    enum class Step { WriteAttachment = 100 };
    StepTrap<Step> trap(mPrompts, procedures::sendByEmail);
    QString attachment;
    const bool written =
        trap(Step::WriteAttachment, [&] { attachment = writeAttachment(documentPath, eventName); });
    if (!written)
        return;
    // The message is about this event; "Invitation" when it has no name, as the attachment.
    const QString subject =
        eventName.trimmed().isEmpty() ? QStringLiteral("Invitation") : eventName.trimmed();
    Prompts& prompts = mPrompts; // the prompts outlive the window, this object does not
    composeMail(subject, attachment, window, [&prompts, attachment](const QString& reason) {
        prompts.message(mailFailedText(reason, attachment), applicationTitle(),
                        Prompts::Icon::Warning, Prompts::Buttons::Ok);
    });
}
