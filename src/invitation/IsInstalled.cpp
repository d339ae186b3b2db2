#include "invitation/IsInstalled.h"

#include "core/Product.h"
#include "core/Prompts.h"
#include "office/Office.h"

#include <QStringList>


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

void CheckWordInstalled(office::Office& office, Prompts& prompts,
                        const std::function<void()>& endAtOnce) {
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
    if (endAtOnce)
        endAtOnce();
}
