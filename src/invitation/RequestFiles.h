// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The request's own files in the temporary folder: the template it opens under a private
// name, and what the office leaves beside a document it failed to save.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The office writes a document through a temporary file beside it ("lu....tmp"), which stays
// when the office is killed in the middle: what appeared in the folder while the office saved
// goes when the save failed.
class OfficeLeftovers {
public:
    explicit OfficeLeftovers(QString folder);
    void removeLeftovers() const;

private:
    QStringList leftovers() const;
    QString mFolder;
    QStringList mBefore;
};

// The template the request opens, under a private name of its own, so that no other request
// (of this program or of another copy sharing the folder) writes, opens or deletes it
// meanwhile. A template.dot left in the folder by an interrupted request is taken over (and
// so deleted at the end) only when it is the built-in template byte for byte; anything else
// under that name is not this program's and is left alone and unused.
QString privateTemplate(const QString& folder, const QByteArray& bytes);
