// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/QtClipboard.h"

#include "core/AppError.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
const QString kMarkFormat = QStringLiteral("application/x-festoria-picture");
} // namespace

void QtClipboard::putPicture(const QImage& picture, const QByteArray& mark) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw AppError(QStringLiteral("The clipboard is not available"));
    auto* data = new QMimeData;
    data->setImageData(picture);
    // Without a mark, a plain picture as any program puts it.
    if (!mark.isEmpty())
        data->setData(kMarkFormat, mark + ' ' + QByteArray::number(picture.dotsPerMeterX()) + ' ' +
                                       QByteArray::number(picture.dotsPerMeterY()));
    clipboard->setMimeData(data);
}

std::optional<ClipboardPicture> QtClipboard::read() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return std::nullopt;
    ClipboardPicture result;
    if (data->hasImage())
        result.picture = qvariant_cast<QImage>(data->imageData());
    const QList<QByteArray> fields = data->data(kMarkFormat).split(' ');
    if (fields.size() == 3) {
        result.mark = fields.at(0);
        const int x = fields.at(1).toInt();
        const int y = fields.at(2).toInt();
        if (!result.picture.isNull() && x > 0 && y > 0) {
            result.picture.setDotsPerMeterX(x);
            result.picture.setDotsPerMeterY(y);
        }
    }
    return result;
}
