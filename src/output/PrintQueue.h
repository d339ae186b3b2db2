// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QProcess;

#include <chrono>
#include <utility>

// One printout as the print dialog set it up: the printer chosen, how many copies, the
// paper (its page-size name, "Letter", "A4", ...) and the job's title in the printer's queue.
struct PrintJob {
    QString printer;
    int copies = 1;
    QString paper;
    QString title;
};

// The printing system's queue, which takes a PDF file for a printer.
class PrintQueue {
public:
    virtual ~PrintQueue() = default;
    // Hands the file to the job's printer; the queue has its own copy once this returns.
    // Throws AppError when the printing system refuses it.
    virtual void submit(const PrintJob& job, const QString& pdfFile) = 0;
};

// The CUPS queue, reached through its "lp" command (package cups-client): the printer
// prints the PDF itself, text as text at its own resolution. The calling thread runs its
// events while lp works (lp only queues the job, which takes a moment when CUPS answers).
class CupsPrintQueue : public PrintQueue {
public:
    explicit CupsPrintQueue(QString program = QStringLiteral("lp"),
                            std::chrono::milliseconds timeout = std::chrono::seconds(15))
        : mProgram(std::move(program)), mTimeout(timeout) {}

    void submit(const PrintJob& job, const QString& pdfFile) override;

private:
    QString mProgram;
    std::chrono::milliseconds mTimeout;
};

// Whether the printing system answers: its scheduler is asked for its state ("lpstat -r")
// in a process of its own, while the calling thread runs its events, for at most the limit.
// False only when it does not answer in time (a hung CUPS, which would hang the print
// dialog in the CUPS library); no CUPS at all, or no lpstat, is no hang.
bool printSystemAnswers(const QString& program = QStringLiteral("lpstat"),
                        std::chrono::milliseconds limit = std::chrono::seconds(3));

// Runs the calling thread's events until the process has finished or the limit is over;
// true when it finished.
bool finishedWithin(QProcess& process, std::chrono::milliseconds limit);
