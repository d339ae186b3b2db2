// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A run that notes a file and ends on signals as the program does, but whose orderly end never
// comes (its event loop does not run): only the at-once path can end it.
//   festoria-signal-child <file to note>
#include "app/EndOnSignal.h"
#include "core/RunFiles.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    runFiles::note(QString::fromLocal8Bit(argv[1]));
    const EndOnSignal endOnSignal([] {});
    std::puts("ready");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
