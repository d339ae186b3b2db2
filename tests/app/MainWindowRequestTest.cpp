// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "Start Creating Template" from the main window, against a fake office: the hand-over to the
// preview window and what a failed picture leaves there.
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/Files.h"
#include "invitation/PreviewPicture.h"
#include "preview/PreviewWindow.h"
#include "support/FakeClipboard.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(MainWindowRequest, APictureThatFailsNeverShowsTheLastInvitation) {
    QFile::remove(SettingsStore::filePath());
    ScopedTemp temp;

    ScriptedPrompts prompts;
    FakeOffice office;
    office.bookmarks = {"bEvent", "bWhen", "bWhere", "bBring", "bDrive", "bRSVP"};
    SettingsStore settings;
    MainWindow window(
        prompts, office, settings, [] {}, QCoreApplication::applicationDirPath(), [] {},
        std::make_unique<FakeClipboard>());
    window.startUp();
    window.show();

    window.createInvitation();
    ASSERT_TRUE(window.previewWindowLoaded());
    PreviewWindow& preview = window.previewWindow();
    EXPECT_TRUE(prompts.reports().isEmpty()) << prompts.reports().value(0).toStdString();
    EXPECT_FALSE(preview.picture().isNull());
    EXPECT_TRUE(preview.isVisible());
    EXPECT_FALSE(window.isVisible());
    const QString first = preview.documentPath();
    EXPECT_TRUE(QFile::exists(first));

    preview.back(); // < Back
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(QFile::exists(first));

    office.fail(FakeOffice::Op::RenderPicture); // the second invitation gets no picture
    window.eventNameField->setText(QStringLiteral("Second"));
    prompts.clear();
    window.createInvitation();
    EXPECT_TRUE(prompts.reportLines().contains(164)) << "the picture cannot be loaded";
    EXPECT_TRUE(preview.picture().isNull()) << "not the first invitation's picture";
    EXPECT_NE(preview.documentPath(), first);
    EXPECT_EQ(preview.eventDetails().name,
              QStringLiteral("Second")); // what "Send by Email..." uses
    EXPECT_TRUE(preview.isVisible());

    preview.close();
}
