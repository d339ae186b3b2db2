// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A desktop of the test's own for xdg-email, put back when the object goes: private XDG
// folders, the generic desktop and no browser, so that no mail program of the machine is
// reached; a display name when there is none (xdg-open looks for a mailto: handler only on a
// display). The stand-in mail program, when asked for, is the mailto: handler and records
// the address it is run with.

#include "support/ScopedTemp.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <list>

class MailDesktop {
public:
    explicit MailDesktop(bool standInMailProgram) {
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
            QDir().mkpath(mDir.filePath(QString::fromLatin1(name)));
            mSet.emplace_back(name, QFile::encodeName(mDir.filePath(QString::fromLatin1(name))));
        }
        mSet.emplace_back("XDG_CURRENT_DESKTOP", "X-Generic");
        mSet.emplace_back("BROWSER", "false");
        mSet.emplace_back("MAILER").unset(); // it would be run instead of any handler
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            mSet.emplace_back("DISPLAY", ":festoria-test");
        if (standInMailProgram)
            addStandIn();
    }

    // The mailto: address the stand-in was run with; "" when it was not run within 30 s.
    QString waitForMailto() const {
        QFile to(mDir.filePath(QStringLiteral("stand-in-mail.to")));
        if (!QTest::qWaitFor([&] { return to.exists(); }, 30000))
            return QString();
        return to.open(QIODevice::ReadOnly) ? QString::fromUtf8(to.readAll()) : QString();
    }

private:
    void addStandIn() {
        const QString script = mDir.filePath(QStringLiteral("stand-in-mail"));
        write(script, "#!/bin/sh\nprintf %s \"$1\" >\"$0.part\" && mv \"$0.part\" \"$0.to\"\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
        write(mDir.filePath(QStringLiteral("XDG_DATA_HOME/applications/stand-in-mail.desktop")),
              "[Desktop Entry]\nType=Application\nName=Stand-in\nExec=" + script.toUtf8() +
                  " %u\nMimeType=x-scheme-handler/mailto;\n");
        write(mDir.filePath(QStringLiteral("XDG_CONFIG_HOME/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/mailto=stand-in-mail.desktop\n");
    }
    void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            << path.toStdString();
    }

    QTemporaryDir mDir;
    std::list<ScopedVariable> mSet;
};
