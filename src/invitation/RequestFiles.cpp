// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The request's own files in the temporary folder.

#include "invitation/RequestFiles.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "invitation/CreateInvitation.h"

#include <QDir>
#include <QFileInfo>

OfficeLeftovers::OfficeLeftovers(QString folder)
    : mFolder(std::move(folder)), mBefore(leftovers()) {}

void OfficeLeftovers::removeLeftovers() const {
    for (const QString& name : leftovers())
        if (!mBefore.contains(name) && isOwnPlainFile(pathIn(mFolder, name)))
            deleteFile(pathIn(mFolder, name));
}

QStringList OfficeLeftovers::leftovers() const {
    return QDir(mFolder).entryList({QStringLiteral("lu*.tmp")}, QDir::Files | QDir::Hidden);
}

namespace {
// Whether the path holds a plain file of this user's with exactly the template's bytes (read
// only when its size matches: a large file of that name is never read).
bool holdsTemplate(const QString& path, const QByteArray& bytes) {
    if (!isOwnPlainFile(path) || QFileInfo(path).size() != bytes.size())
        return false;
    try {
        return readPlainFile(path) == bytes;
    } catch (const AppError&) {
        return false;
    }
}
} // namespace

QString privateTemplate(const QString& folder, const QByteArray& bytes) {
    const QString left = pathIn(folder, kTemplateFileName);
    if (holdsTemplate(left, bytes)) {
        const QString taken =
            takeOverFile(left, QStringLiteral("template"), QStringLiteral(".dot"));
        if (!taken.isEmpty() && holdsTemplate(taken, bytes))
            return taken;
        if (!taken.isEmpty()) // changed under our hands: it goes back where it was
            putBackFile(taken, left);
    }
    return writePrivateFile(folder, QStringLiteral("template"), QStringLiteral(".dot"), bytes);
}
