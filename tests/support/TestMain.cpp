// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every test program runs in a private home: its own config, cache and temporary folders,
// so tests never touch the user's settings or each other's files.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/festoria-test-XXXXXX"));
    if (!qEnvironmentVariableIsSet("FESTORIA_TEST_KEEP_HOME")) {
        const QString path = home.path();
        QDir().mkpath(path + QStringLiteral("/config"));
        QDir().mkpath(path + QStringLiteral("/cache"));
        QDir().mkpath(path + QStringLiteral("/temp"));
        // Private whatever the umask: the program would work in a folder of its own inside a
        // folder that others may write to.
        QFile::setPermissions(path + QStringLiteral("/temp"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("HOME", path.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (path + QStringLiteral("/config")).toLocal8Bit());
        if (!qEnvironmentVariableIsSet("FESTORIA_TEST_CACHE"))
            qputenv("XDG_CACHE_HOME", (path + QStringLiteral("/cache")).toLocal8Bit());
        else
            qputenv("XDG_CACHE_HOME", qgetenv("FESTORIA_TEST_CACHE"));
        qputenv("TEMP", (path + QStringLiteral("/temp")).toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
