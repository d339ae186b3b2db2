// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QPrinter;

// Every modal dialog of the program goes through this interface, so tests can answer them.
class Prompts {
public:
    enum class Icon { None, Warning };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok = 1, Yes = 6, No = 7 };

    virtual ~Prompts() = default;

    virtual Answer message(const QString& text, const QString& caption, Icon icon,
                           Buttons buttons) = 0;

    // The save-file dialog; returns the chosen name exactly as given, or "" when cancelled.
    // filters lists the dialog's filters separated by ";;"; selectedFilter names the one
    // selected when the dialog opens and receives the one selected when it closes.
    virtual QString saveFileName(const QString& title, const QString& filters,
                                 const QString& initialName, QString& selectedFilter) = 0;

    // The print dialog: sets the printer up as the user chooses. False when cancelled.
    virtual bool setUpPrinter(QPrinter& printer) = 0;
};
