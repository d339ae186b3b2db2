// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The preview's commands that ask the user something (a file name, a printer, whether to
// replace a file) and then hand the work to output/: Save As, Print and Send by Email. Each
// runs under its own error trap; the hourglass shows while the office works.

#include "output/Printout.h"

#include <QString>

#include <functional>
#include <utility>

class Prompts;
class QObject;
class QPrinter;
struct EventDetails;
struct SaveTarget;
namespace office {
class Office;
}

// "Save Results To Word File": asks for a name, asks before replacing an existing file, and
// writes the invitation there in the format the name or the chosen filter gives.
class SaveDocument {
public:
    // setHourglass shows the wait pointer while the office works.
    SaveDocument(Prompts& prompts, office::Office& office,
                 std::function<void(bool)> setHourglass = {})
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)) {}

    // The handler of the button and the menu item: saves the document at documentPath where
    // the user chooses, or the calendar event of the details it was made from.
    void saveAs(const QString& documentPath, const EventDetails& details);

private:
    bool replaceAllowed(const SaveTarget& target);
    void write(const QString& documentPath, const EventDetails& details, const SaveTarget& target);

    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
};

// The job the print dialog set the printer up for, titled after the event (as its PDF is named).
PrintJob printJobOf(const QPrinter& printer, const QString& eventName);

// "Print...": the platform's print dialog, then the office's own PDF of the page goes to the
// chosen printer, or to the file the dialog names.
class PrintDocument {
public:
    // setHourglass shows the wait pointer while the office works; queue takes the printouts.
    PrintDocument(Prompts& prompts, office::Office& office,
                  std::function<void(bool)> setHourglass = {},
                  PrintQueue& queue = systemPrintQueue())
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)),
          mQueue(queue) {}

    // The menu item's handler: a cancelled dialog prints nothing; a failure is reported once.
    void print(const QString& documentPath, const QString& eventName);

private:
    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
    PrintQueue& mQueue;
};

// "Send by Email...": the invitation as a PDF named after the event in the outbox, its
// calendar event beside it, and a new message of the desktop's mail program with both
// attached and the event's name as subject.
class SendByEmail {
public:
    // setHourglass shows the wait pointer while the office works.
    SendByEmail(Prompts& prompts, office::Office& office,
                std::function<void(bool)> setHourglass = {})
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)) {}

    // The menu item's handler: a failed export is reported as a failed save is, and nothing
    // is sent; a calendar event that cannot be written is reported, and the PDF goes alone.
    // When no mail program can be opened, a message says so and where the PDF is, as long as
    // window (the one asking) still exists.
    void send(const QString& documentPath, const EventDetails& details, QObject* window);

private:
    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
};
