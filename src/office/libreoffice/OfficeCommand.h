// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How an office is started: its pipe's name, its command line and its environment.

#include <QByteArray>
#include <QList>
#include <QString>

namespace office {

// A pipe name no other office uses; it carries the program's process id, so that the pipes
// of programs no longer running can be told apart, and 128 random bits.
QString newPipeName();
// The office program's arguments: headless, nothing restored, accepting on the pipe.
QList<QByteArray> officeArguments(const QString& program, const QString& pipeName);
// The program's environment, changed where the office needs it to be: its temporary folder,
// its profile (a file URL), its locale, its heap and its fonts.
QList<QByteArray> officeEnvironment(const QByteArray& officeTemp, const QString& profileUrl);

} // namespace office
