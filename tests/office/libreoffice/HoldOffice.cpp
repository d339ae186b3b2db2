// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Started by the engine tests as a program of its own: starts an office, prints its process
// id, then ends normally ("end") or waits to be killed ("wait"), or serves its office's
// share of sessions so that a successor starts in the background, and waits ("renew"), or
// does that with its office in static storage and ends as soon as it reads a line
// ("end-while-renewing": the program ends while the successor may still be starting).
//   festoria-hold-office end|wait|renew|end-while-renewing
#include "office/libreoffice/LibreOffice.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {
office::LibreOffice& staticOffice(const office::LibreOfficeOptions& options) {
    static const std::unique_ptr<office::LibreOffice> office = office::makeLibreOffice(options);
    return *office;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool inStaticStorage = mode == "end-while-renewing";
    office::LibreOfficeOptions options;
    if (mode == "renew" || inStaticStorage)
        options.sessionsPerOffice = 1;
    std::unique_ptr<office::LibreOffice> local;
    if (!inStaticStorage)
        local = office::makeLibreOffice(options);
    office::LibreOffice& office = inStaticStorage ? staticOffice(options) : *local;
    office.startSession()->quit();
    std::printf("office %d\n", int(office.processId()));
    std::fflush(stdout);
    if (inStaticStorage) {
        char line[8];
        return std::fgets(line, sizeof line, stdin) ? 0 : 1;
    }
    if (mode == "wait" || mode == "renew")
        std::this_thread::sleep_for(std::chrono::seconds(120));
    return 0;
}
