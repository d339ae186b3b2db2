// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The outbox: invitations sent by email wait here, in the program's cache folder, until the
// mail program has read them, each in a private folder of its own. They are kept a week,
// then removed at the next start.

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

struct EventDetails;
namespace office {
class Office;
}

inline constexpr int kOutboxKeepDays = 7;

// The event's name as the name of a file to attach, without extension: the characters that
// some system refuses in file names (a slash, a backslash, : * ? " < > |, control characters
// and line separators) and those that break a mail program's compose line (quotes ' " `,
// the comma) become spaces, runs of spaces one, and dots and spaces at either end go, dashes
// at its start too (a leading dot hides a file, trailing ones vanish on Windows, a leading
// dash reads as an option). Cut at a whole character
// to fit 139 bytes, so that with ".pdf" the name fits every Linux file system, encrypted
// home folders included. kUnnamedInvitation when nothing is left.
QString attachmentBaseName(const QString& eventName);

// What a mailed invitation without a name is called: its attachment and its subject.
inline const QString kUnnamedInvitation = QStringLiteral("Invitation");

// <cache>/festoria/outbox. Only computed, not created.
QString outboxFolder();

// A new private folder (mode 0700) in the outbox, for one attachment. It is removed with the
// object unless the caller keeps it (setAutoRemove(false)) once the attachment is handed
// over. Throws AppError when it cannot be made, or when the outbox (or the cache folder) is a
// link or not the user's own: what it leads to is neither written to nor re-moded.
std::unique_ptr<QTemporaryDir> newOutboxFolder();

// Removes, with their contents, the outbox's folders last changed before the cutoff. Links
// are never followed, nor an outbox that is a link or not the user's own. Never throws: what
// cannot be removed stays.
void removeOutboxFoldersBefore(const QDateTime& cutoff);

// Has the office write the invitation's Word document as a PDF named after the event
// (attachmentBaseName) in a new outbox folder, and returns the PDF's path; the folder stays
// for the mail program to read. A failed export leaves no folder behind. Throws AppError.
QString writeOutboxAttachment(office::Office& office, const QString& documentPath,
                              const QString& eventName);

// Writes the calendar event of the details, in the system's time zone, beside the PDF at
// pdfPath and named like it ("<name>.ics"); returns its path. Throws AppError.
QString writeOutboxCalendarEvent(const QString& pdfPath, const EventDetails& details);
