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
