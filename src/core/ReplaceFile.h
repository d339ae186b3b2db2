// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// How a failure to write the destination begins its description: "Cannot save to" for the
// saves, "Cannot print to" for a printout.
struct ReplaceWhat {
    QString failure = QStringLiteral("Cannot save to");
};

// The file that writing to destination replaces: the destination, or the file a symbolic
// link there points to (the link itself stays, as it would when a program writes through
// it). Refuses, without opening anything, a name that cannot be replaced by a plain file:
// an empty name, a dangling link, a folder, a named pipe, a device or a socket. Throws
// AppError with a readable description.
QString replacedFile(const QString& destination, const ReplaceWhat& what = {});

// Copies source to destination byte for byte. The copy is written to a private new file in
// the destination's folder and renamed over the destination only once it is complete, so
// an existing file is either replaced whole or left exactly as it was. The new file keeps
// the replaced file's permission bits, and its owner and group where the user may set them;
// a file that did not exist gets the usual mode for a new file (0666 less the umask).
// Throws AppError with a readable description on any failure, leaving no partial file.
void copyFileReplacing(const QString& source, const QString& destination,
                       const ReplaceWhat& what = {});

// The same for bytes made in memory (a picture of the page): they replace destination as a
// copy does, whole or not at all, with the replaced file's mode kept.
void writeFileReplacing(const QByteArray& bytes, const QString& destination,
                        const ReplaceWhat& what = {});
