#include "Form1.h"
#include "LibreOffice.h"
#include "Prompts.h"
#include "Settings.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festoria"));
    QApplication::setOrganizationName(QStringLiteral("Quillmont"));
    QApplication::setQuitOnLastWindowClosed(false); // closing a window ends the program itself

    // The office lives as long as the program; its destructor ends the office process.
    const auto office = office::makeLibreOffice();
    QtPrompts prompts;
    SettingsStore settings;
    Form1 form(prompts, *office, settings);
    form.Form_Load();
    form.show();
    return app.exec();
}
