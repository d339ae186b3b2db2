// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up check against the real office and against office programs that are
// missing, crash at once or never answer.

#include "invitation/OfficeCheck.h"
#include "core/Files.h"
#include "core/Product.h"
#include "office/libreoffice/LibreOffice.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"
#include "support/office/OfficeDocuments.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Five pieces joined by blank lines, the number first; the advice is for the office this
// program needs on Linux, and names no Windows word processor.
void expectTheOfficeAdvice(const QString& text) {
    const QStringList pieces = text.split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(pieces.size(), 5) << text.toStdString();
    EXPECT_TRUE(pieces[0].startsWith(QStringLiteral("Error 842001. "))) << text.toStdString();
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(pieces[i].startsWith(QString::number(i) + QStringLiteral(". ")));
    for (const QString& piece : pieces)
        EXPECT_FALSE(piece.contains(QLatin1Char('\r')) || piece.contains(QLatin1Char('\n')));
    for (const char* needed :
         {"LibreOffice Writer", "libreoffice-writer", "soffice --headless --version"})
        EXPECT_TRUE(text.contains(QLatin1String(needed))) << needed;
    for (const char* wrong : {"Word ", "Microsoft", "DOCX", "double-click"})
        EXPECT_FALSE(text.contains(QLatin1String(wrong))) << wrong;
}

QString script(const QString& name, const QByteArray& body) {
    const QString path = qEnvironmentVariable("TEMP") + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

struct Outcome {
    ScriptedPrompts prompts;
    int ends = 0;
};

void check(office::Office& office, Outcome& outcome) {
    checkOfficeStarts(office, outcome.prompts, [&] { ++outcome.ends; });
}

void expectTheMessageAndTheEnd(const Outcome& outcome) {
    ASSERT_EQ(outcome.prompts.shown.size(), 1);
    const auto& shown = outcome.prompts.shown.front();
    expectTheOfficeAdvice(shown.text);
    EXPECT_EQ(shown.caption, applicationTitle());
    EXPECT_EQ(shown.icon, Prompts::Icon::None);
    EXPECT_EQ(shown.buttons, Prompts::Buttons::Ok);
    EXPECT_EQ(outcome.ends, 1);
}

} // namespace

TEST(checkOfficeStarts, PassesSilentlyWithAWorkingOffice) {
    auto office = office::makeLibreOffice();
    Outcome outcome;
    check(*office, outcome);
    EXPECT_TRUE(outcome.prompts.shown.isEmpty());
    EXPECT_EQ(outcome.ends, 0);
    // The session is over; the office stays for the program's next request.
    EXPECT_GT(office->processId(), 0);
}

TEST(checkOfficeStarts, ExplainsAndEndsWhenTheOfficeCannotStart) {
    {
        // Missing, named by the environment.
        ScopedVariable soffice("FESTORIA_SOFFICE", qgetenv("TEMP") + "/no-such-soffice");
        auto office = office::makeLibreOffice();
        Outcome outcome;
        check(*office, outcome);
        expectTheMessageAndTheEnd(outcome);
    }
    {
        // Missing from PATH.
        ScopedVariable path("PATH", qgetenv("TEMP"));
        auto office = office::makeLibreOffice();
        Outcome outcome;
        check(*office, outcome);
        expectTheMessageAndTheEnd(outcome);
    }
    {
        // Exits at once.
        office::LibreOfficeOptions options;
        options.program = script(QStringLiteral("crashing-soffice"), "exit 3");
        auto office = office::makeLibreOffice(options);
        Outcome outcome;
        const auto before = std::chrono::steady_clock::now();
        check(*office, outcome);
        EXPECT_LT(std::chrono::steady_clock::now() - before, 5s) << "a crash needs no waiting";
        expectTheMessageAndTheEnd(outcome);
    }
    {
        // Never answers; it is ended once the start gives up.
        const QString pidFile = qEnvironmentVariable("TEMP") + QStringLiteral("/hanging.pid");
        office::LibreOfficeOptions options;
        options.program = script(QStringLiteral("hanging-soffice"),
                                 "echo $$ > '" + pidFile.toUtf8() + "'\nexec sleep 300");
        options.startTimeout = 2s;
        auto office = office::makeLibreOffice(options);
        Outcome outcome;
        check(*office, outcome);
        expectTheMessageAndTheEnd(outcome);
        QFile f(pidFile);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const pid_t hanging = pid_t(f.readAll().trimmed().toInt());
        ASSERT_GT(hanging, 0);
        EXPECT_NE(::kill(hanging, 0), 0) << "the hanging office program must be ended";
    }
}

// A copy of the program that finds every office profile held by others is told so, not that
// the office is missing, and ends.
TEST(checkOfficeStarts, ACopyTooManyIsToldWhyAndNotToInstallTheOffice) {
    QList<int> held;
    for (int n = 1; n <= 8; ++n) {
        const QString lock = cacheFolder() +
                             (n == 1 ? QStringLiteral("/office-profile")
                                     : QStringLiteral("/office-profile-%1").arg(n)) +
                             QStringLiteral(".lock");
        QDir().mkpath(cacheFolder());
        const int fd =
            ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            held << fd;
        else
            ::close(fd); // held by an office of this test program already
    }
    auto office = office::makeLibreOffice();
    Outcome outcome;
    check(*office, outcome);
    for (const int fd : held)
        ::close(fd);
    ASSERT_EQ(outcome.prompts.shown.size(), 1);
    EXPECT_TRUE(outcome.prompts.shown[0].text.startsWith(
        QStringLiteral("Too many copies of the program are running")))
        << outcome.prompts.shown[0].text.toStdString();
    EXPECT_EQ(outcome.ends, 1);
}
