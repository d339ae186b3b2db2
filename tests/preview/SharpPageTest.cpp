// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page stays sharp: every device pixel of the drawn page has a picture pixel behind it,
// at every zoom, on ordinary and high-density screens. This program runs on a 2x screen
// (QT_SCALE_FACTOR=2, see CMakeLists.txt).
#include "preview/SharpPage.h"
#include "PreviewFixtures.h"
#include "preview/PictureBox.h"
#include "preview/PreviewWindow.h"
#include "preview/ZoomModel.h"
#include "support/FakeOffice.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

TEST(SharpPage, WidthEachZoomNeedsOnEachScreen) {
    const QSize page(6120, 7920);
    const struct {
        double zoom, ratio;
        int width;
    } cases[] = {{1.0, 1.0, 408},  {1.0, 2.0, 816}, {1.5, 1.5, 1020},
                 {1.5, 2.0, 1224}, {2.0, 1.0, 816}, {4.0, 2.0, 3264}};
    for (const auto& c : cases) {
        const QSize target(int(page.width() * c.zoom), int(page.height() * c.zoom));
        EXPECT_EQ(SharpPage::neededWidth(page, page, target, c.ratio), c.width)
            << c.zoom << " at " << c.ratio;
    }
    // A part of the page drawn large needs the whole picture in proportion.
    EXPECT_EQ(SharpPage::neededWidth(page, QSize(3060, 3960), QSize(6120, 7920), 1.0), 816);
}

TEST(SharpPage, ZoomedPageOnA2xScreenIsDrawnFromEnoughPixels) {
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    ScriptedPrompts prompts;
    FakeOffice office;
    office.pageTwips = QSize(6120, 7920);
    QWidget mainWindow;
    PreviewWindow preview(prompts, office, &mainWindow, QString(), [] {});
    preview.setPicture(invitationPicture());
    ScopedTemp temp;
    const QString document = temp.file(QStringLiteral("qorvel12345678.doc"));
    QFile(document).open(QIODevice::WriteOnly);
    preview.setDocumentPath(document);
    preview.show();
    preview.showNewPicture();
    auto* unscaled = preview.findChild<PictureBox*>(QStringLiteral("unscaledPage"));
    auto* page = preview.findChild<PictureBox*>(QStringLiteral("page"));
    ASSERT_TRUE(unscaled && page);

    // 150 % is the largest zoom the preview draws; the first zoom beyond it goes back to 100 %.
    for (const float zoom : {1.0f, 1.25f, 1.5f}) {
        office.log.clear();
        preview.zoomModel().setZoom(zoom);
        QCoreApplication::processEvents(); // the sharper page is drawn after the zoom
        const int deviceWidth = qRound(preview.zoomModel().zoomedWidth() * 2.0 / 15);
        EXPECT_GE(unscaled->picture().width(), deviceWidth) << zoom;
        EXPECT_GE(page->surface().width(), deviceWidth) << zoom;
        EXPECT_EQ(office.log.filter(QStringLiteral("export")).size(), zoom == 1.0f ? 0 : 1)
            << "100 % on a 2x screen is what the request drew; a larger zoom draws once";
        EXPECT_EQ(office.log.filter(QStringLiteral("close")).size(), zoom == 1.0f ? 0 : 1);
        EXPECT_EQ(unscaled->pictureTwips(), QSize(6120, 7920)) << "only the density grows";
    }
    EXPECT_TRUE(prompts.reports().isEmpty());
}
