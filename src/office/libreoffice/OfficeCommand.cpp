// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How an office is started.

#include "office/libreoffice/OfficeCommand.h"

#include "core/Memory.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <unistd.h>

namespace office {

QString newPipeName() {
    quint64 bits[2];
    QRandomGenerator::system()->fillRange(bits);
    return QStringLiteral("festoria-%1-%2%3")
        .arg(::getpid())
        .arg(bits[0], 16, 16, QLatin1Char('0'))
        .arg(bits[1], 16, 16, QLatin1Char('0'));
}

QList<QByteArray> officeArguments(const QString& program, const QString& pipeName) {
    return {
        QFile::encodeName(program),
        "--headless",
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        QByteArrayLiteral("--accept=pipe,name=") + pipeName.toUtf8() +
            QByteArrayLiteral(";urp;StarOffice.ComponentContext"),
    };
}

QList<QByteArray> officeEnvironment(const QByteArray& officeTemp, const QString& profileUrl) {
    QList<QByteArray> environment;
    for (char** e = environ; *e; ++e)
        environment << QByteArray(*e);
    // The office keeps its own temporary files in a private folder beside its profile, not
    // in the user's TEMP, where the program's request must leave nothing but its document.
    // The office turns file URLs into paths in its locale's character set: under "C" or a
    // locale that is not installed, a folder with non-ASCII letters cannot be opened. The
    // program's own names are UTF-8, so the office runs in a UTF-8 locale whatever the user's.
    environment.removeIf([](const QByteArray& entry) {
        return entry.startsWith("TMPDIR=") || entry.startsWith("TEMP=") ||
               entry.startsWith("TMP=") || entry.startsWith("LC_ALL=") ||
               entry.startsWith("UserInstallation=");
    });
    for (const char* name : {"TMPDIR=", "TEMP=", "TMP="})
        environment << QByteArray(name) + officeTemp;
    // The profile goes here, not on the command line, which every user can read (see
    // Profile.cpp for why its name must stay unknown to them).
    environment << QByteArrayLiteral("UserInstallation=") + profileUrl.toUtf8();
    environment << QByteArrayLiteral("LC_ALL=C.UTF-8");
    // The office reuses its picture buffers (see core/Memory.h): a third of a picture's
    // time went into faulting in fresh ones. A setting of the user's own stands.
    for (const QByteArray& setting : largeBlockEnvironment()) {
        const QByteArray name = setting.left(setting.indexOf('=') + 1);
        if (std::none_of(environment.cbegin(), environment.cend(),
                         [&](const QByteArray& entry) { return entry.startsWith(name); }))
            environment << setting;
    }
    // The invitation's Book Antiqua is drawn with a Palatino-style face through the font
    // configuration beside the program (the system's, plus that alias).
    if (!qEnvironmentVariableIsSet("FONTCONFIG_FILE")) {
        const QString fonts =
            QCoreApplication::applicationDirPath() + QStringLiteral("/fonts/fonts.conf");
        if (QFileInfo(fonts).isFile())
            environment << QByteArrayLiteral("FONTCONFIG_FILE=") + QFile::encodeName(fonts);
    }
    return environment;
}

} // namespace office
