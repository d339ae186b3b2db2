// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/EndOnSignal.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/ThreadedOffice.h"
#include "app/Translations.h"
#include "core/Memory.h"
#include "core/RunFiles.h"
#include "invitation/Template.h"
#include "office/libreoffice/LibreOffice.h"
#include "output/Outbox.h"
#include "widgets/QtPrompts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Turns party details into a finished invitation: a "
                                            "Word document filled through LibreOffice, "
                                            "previewed, saved as .doc, .pdf, .docx or .odt, "
                                            "added to a calendar as an .ics event, printed, and "
                                            "sent by email with its calendar event."));
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
// The help's usage line names the command users type, not the path the launcher ran.
void answerHelpAndVersion(int argc, char** argv) {
    static char command[] = "festoria";
    std::vector<char*> arguments(argv, argv + argc + 1); // with the closing null
    if (argc > 0)
        arguments[0] = command;
    QCoreApplication core(argc, arguments.data());
    name();
    installTranslations(QLocale::system());
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
    // The window speaks the user's language where the program has a translation for it.
    installTranslations(QLocale::system());
    // What is left once Qt has taken its own options must be nothing the program reads.
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "festoria: %s\n%s\n",
                     qPrintable(QCoreApplication::translate("main", "unexpected argument '%1'")
                                    .arg(parser.positionalArguments().constFirst())),
                     qPrintable(QCoreApplication::translate(
                         "main", "Try 'festoria --help' for more information.")));
        return 1;
    }
    QApplication::setQuitOnLastWindowClosed(false); // closing a window ends the program itself
    // Invitations sent by email are kept a week for the mail program to read.
    removeOutboxFoldersBefore(QDateTime::currentDateTime().addDays(-kOutboxKeepDays));
    // Documents and pictures of runs that were killed (this user's, no longer running).
    runFiles::removeLeftByEndedRuns();
    // Ended from outside, the program ends as when its window is closed.
    bool ended = false;
    const EndOnSignal endOnSignal([&ended] {
        ended = true;
        QCoreApplication::exit(0);
    });

    // The office lives as long as the program; its destructor ends the office process. It
    // opens the template ahead of each request while the user reads or types.
    office::LibreOfficeOptions officeOptions;
    officeOptions.templateAhead = loadTemplateResource();
    const auto office = office::makeLibreOffice(officeOptions);
    // The windows reach it through an office thread of their own, so that they keep painting
    // however long the office takes (the office thread is the one that holds the engine).
    ThreadedOffice threadedOffice(*office, [&office] { return office->officeEnder(); });
    QtPrompts prompts;
    SettingsStore settings;
    // Without an office the program cannot do anything: start-up ends the office and the
    // program at once.
    MainWindow window(
        prompts, threadedOffice, settings,
        [&office, &threadedOffice] {
            try {
                threadedOffice.run([&office] { office->shutdown(); });
            } catch (...) {
                // The program ends at once either way; the office goes with it.
            }
            std::fflush(nullptr);
            std::_Exit(0);
        },
        QCoreApplication::applicationDirPath());
    window.startUp();
    if (ended) // while starting up, before there was a loop to end
        return 0;
    window.show();
    return app.exec();
}
