// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Settings.h"
#include "support/QtPrinting.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

// Two instances of the program storing their fields at the same moment: neither loses the
// other's values and the file stays whole.
TEST(Settings, TwoProgramsWritingAtOnceKeepEveryValue) {
    QFile::remove(SettingsStore::filePath());
    const QString writer = QCoreApplication::applicationDirPath() + "/festoria-settings-writer";
    const int count = 150;
    QProcess a, b;
    a.start(writer, {"first", QString::number(count)});
    b.start(writer, {"second", QString::number(count)});
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    ASSERT_EQ(a.exitCode(), 0);
    ASSERT_EQ(b.exitCode(), 0);

    SettingsStore store;
    EXPECT_TRUE(store.setAsidePath().isEmpty()) << "the file reads as a whole";
    for (const QString prefix : {"first", "second"})
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(store.read(prefix + QString::number(i)),
                      QStringLiteral("value %1 of %2").arg(i).arg(prefix));
}
