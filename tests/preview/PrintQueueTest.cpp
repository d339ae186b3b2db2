// The CUPS queue's side of printing, with a stand-in for "lp": what it is told, and how each
// way it can fail reaches the user. (The office's side: OfficeSaveTest.)
#include "core/AppError.h"
#include "preview/PrintQueue.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// An executable shell script in the folder.
QString script(const QTemporaryDir& folder, const QByteArray& body) {
    const QString path = folder.filePath(QStringLiteral("lp"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}
} // namespace

TEST(CupsPrintQueue, TellsLpThePrinterCopiesPaperAndTitleAndReportsWhatGoesWrong) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("printout.pdf"));
    const QString said = folder.filePath(QStringLiteral("said"));
    const struct {
        const char* name;
        QByteArray body; // "" : no program at all
        PrintJob job;
        const char* error; // "" : printed
    } cases[] = {
        {"printed", "printf '%s\\n' \"$@\" > '" + said.toUtf8() + "'\n",
         {QStringLiteral("Office-Laser"), 3, QStringLiteral("A4"), QStringLiteral("qorvel1")}, ""},
        {"refused", "echo 'lp: The printer or class does not exist.' >&2\nexit 1\n",
         {QStringLiteral("Gone"), 1, QString(), QString()},
         "The printer 'Gone' did not take the invitation: lp: The printer or class does not "
         "exist."},
        {"silent", "exit 2\n", {QStringLiteral("P"), 1, QString(), QString()},
         "The printer 'P' did not take the invitation: the print command failed."},
        {"hung", "exec sleep 20\n", {QStringLiteral("P"), 1, QString(), QString()},
         "The printing system did not answer within 0.3 seconds; nothing was printed."},
        {"missing", "", {QStringLiteral("P"), 1, QString(), QString()},
         "could not be started (is the package cups-client installed?)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString program = c.body.isEmpty() ? folder.filePath(QStringLiteral("no-lp"))
                                                 : script(folder, c.body);
        // A short wait only where the answer never comes: a busy machine starts a shell slowly.
        const bool hangs = c.body.contains("sleep");
        CupsPrintQueue queue(program, std::chrono::milliseconds(hangs ? 300 : 30000));
        QString error;
        try {
            queue.submit(c.job, pdf);
        } catch (const AppError& e) {
            error = e.description();
        }
        const QString expected = QString::fromUtf8(c.error);
        EXPECT_TRUE(expected.isEmpty() ? error.isEmpty() : error.endsWith(expected))
            << error.toStdString();
    }
    QFile args(said);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()).split(u'\n', Qt::SkipEmptyParts),
              (QStringList{"-d", "Office-Laser", "-n", "3", "-t", "qorvel1", "-o", "media=A4",
                           pdf}));
}
