// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PictureBox.h"

#include "widgets/Theme.h"

#include "core/Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

PictureBox::PictureBox(QWidget* parent, bool border) : QFrame(parent) {
    markPictureBox(*this);
    if (border) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void PictureBox::setPicture(const QImage& picture, QSize twips) {
    mPicture = picture;
    mPictureTwips = twips;
    mSurface = QPixmap();
    update();
}

void PictureBox::clearPicture() {
    mPicture = QImage();
    mPictureTwips = QSize();
    update();
}

void PictureBox::setSurface(const QPixmap& surface) {
    mSurface = surface;
    update();
}

void PictureBox::clearSurface() {
    mSurface = QPixmap();
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QPoint origin = contentsRect().topLeft();
    painter.setClipRect(contentsRect());
    if (!mSurface.isNull()) {
        painter.drawPixmap(origin, mSurface);
    } else if (!mPicture.isNull()) {
        // The picture at its own size, drawn from its full resolution.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(origin, QSizeF(mPictureTwips) / kTwipsPerPixel), mPicture);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mousePressed(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit mouseReleased(event);
}

QPixmap renderZoomed(const QImage& picture, QSize pictureTwips, QSize sourceTwips,
                     QSize targetTwips, qreal devicePixelRatio) {
    if (picture.isNull() || pictureTwips.isEmpty() || sourceTwips.isEmpty() ||
        targetTwips.isEmpty())
        return QPixmap();
    const auto scaled = [](int twips, int pixels, int ofTwips) {
        return int(std::lround(double(twips) * pixels / ofTwips));
    };
    const QRect source =
        QRect(0, 0, scaled(sourceTwips.width(), picture.width(), pictureTwips.width()),
              scaled(sourceTwips.height(), picture.height(), pictureTwips.height()))
            .intersected(picture.rect());
    const QSize target(int(std::lround(targetTwips.width() * devicePixelRatio / kTwipsPerPixel)),
                       int(std::lround(targetTwips.height() * devicePixelRatio / kTwipsPerPixel)));
    if (source.isEmpty() || target.isEmpty())
        return QPixmap();
    // Smooth scaling averages the source pixels when shrinking, so small text stays legible.
    // The part is the picture's own pixels, not a copy: the source starts at its top left.
    // (A copy of the page was 3 MB more to allocate and write before each first view.)
    QImage part = source == picture.rect()
                      ? picture
                      : QImage(picture.constBits(), source.width(), source.height(),
                               picture.bytesPerLine(), picture.format());
    if (part.colorCount() != picture.colorCount())
        part.setColorTable(picture.colorTable());
    QPixmap result =
        QPixmap::fromImage(part.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

QSize pictureTwipsOf(const QImage& picture) {
    // Resolutions outside 25 to 5000 dots per inch are taken as not recorded.
    const auto axis = [](int pixels, int dotsPerMeter) {
        if (dotsPerMeter >= 1000 && dotsPerMeter <= 200000)
            return int(std::lround(pixels / double(dotsPerMeter) / 0.0254 * 1440.0));
        return pixels * kTwipsPerPixel;
    };
    return QSize(axis(picture.width(), picture.dotsPerMeterX()),
                 axis(picture.height(), picture.dotsPerMeterY()));
}
