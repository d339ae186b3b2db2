// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ScriptedPrompts.h"

#include <QPrinter>
#include <QRegularExpression>

Prompts::Answer ScriptedPrompts::message(const QString& text, const QString& caption, Icon icon,
                                         Buttons buttons) {
    shown.append({text, caption, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QString ScriptedPrompts::saveFileName(const QString& title, const QString& filters,
                                      const QString& initialName, QString& selectedFilter) {
    saveDialogs.append({title, filters, initialName, selectedFilter});
    const QString filter = saveFilters.isEmpty() ? QString() : saveFilters.takeFirst();
    if (!filter.isEmpty())
        selectedFilter = filter;
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}

bool ScriptedPrompts::setUpPrinter(QPrinter& printer) {
    ++printDialogs;
    const QString file = printFiles.isEmpty() ? QString() : printFiles.takeFirst();
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

QStringList ScriptedPrompts::reports() const {
    QStringList result;
    for (const Shown& s : shown)
        if (s.caption == QStringLiteral("Application Error"))
            result << s.text;
    return result;
}

QList<int> ScriptedPrompts::reportLines() const {
    static const QRegularExpression line(QStringLiteral("at line (\\d+)\\r\\r"));
    QList<int> result;
    for (const QString& text : reports()) {
        const auto match = line.match(text);
        result << (match.hasMatch() ? match.captured(1).toInt() : -1);
    }
    return result;
}
