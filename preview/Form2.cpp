#include "Form2.h"

Form2::Form2(Prompts& prompts, QWidget* mainWindow)
    : QWidget(nullptr), mPrompts(prompts), mMainWindow(mainWindow) {
    setWindowTitle(QStringLiteral("Festoria"));
}
