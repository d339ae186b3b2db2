#include "IsInstalled.h"

#include "LibreOffice.h"
#include "Office.h"
#include "Product.h"
#include "Prompts.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// Ends the program at once: the office (if one is ours) is ended first, then the process
// exits without running any window's closing handling.
[[noreturn]] void endAtOnce(office::Office& office) {
    if (auto* libreOffice = dynamic_cast<office::LibreOffice*>(&office)) {
        try {
            libreOffice->shutdown();
        } catch (...) {
        }
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace

QString officeMissingMessage() {
    return QStringList{
        QStringLiteral("Error 842001. A normal instance of Word could not be created."),
        QStringLiteral("1. Please make sure Word is installed on this computer."),
        QStringLiteral("2. Please open Word normally and make sure a blank document opens immediately "
                       "without any interrupting window (such as an Word file recovery window)."),
        QStringLiteral("3. Please make sure that when you double-click on a DOC or DOCX file that Word "
                       "opens normally without any interrupting messages."),
        QStringLiteral("4. All versions of Word are supported by this software except for the rare Word "
                       "Starter and Student editions."),
    }
        .join(QStringLiteral("\r\n\r\n"));
}

void CheckWordInstalled(office::Office& office, Prompts& prompts, const std::function<void()>& endProgram) {
    std::unique_ptr<office::Application> word;
    try {
        word = office.createApplication();
    } catch (...) {
        word.reset();
    }
    if (word) {
        try {
            word->quit();
        } catch (...) {
        }
        word.reset();
        return;
    }
    try {
        prompts.message(officeMissingMessage(), applicationTitle(), Prompts::Icon::None, Prompts::Buttons::Ok);
    } catch (...) {
    }
    if (endProgram)
        endProgram();
    else
        endAtOnce(office);
}
