// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewCommands.h"

#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Prompts.h"
#include "output/Export.h"
#include "output/MailComposer.h"
#include "output/Outbox.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>

namespace {
// Shows the wait pointer for as long as it lives.
class Hourglass {
public:
    explicit Hourglass(const std::function<void(bool)>& set) : mSet(set) {
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
    const std::function<void(bool)>& mSet;
};

void sayDone(Prompts& prompts) {
    prompts.message(QStringLiteral("Done."), applicationTitle(), Prompts::Icon::None,
                    Prompts::Buttons::Ok);
}

QString mailFailedText(const QString& reason, const QString& attachment) {
    return QStringLiteral("No mail program could be opened: %1.\n\nThe invitation is saved "
                          "as\n%2\nAttach it to a message yourself; it is kept there for a "
                          "week.")
        .arg(reason, attachment);
}
} // namespace

bool SaveDocument::replaceAllowed(const SaveTarget& target) {
    // The old file is not deleted here: the new one replaces it in one step once it is
    // complete, so a failed save cannot lose it.
    if (!fileExists(target.path))
        return true;
    return mPrompts.message(QStringLiteral("Are you sure you wish to overwrite ") + target.path +
                                QStringLiteral(" ?"),
                            applicationTitle(), Prompts::Icon::None,
                            Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

void SaveDocument::write(const QString& documentPath, const SaveTarget& target) {
    // A Word copy is a file copy; the other formats keep the office busy a moment.
    const Hourglass hourglass(target.format == SaveFormat::Doc ? std::function<void(bool)>()
                                                               : mSetHourglass);
    writeSaveTarget(mOffice, documentPath, target);
}

void SaveDocument::saveAs(const QString& documentPath) {
    // Only writing can fail; the dialogs and the file test cannot.
    enum class Step { Write = 130 };
    StepTrap<Step> trap(mPrompts, procedures::saveAs);
    QString selectedFilter = saveFilter(SaveFormat::Doc);
    const QString name = mPrompts.saveFileName(QStringLiteral("Save File"), saveFilters(),
                                               QString(), selectedFilter);
    const SaveTarget target = saveTarget(name, selectedFilter);
    // A cancelled dialog, or No to the question, writes nothing and still says "Done.";
    // after a failed save the error report has been shown, and "Done." would claim otherwise.
    bool written = true;
    if (!name.isEmpty() && replaceAllowed(target))
        written = trap(Step::Write, [&] { write(documentPath, target); });
    if (written)
        sayDone(mPrompts);
}

PrintJob printJobOf(const QPrinter& printer, const QString& documentPath) {
    return {printer.printerName(), printer.copyCount(), printer.pageLayout().pageSize().key(),
            QFileInfo(documentPath).completeBaseName()};
}

void PrintDocument::print(const QString& documentPath) {
    // One step: after a failure nothing else is tried, so the user sees one report. The
    // dialog cannot fail.
    enum class Step { Print = 102 };
    StepTrap<Step> trap(mPrompts, procedures::print);
    // The paper the invitation is made for; the dialog may change it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    if (!mPrompts.setUpPrinter(printer))
        return;
    trap(Step::Print, [&] {
        const Hourglass hourglass(mSetHourglass);
        if (printer.outputFileName().isEmpty())
            printOnPrinter(mOffice, documentPath, printJobOf(printer, documentPath), mQueue);
        else
            printPageToFile(mOffice, documentPath, printer.outputFileName());
    });
}

void SendByEmail::send(const QString& documentPath, const QString& eventName, QObject* window) {
    // Only the export can fail; opening the mail program reports its own failure later.
    enum class Step { WriteAttachment = 100 };
    StepTrap<Step> trap(mPrompts, procedures::sendByEmail);
    QString attachment;
    const bool written = trap(Step::WriteAttachment, [&] {
        const Hourglass hourglass(mSetHourglass);
        attachment = writeOutboxAttachment(mOffice, documentPath, eventName);
    });
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
