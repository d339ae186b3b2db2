// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/AppError.h"
#include "core/Prompts.h"

#include <QString>
#include <exception>
#include <utility>

// The address the error report asks the user to write to.
inline const QString kSupportAddress = QStringLiteral("support@festoria.example");

// The text of the "Session Error" report.
QString errorReportText(const QString& description, const QString& procedure, int line);

// Describes any exception in readable words.
QString describeException(std::exception_ptr error);

// A handler's error trap. Each statement runs through operator() with its number; when it
// throws, the report is shown and the handler goes on with its next statement:
//
//     ErrorTrap trap(prompts, procedures::startUp);
//     trap(100, [&] { applySkin(); });
//
// Handlers use StepTrap below, which names each step.
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
        } catch (const OfficeCancelled&) {
            mCancelled = true;
            return false;
        } catch (...) {
            if (!mCancelled)
                report(describeException(std::current_exception()));
            return false;
        }
    }

    // Whether the user cancelled the office's work in a statement: from then on the
    // handler's failures follow from that and are not reported.
    bool cancelled() const { return mCancelled; }

private:
    void report(const QString& description);

    Prompts& mPrompts;
    QString mProcedure;
    int mLine = 0;
    bool mCancelled = false;
};

// An error trap over a handler's named steps: Step is an enum class whose values are the
// numbers the report prints, so a step is named in the code and numbered in the report.
//
//     enum class Step { StartSession = 106, OpenTemplate = 112 };
//     StepTrap<Step> trap(prompts, procedures::createInvitation);
//     trap(Step::StartSession, [&] { session = office.startSession(); });
template <typename Step> class StepTrap {
public:
    StepTrap(Prompts& prompts, QString procedure) : mTrap(prompts, std::move(procedure)) {}

    // Runs one step; returns false when it failed (and was reported).
    template <typename Statement> bool operator()(Step step, Statement&& statement) {
        return mTrap(static_cast<int>(step), std::forward<Statement>(statement));
    }
    bool cancelled() const { return mTrap.cancelled(); }

private:
    ErrorTrap mTrap;
};
