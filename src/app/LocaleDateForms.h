// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocale>
#include <QString>

#include <vector>

// The form a stored date and time has under one of the locales Qt knows: its general date and
// time patterns, and every character a text in that form can be made of (its digits, month
// names, day-period words and separators).
struct LocaleDateForm {
    QLocale locale;
    QString dateFormat;
    QString timeFormat;
    QString characters; // sorted

    // Whether text could have been written in this form: a cheap test that spares parsing it.
    bool couldHaveWritten(const QString& text) const;
};

// The forms of every locale Qt knows, each distinct form once, in Qt's order of the locales.
// Built on first use (a few milliseconds) and kept for the run.
const std::vector<LocaleDateForm>& localeDateForms();
