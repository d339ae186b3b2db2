// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QSize>

// A picture box: it holds a picture (shown at the picture's own size) and a persistent
// drawing surface that survives repainting. With a border it draws the standard sunken
// frame, and its contents start inside it.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent, bool border);

    // The picture and its size in twips.
    void setPicture(const QImage& picture, QSize twips);
    void clearPicture();
    const QImage& picture() const { return mPicture; }
    QSize pictureTwips() const { return mPictureTwips; }

    // What was last drawn on the persistent surface.
    void setSurface(const QPixmap& surface);
    void clearSurface();
    const QPixmap& surface() const { return mSurface; }

signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage mPicture;
    QSize mPictureTwips;
    QPixmap mSurface;
};

// Renders the rectangle (0, 0, sourceTwips) of a picture that measures pictureTwips,
// stretched smoothly to targetTwips, for a screen with the given device pixel ratio.
QPixmap renderZoomed(const QImage& picture, QSize pictureTwips, QSize sourceTwips,
                     QSize targetTwips, qreal devicePixelRatio);

// The size of a picture in twips, from its resolution; 15 twips per pixel when it records
// no usable resolution.
QSize pictureTwipsOf(const QImage& picture);
