#pragma once

#include "core/Prompts.h"

class QWidget;

// The real dialogs, made with Qt.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : mParent(parent) {}
    Answer message(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons) override;
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& initialName) override;

private:
    QWidget* mParent;
};
