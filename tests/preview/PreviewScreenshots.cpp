// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the preview window with an invitation-like picture and saves what it looks like at
// 100 % and 150 % as PNG files in the folder given on the command line.
// With --screen FILE it instead saves the whole screen (to look at the running program).
#include "preview/PreviewFixtures.h"
#include "preview/PreviewWindow.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--screen") {
        const bool ok =
            QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]));
        return ok ? 0 : 1;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    ScriptedPrompts prompts;
    QWidget mainWindow;
    FakeOffice office;
    PreviewWindow window(prompts, office, &mainWindow, QCoreApplication::applicationDirPath(),
                         [] {});
    window.setPicture(invitationPicture());
    window.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    const auto save = [&](const QString& name) {
        QApplication::processEvents();
        const QString path = folder + QLatin1Char('/') + name;
        const bool ok = window.grab().save(path);
        std::printf("%s %s (zoom %.2f, dpr %.2f)\n", ok ? "saved" : "FAILED", qPrintable(path),
                    window.zoomModel().zoom(), window.devicePixelRatioF());
    };
    save(QStringLiteral("preview-100.png"));
    auto* zoomIn = window.findChild<QPushButton*>(QStringLiteral("zoomInButton"));
    zoomIn->click();
    zoomIn->click();
    save(QStringLiteral("preview-150.png"));
    return prompts.reports().isEmpty() ? 0 : 1;
}
