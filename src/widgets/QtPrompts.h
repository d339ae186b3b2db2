// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Prompts.h"

class QWidget;

// The real dialogs, made with Qt.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : mParent(parent) {}
    Answer message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override;
    QString saveFileName(const QString& title, const QString& filters, const QString& initialName,
                         QString& selectedFilter) override;
    bool setUpPrinter(QPrinter& printer) override;

private:
    QWidget* mParent;
};
