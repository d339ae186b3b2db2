// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/SharpPage.h"

#include "core/Twips.h"
#include "output/PageImage.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kWidthStep = 204;   // a quarter of the 100 % picture's width
constexpr int kMostPixels = 4000; // the 400 % page on a 2x screen is 3264 across
} // namespace

SharpPage::SharpPage(office::Office& office, std::function<void(const QImage&)> sharper,
                     QObject* parent)
    : QObject(parent), mOffice(office), mSharper(std::move(sharper)) {}

void SharpPage::setDocument(const QString& documentPath) {
    mDocument = documentPath;
    mAsked = 0;
    mFailed = false;
}

int SharpPage::neededWidth(QSize pictureTwips, QSize sourceTwips, QSize targetTwips,
                           qreal devicePixelRatio) {
    if (pictureTwips.isEmpty() || sourceTwips.isEmpty() || targetTwips.isEmpty())
        return 0;
    const double devicePixels = targetTwips.width() * devicePixelRatio / double(kTwipsPerPixel);
    const double needed = devicePixels * pictureTwips.width() / sourceTwips.width();
    const int steps = int(std::ceil(needed / kWidthStep - 1e-9));
    return std::min(steps * kWidthStep, kMostPixels);
}

void SharpPage::drawn(int pictureWidth, QSize pictureTwips, QSize sourceTwips, QSize targetTwips,
                      qreal devicePixelRatio) {
    const int needed = neededWidth(pictureTwips, sourceTwips, targetTwips, devicePixelRatio);
    if (mDocument.isEmpty() || mFailed || needed <= pictureWidth || needed <= mAsked)
        return;
    mAsked = needed;
    QTimer::singleShot(0, this, [this, needed, document = mDocument] {
        if (document == mDocument) // not a picture of an earlier invitation
            drawSharper(needed);
    });
}

void SharpPage::drawSharper(int width) {
    try {
        // The window shows it at the size of the picture it replaces: only the density grows.
        mSharper(drawPage(mOffice, mDocument, PageScale::width(width)));
    } catch (const std::exception&) {
        // A sharper picture is a nicety: without the office the picture stays as it is, and
        // the office is not asked again for this invitation.
        mFailed = true;
    }
}
