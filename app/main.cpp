#include "Form1.h"
#include "Prompts.h"
#include "Settings.h"

#include <QApplication>

// Placeholder wiring until the office engine lands: start-up, the main window, the loop.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
