// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "invitation/Template.h"

#include "core/AppError.h"

#include <QFile>

QByteArray loadTemplateResource() {
    QFile resource(QStringLiteral(":/template.dot"));
    if (!resource.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Resource not found: CUSTOM 101"));
    return resource.readAll();
}

int detailsClearTop() {
    QFile resource(QStringLiteral(":/template.layout"));
    if (!resource.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : resource.readAll().split('\n')) {
        bool ok = false;
        const int twips = line.startsWith("detailsClearTop=") ? line.mid(16).toInt(&ok) : 0;
        if (ok && twips > 0)
            return (twips * 2540 + 720) / 1440;
    }
    return 0;
}
