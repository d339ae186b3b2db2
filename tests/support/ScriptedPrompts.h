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
    QString saveFileName(const QString& title, const QString& filter,
                         const QString& initialName) override;

    // Answers for Yes/No questions, in order; No when the list is used up.
    QList<Answer> answers;
    // Names the save dialog returns, in order; "" (cancel) when the list is used up.
    QStringList saveNames;

    QList<Shown> shown;
    struct SaveDialog {
        QString title, filter, initialName;
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
