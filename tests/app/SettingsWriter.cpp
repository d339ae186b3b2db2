// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes keys through the settings store, one sync each, as a running program does:
//   festoria-settings-writer <key prefix> <count>
#include "app/Settings.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString prefix = QString::fromLocal8Bit(argv[1]);
    const int count = QByteArray(argv[2]).toInt();
    SettingsStore store;
    for (int i = 0; i < count; ++i)
        store.write(prefix + QString::number(i),
                    QStringLiteral("value %1 of %2").arg(i).arg(prefix));
    return 0;
}
