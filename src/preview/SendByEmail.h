// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <utility>

class Prompts;
class QObject;
namespace office {
class Office;
}

// "Send by Email...": the office writes the invitation as a PDF named after the event into
// a new folder of the outbox, and the desktop's mail program opens a new message with the
// PDF attached and the event's name as its subject.
class SendByEmail {
public:
    // setHourglass shows the wait pointer while the office works.
    SendByEmail(Prompts& prompts, office::Office& office,
                std::function<void(bool)> setHourglass = {})
        : mPrompts(prompts), mOffice(office), mSetHourglass(std::move(setHourglass)) {}

    // The menu item's handler, under its own error trap: a failed export is reported as a
    // failed save is, and nothing is sent. When no mail program can be opened, a message
    // says so and where the PDF is, as long as window (the one asking) still exists.
    void send(const QString& documentPath, const QString& eventName, QObject* window);

private:
    // Exports the document into a new outbox folder; returns the PDF's path.
    QString writeAttachment(const QString& documentPath, const QString& eventName);

    Prompts& mPrompts;
    office::Office& mOffice;
    std::function<void(bool)> mSetHourglass;
};
