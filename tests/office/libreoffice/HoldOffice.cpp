// Started by the engine tests as a program of its own: starts an office, prints its process
// id, then ends normally ("end") or waits to be killed ("wait").
//   festoria-hold-office end|wait
#include "office/libreoffice/LibreOffice.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    auto office = office::makeLibreOffice();
    office->createApplication()->quit();
    std::printf("office %d\n", int(office->processId()));
    std::fflush(stdout);
    if (argc > 1 && std::strcmp(argv[1], "wait") == 0)
        std::this_thread::sleep_for(std::chrono::seconds(120));
    return 0;
}
