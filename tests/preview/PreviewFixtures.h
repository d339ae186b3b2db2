// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

// The request hands over the page rendered at 192 dots per inch: 816 x 1056 pixels that
// measure 6120 x 7920 twips.
constexpr int kPagePixelsWide = 816;
constexpr int kPagePixelsHigh = 1056;
inline int dotsPerMeterAt192Dpi() {
    return qRound(192 / 0.0254);
}

inline QImage pagePicture(const QColor& fill) {
    QImage image(kPagePixelsWide, kPagePixelsHigh, QImage::Format_RGB32);
    image.fill(fill);
    image.setDotsPerMeterX(dotsPerMeterAt192Dpi());
    image.setDotsPerMeterY(dotsPerMeterAt192Dpi());
    return image;
}

// Something that looks like an invitation: a border, a heading and lines of details.
inline QImage invitationPicture() {
    QImage image = pagePicture(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x8b, 0x1a, 0x4a), 6));
    painter.drawRect(QRectF(24, 24, kPagePixelsWide - 48, kPagePixelsHigh - 48));
    QFont heading(QStringLiteral("Liberation Serif"));
    heading.setPixelSize(64);
    heading.setBold(true);
    painter.setFont(heading);
    painter.drawText(QRect(0, 90, kPagePixelsWide, 90), Qt::AlignCenter,
                     QStringLiteral("You're Invited!"));
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPixelSize(30);
    painter.setFont(body);
    painter.setPen(Qt::black);
    const char* lines[] = {"Summer Garden Party",
                           "",
                           "When: Saturday, 14th August 2021, 3:00 PM",
                           "Where: 12 Orchard Lane, Millbrook",
                           "",
                           "Please bring: a salad or a dessert",
                           "",
                           "Directions: second left after the mill,",
                           "then follow the balloons.",
                           "",
                           "RSVP: Anna, 555-0134"};
    int y = 240;
    for (const char* line : lines) {
        painter.drawText(QRect(70, y, kPagePixelsWide - 140, 44), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(line));
        y += 48;
    }
    painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i)
        painter.drawEllipse(QPointF(160 + i * 124, 900), 36, 46);
    return image;
}
