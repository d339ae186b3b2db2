// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The page picture the request hands over is drawn for 100 % on an ordinary screen. Zoomed
// in, or on a high-density screen, each picture pixel would cover several screen pixels and
// the invitation would look blurred. SharpPage notices when a zoom needs more pixels than
// the picture has and, after that zoom has been drawn (so the click answers at once), has
// the office draw the page again at the width the zoom needs.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

namespace office {
class Office;
}

class SharpPage : public QObject {
    Q_OBJECT
public:
    // sharper is called with the new picture (same size in twips, more pixels).
    SharpPage(office::Office& office, std::function<void(const QImage&)> sharper,
              QObject* parent = nullptr);

    // A new document: pictures of the old one are no longer asked for.
    void setDocument(const QString& documentPath);
    // The zoom just drew the part sourceTwips of the picture (pictureWidth pixels across
    // pictureTwips) onto targetTwips at the screen's device pixel ratio; when that needed
    // more pixels than the picture has, a sharper picture is drawn soon after.
    void drawn(int pictureWidth, QSize pictureTwips, QSize sourceTwips, QSize targetTwips,
               qreal devicePixelRatio);

    // The pixel width a picture needs so that every device pixel of the drawing has one
    // picture pixel, rounded up to a whole number of 204-pixel steps.
    static int neededWidth(QSize pictureTwips, QSize sourceTwips, QSize targetTwips,
                           qreal devicePixelRatio);

private:
    void drawSharper(int width);

    office::Office& mOffice;
    std::function<void(const QImage&)> mSharper;
    QString mDocument;
    int mAsked = 0;       // the widest picture asked for this document
    bool mFailed = false; // the office could not draw it: the picture stays as it is
};
