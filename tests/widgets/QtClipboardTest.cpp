// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/QtClipboard.h"

#include "support/TestFiles.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(QtClipboardTest, PutsAMarkedPictureAndReadsItBack) {
    QtClipboard clipboard;
    QImage image = picture(20, 30, Qt::yellow);
    image.setDotsPerMeterX(7559);
    image.setDotsPerMeterY(7559);
    clipboard.putPicture(image, "mark-1");
    const auto read = clipboard.read();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->mark, "mark-1");
    EXPECT_EQ(read->picture.size(), QSize(20, 30));
    EXPECT_EQ(read->picture.dotsPerMeterX(), 7559);

    // Somebody else's picture carries no mark. A picture put without a mark goes on the
    // clipboard exactly as a plain picture does.
    QGuiApplication::clipboard()->setImage(picture(5, 5, Qt::red));
    const QStringList plainFormats = QGuiApplication::clipboard()->mimeData()->formats();
    const auto foreign = clipboard.read();
    ASSERT_TRUE(foreign.has_value());
    EXPECT_TRUE(foreign->mark.isEmpty());
    clipboard.putPicture(picture(6, 6, Qt::blue), QByteArray());
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats(), plainFormats);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(6, 6));
}
