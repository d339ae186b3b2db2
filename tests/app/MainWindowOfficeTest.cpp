// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/ThreadedOffice.h"
#include "office/libreoffice/LibreOffice.h"
#include "preview/PreviewWindow.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"
#include "support/WatchedOffice.h"
#include "widgets/OfficeWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

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

// The office stopped (SIGSTOP) at each step of a request: the window thread goes on the whole
// time, the note's Cancel ends the request at once and quietly (no report, no preview),
// nothing stays in TEMP, and the next request works with an office that replaces the stopped
// one, without a report either.
TEST(MainWindowOffice, AStoppedOfficeNeverFreezesTheWindowAndCancelEndsTheRequestQuietly) {
    const auto real = office::makeLibreOffice();
    WatchedOffice watched(*real);
    ThreadedOffice office(watched, [&real] { return real->officeEnder(); });
    ScriptedPrompts prompts;
    SettingsStore settings;
    MainWindow window(
        prompts, office, settings, [] {}, QCoreApplication::applicationDirPath(), [] {});
    window.startUp();
    window.loadSample();
    window.show();
    for (const char* step : {"start", "open", "fill", "fit", "save", "alerts", "close", "quit",
                             "open for editing", "render"}) {
        SCOPED_TRACE(step);
        ScopedTemp temp;
        prompts.clear();
        bool stopped = false;
        watched.before = [&](const QString& operation) { // on the office thread
            if (operation == QLatin1String(step) && !stopped) {
                stopped = true;
                ::kill(-real->processId(), SIGSTOP);
            }
        };
        qint64 longestGap = 0;
        QElapsedTimer sinceTick, sinceCancel;
        sinceTick.start();
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, sinceTick.restart());
            window.repaint();
            if (QWidget* note = OfficeWait::note(); note && !sinceCancel.isValid()) {
                sinceCancel.start();
                note->findChild<QPushButton*>(QStringLiteral("cancelOfficeButton"))->click();
            }
        });
        ticker.start(100);
        window.createInvitation();
        ticker.stop();
        ASSERT_TRUE(stopped && sinceCancel.isValid()) << "the note offered Cancel";
        EXPECT_LT(sinceCancel.elapsed(), 1000) << "Cancel ended the request";
        EXPECT_LT(longestGap, 1000) << "the window thread went on";
        EXPECT_EQ(prompts.reports(), QStringList());
        EXPECT_FALSE(window.previewWindowLoaded() && window.previewWindow().isVisible());
        EXPECT_EQ(temp.entries(), QStringList());

        watched.before = nullptr;
        window.createInvitation();
        EXPECT_EQ(prompts.reports(), QStringList());
        ASSERT_TRUE(window.previewWindowLoaded() && window.previewWindow().isVisible());
        window.previewWindow().back();
        EXPECT_EQ(temp.entries(), QStringList());
    }
}
