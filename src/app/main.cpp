// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "core/Memory.h"
#include "office/libreoffice/LibreOffice.h"
#include "output/Outbox.h"
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <cstdlib>

namespace {
void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Turns party details into a finished invitation: a Word document "
                       "filled through LibreOffice, previewed, saved as .doc, .pdf, .docx "
                       "or .odt, printed, and sent by email."));
    parser.addHelpOption();
    parser.addVersionOption();
}

void name() {
    QCoreApplication::setApplicationName(QStringLiteral("Festoria"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmont"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FESTORIA_VERSION));
}

// --help and --version answer before anything else: no display is needed, and neither the
// office nor a window starts. Qt's own options (-platform, -display, ...) are left to
// QApplication.
void answerHelpAndVersion(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    name();
    QCommandLineParser parser;
    describe(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(QCoreApplication::arguments()); // prints Qt's options too, and exits
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}
} // namespace

int main(int argc, char** argv) {
    keepLargeBlocksInHeap();
    answerHelpAndVersion(argc, argv);
    QApplication app(argc, argv);
    name();
    // What is left once Qt has taken its own options must be nothing the program reads.
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "festoria: unexpected argument '%s'\n%s",
                     qPrintable(parser.positionalArguments().constFirst()),
                     qPrintable(QStringLiteral("Try 'festoria --help' for more information.\n")));
        return 1;
    }
    QApplication::setQuitOnLastWindowClosed(false); // closing a window ends the program itself
    // Invitations sent by email are kept a week for the mail program to read.
    removeOutboxFoldersBefore(QDateTime::currentDateTime().addDays(-kOutboxKeepDays));

    // The office lives as long as the program; its destructor ends the office process.
    const auto office = office::makeLibreOffice();
    QtPrompts prompts;
    SettingsStore settings;
    // Without an office the program cannot do anything: start-up ends the office and the
    // program at once.
    MainWindow window(
        prompts, *office, settings,
        [&office] {
            try {
                office->shutdown();
            } catch (...) {
                // The program ends at once either way; the office goes with it.
            }
            std::fflush(nullptr);
            std::_Exit(0);
        },
        QCoreApplication::applicationDirPath());
    window.startUp();
    window.show();
    return app.exec();
}
