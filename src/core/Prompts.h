#pragma once

#include <QString>

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
    virtual QString saveFileName(const QString& title, const QString& filter,
                                 const QString& initialName) = 0;
};
