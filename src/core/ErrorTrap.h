#pragma once

#include "core/AppError.h"
#include "core/Prompts.h"

#include <QString>
#include <exception>
#include <utility>

// The address the error report asks the user to write to.
inline const QString kSupportAddress = QStringLiteral("support@festoria.example");

// The text of the "Application Error" report.
QString errorReportText(const QString& description, const QString& procedure, int line);

// Describes any exception in readable words.
QString describeException(std::exception_ptr error);

// A handler's error trap. Each statement runs through operator() with its number; when it
// throws, the report is shown and the handler goes on with its next statement:
//
//     ErrorTrap trap(prompts, "in Festoria2021/08/31.Form1.Form_Load ");
//     trap(100, [&] { ApplySkin(); });
class ErrorTrap {
public:
    ErrorTrap(Prompts& prompts, QString procedure)
        : mPrompts(prompts), mProcedure(std::move(procedure)) {}

    // Runs one statement; returns false when it failed (and was reported).
    template <typename Statement> bool operator()(int line, Statement&& statement) {
        mLine = line;
        try {
            statement();
            return true;
        } catch (...) {
            report(describeException(std::current_exception()));
            return false;
        }
    }

private:
    void report(const QString& description);

    Prompts& mPrompts;
    QString mProcedure;
    int mLine = 0;
};
