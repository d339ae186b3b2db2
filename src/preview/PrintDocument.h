// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "preview/PrintQueue.h"

#include <QString>

#include <functional>
#include <utility>

class Prompts;
class QPrinter;
namespace office {
class Office;
}

// The queue printing uses unless told otherwise: the system's CUPS queue.
PrintQueue& systemPrintQueue();

// "Print...": the platform's print dialog, then the invitation as the office makes it: its
// own PDF of the page, which the chosen printer prints itself (text stays text, at the
// printer's resolution), or which is written to the file the dialog names, replacing it as a
// save replaces its file.
class PrintDocument {
public:
    // setHourglass shows the wait pointer while the office works; queue takes the printouts.
    PrintDocument(Prompts& prompts, office::Office& office,
                  std::function<void(bool)> setHourglass = {},
                  PrintQueue& queue = systemPrintQueue())
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)),
          mQueue(queue) {}

    // The menu item's handler: a cancelled dialog prints nothing; a failure is reported once.
    void print(const QString& documentPath);

private:
    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
    PrintQueue& mQueue;
};

// The job the print dialog set the printer up for; its title is the document's name.
PrintJob printJobOf(const QPrinter& printer, const QString& documentPath);

// Has the office make the document's PDF in a private folder and hands it to the job's
// printer through the queue. Throws AppError when the office or the printing system fails.
void printOnPrinter(office::Office& office, const QString& documentPath, const PrintJob& job,
                    PrintQueue& queue);

// Prints to a file: the file is first refused if it is no plain file (before anything opens
// it, so a named pipe cannot block the program), then the office's PDF is written in a
// private folder, checked complete, and put in place as a save puts its file: the old file
// is replaced whole, with its mode kept, or left as it was. Throws AppError.
void printPageToFile(office::Office& office, const QString& documentPath, const QString& target);

// True when the file is a whole PDF: it ends with its trailer, and the cross-reference
// table is where the trailer says.
bool isCompletePdf(const QString& path);
