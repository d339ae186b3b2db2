// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewCommands.h"

#include "core/ErrorTrap.h"
#include "core/EventDetails.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "core/ReplaceFile.h"
#include "output/Export.h"
#include "output/MailComposer.h"
#include "output/Outbox.h"
#include "output/PrintQueue.h"
#include "widgets/OfficeWait.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>

#include <utility>

namespace {
// Shows the wait pointer for as long as it lives.
class Hourglass {
public:
    explicit Hourglass(std::function<void(bool)> set) : mSet(std::move(set)) {
        if (mSet)
            mSet(true);
    }
    ~Hourglass() {
        if (mSet)
            mSet(false);
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    // Held by value: the caller may pass a temporary (no pointer for a Word copy).
    const std::function<void(bool)> mSet;
};

void sayDone(Prompts& prompts) {
    prompts.message(QCoreApplication::translate("PreviewCommands", "Done."), applicationTitle(),
                    Prompts::Icon::None, Prompts::Buttons::Ok);
}

const QString kPrintSystemHung =
    QStringLiteral("The printing system (CUPS) does not answer, so nothing can be printed now. "
                   "Check that it is running (for example: systemctl restart cups), then try "
                   "again; you can still save the invitation as a PDF.");

QString mailFailedText(const QString& reason, const QString& attachment) {
    return QCoreApplication::translate("PreviewCommands",
                                       "No mail program could be opened: %1.\n\nThe invitation "
                                       "is saved as\n%2\nAttach it to a message yourself; it is "
                                       "kept there for a week.")
        .arg(reason, attachment);
}
} // namespace

bool SaveDocument::replaceAllowed(const SaveTarget& target) {
    // The old file is not deleted here: the new one replaces it in one step once it is
    // complete, so a failed save cannot lose it.
    if (!fileExists(target.path))
        return true;
    return mPrompts.message(QCoreApplication::translate("PreviewCommands",
                                                        "Are you sure you wish to overwrite %1 ?")
                                .arg(target.path),
                            applicationTitle(), Prompts::Icon::None,
                            Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

void SaveDocument::write(const QString& documentPath, const EventDetails& details,
                         const SaveTarget& target) {
    // A Word copy is a file copy and the calendar event a few lines; the other formats keep
    // the office busy a moment.
    const bool quick = target.format == SaveFormat::Doc || target.format == SaveFormat::Ics;
    const Hourglass hourglass(quick ? std::function<void(bool)>() : mSetHourglass);
    writeSaveTarget(mOffice, documentPath, details, target);
}

void SaveDocument::saveAs(const QString& documentPath, const EventDetails& details) {
    // Only writing can fail; the dialogs and the file test cannot.
    enum class Step { Write = 130 };
    StepTrap<Step> trap(mPrompts, procedures::saveAs);
    QString selectedFilter = saveFilter(SaveFormat::Doc);
    const QString name =
        mPrompts.saveFileName(QCoreApplication::translate("PreviewCommands", "Save File"),
                              saveFilters(), QString(), selectedFilter);
    const SaveTarget target = saveTarget(name, selectedFilter);
    // A cancelled dialog, or No to the question, writes nothing and still says "Done.";
    // after a failed save the error report has been shown, and "Done." would claim otherwise.
    bool written = true;
    // A name no file can replace (a FIFO, a device, a folder) is refused before anyone is
    // asked whether to overwrite it.
    if (!name.isEmpty())
        written = trap(Step::Write, [&] { replacedFile(target.path); });
    if (!name.isEmpty() && written && replaceAllowed(target))
        written = trap(Step::Write, [&] { write(documentPath, details, target); });
    if (written)
        sayDone(mPrompts);
}

PrintJob printJobOf(const QPrinter& printer, const QString& eventName) {
    return {printer.printerName(), printer.copyCount(), printer.pageLayout().pageSize().key(),
            attachmentBaseName(eventName)};
}

void PrintDocument::print(const QString& documentPath, const QString& eventName) {
    // One step: after a failure nothing else is tried, so the user sees one report. The
    // dialog cannot fail.
    enum class Step { Print = 102 };
    StepTrap<Step> trap(mPrompts, procedures::print);
    // The window takes no input while the printing system is asked or lp queues the job.
    const InputBlock block;
    // A hung CUPS would hang the print dialog (and even the printer's set-up) inside the
    // CUPS library: it is asked first, briefly, in a process of its own.
    if (!printSystemAnswers()) {
        mPrompts.message(kPrintSystemHung, applicationTitle(), Prompts::Icon::Warning,
                         Prompts::Buttons::Ok);
        return;
    }
    // The paper the invitation is made for; the dialog may change it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    if (!mPrompts.setUpPrinter(printer))
        return;
    trap(Step::Print, [&] {
        const Hourglass hourglass(mSetHourglass);
        if (printer.outputFileName().isEmpty())
            printOnPrinter(mOffice, documentPath, printJobOf(printer, eventName), mQueue);
        else
            printPageToFile(mOffice, documentPath, printer.outputFileName());
    });
}

void SendByEmail::send(const QString& documentPath, const EventDetails& details, QObject* window) {
    // Only writing the attachments can fail; opening the mail program reports its own
    // failure later.
    enum class Step { WriteAttachment = 100, WriteCalendarEvent = 102 };
    StepTrap<Step> trap(mPrompts, procedures::sendByEmail);
    QStringList attachments;
    const bool written = trap(Step::WriteAttachment, [&] {
        const Hourglass hourglass(mSetHourglass);
        attachments << writeOutboxAttachment(mOffice, documentPath, details.name);
    });
    if (!written)
        return;
    const QString attachment = attachments.first();
    trap(Step::WriteCalendarEvent,
         [&] { attachments << writeOutboxCalendarEvent(attachment, details); });
    // The message is about this event; named as the attachment when it has no name.
    const QString subject =
        details.name.trimmed().isEmpty() ? kUnnamedInvitation : details.name.trimmed();
    Prompts& prompts = mPrompts; // the prompts outlive the window, this object does not
    composeMail(subject, attachments, window, [&prompts, attachment](const QString& reason) {
        prompts.message(mailFailedText(reason, attachment), applicationTitle(),
                        Prompts::Icon::Warning, Prompts::Buttons::Ok);
    });
}
