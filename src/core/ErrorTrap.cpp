// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ErrorTrap.h"

#include <new>

QString errorReportText(const QString& description, const QString& procedure, int line) {
    return description + QStringLiteral("\r\n") + procedure + QStringLiteral("at line ") +
           QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

QString describeException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        return e.description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ErrorTrap::report(const QString& description) {
    mPrompts.message(errorReportText(description, mProcedure, mLine),
                     QStringLiteral("Application Error"), Prompts::Icon::Warning,
                     Prompts::Buttons::Ok);
}
