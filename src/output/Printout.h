// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "output/PrintQueue.h"

// The printout: the office's own PDF of the page, handed to a printer through the printing
// system's queue or written to a file.

#include <QString>

namespace office {
class Office;
}

// The queue printing uses unless told otherwise: the system's CUPS queue.
PrintQueue& systemPrintQueue();

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
