// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "office/libreoffice/LibreOffice.h"
#include "preview/PreviewWindow.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"
#include "support/WatchedOffice.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

// The main window closed while the request works in the office or once the invitation is in
// the preview: the program ends without its document, picture or template left in TEMP.
TEST(MainWindowOffice, NothingTheProgramMadeStaysInTempWhenItEnds) {
    const auto real = office::makeLibreOffice();
    WatchedOffice office(*real);
    for (const QString moment : {"fill", "save", "close", "render", "preview shown"}) {
        SCOPED_TRACE(moment.toStdString());
        ScopedTemp temp;
        ScriptedPrompts prompts;
        SettingsStore settings;
        bool ended = false;
        MainWindow window(
            prompts, office, settings, [] {}, QCoreApplication::applicationDirPath(),
            [&] { ended = true; });
        window.startUp();
        window.loadSample();
        window.show();
        office.before = [&](const QString& operation) {
            if (operation == moment)
                window.close();
        };
        window.createInvitation();
        office.before = nullptr;
        if (moment == "preview shown") {
            ASSERT_TRUE(window.previewWindowLoaded() && window.previewWindow().isVisible());
            window.close();
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(prompts.reports(), QStringList());
        EXPECT_EQ(temp.entries(), QStringList());
    }
}
