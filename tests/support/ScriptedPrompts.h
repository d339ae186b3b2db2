// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Prompts that answer from a script and record every dialog shown.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    Answer message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override;
    QString saveFileName(const QString& title, const QString& filters, const QString& initialName,
                         QString& selectedFilter) override;
    bool setUpPrinter(QPrinter& printer) override;

    // Answers for Yes/No questions, in order; No when the list is used up.
    QList<Answer> answers;
    // Names the save dialog returns, in order; "" (cancel) when the list is used up.
    QStringList saveNames;
    // Filters the user selects before closing the save dialog, in order; the dialog's own
    // selection stays when the list is used up (or the entry is "").
    QStringList saveFilters;
    // PDF files the print dialog sends the printout to, in order; "" or a used-up list
    // cancels the dialog.
    QStringList printFiles;
    int printDialogs = 0;

    QList<Shown> shown;
    struct SaveDialog {
        QString title, filter, initialName, selectedFilter;
    };
    QList<SaveDialog> saveDialogs;

    // The application error reports among the dialogs shown.
    QStringList reports() const;
    // The statement numbers of the error reports, in order.
    QList<int> reportLines() const;
    void clear() {
        shown.clear();
        saveDialogs.clear();
    }
};
