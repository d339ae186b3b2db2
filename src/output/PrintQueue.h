// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

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
// prints the PDF itself, text as text at its own resolution.
class CupsPrintQueue : public PrintQueue {
public:
    explicit CupsPrintQueue(QString program = QStringLiteral("lp"),
                            std::chrono::milliseconds timeout = std::chrono::seconds(60))
        : mProgram(std::move(program)), mTimeout(timeout) {}

    void submit(const PrintJob& job, const QString& pdfFile) override;

private:
    QString mProgram;
    std::chrono::milliseconds mTimeout;
};
