#include "app/Form1.h"
#include "app/Settings.h"
#include "office/libreoffice/LibreOffice.h"
#include "widgets/QtPrompts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festoria"));
    QApplication::setOrganizationName(QStringLiteral("Quillmont"));
    QApplication::setQuitOnLastWindowClosed(false); // closing a window ends the program itself

    // The office lives as long as the program; its destructor ends the office process.
    const auto office = office::makeLibreOffice();
    QtPrompts prompts;
    SettingsStore settings;
    // Without an office the program cannot do anything: start-up ends the office and the
    // program at once.
    Form1 form(prompts, *office, settings, [&office] {
        try {
            office->shutdown();
        } catch (...) {
        }
        std::fflush(nullptr);
        std::_Exit(0);
    }, QCoreApplication::applicationDirPath());
    form.Form_Load();
    form.show();
    return app.exec();
}
