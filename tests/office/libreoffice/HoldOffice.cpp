// Started by the engine tests as a program of its own: starts an office, prints its process
// id, then ends normally ("end") or waits to be killed ("wait"), or serves its office's
// share of sessions so that a successor starts in the background, and waits ("renew").
//   festoria-hold-office end|wait|renew
#include "office/libreoffice/LibreOffice.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool renew = argc > 1 && std::strcmp(argv[1], "renew") == 0;
    office::LibreOfficeOptions options;
    if (renew)
        options.sessionsPerOffice = 1;
    auto office = office::makeLibreOffice(options);
    office->startSession()->quit();
    std::printf("office %d\n", int(office->processId()));
    std::fflush(stdout);
    if (argc > 1 && (std::strcmp(argv[1], "wait") == 0 || renew))
        std::this_thread::sleep_for(std::chrono::seconds(120));
    return 0;
}
