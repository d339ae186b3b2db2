// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <stdexcept>

// An error with a readable description, as the error report shows it.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& description)
        : std::runtime_error(description.toStdString()), mDescription(description) {}
    QString description() const { return mDescription; }

private:
    QString mDescription;
};

// A folder or file of the program's own cannot be used (too many copies hold the office's
// profiles, a folder nothing can stand in for): the office is not to blame, and the
// description names what and why.
class OwnFilesError : public AppError {
public:
    using AppError::AppError;
};

// The user cancelled the office's work: the handler ends quietly, without a report.
class OfficeCancelled : public AppError {
public:
    OfficeCancelled() : AppError(QStringLiteral("The office's work was cancelled.")) {}
};

// Using an object that an earlier, failed statement never set. The description names what
// is missing: "No office session: an earlier step failed."
class ObjectNotSet : public AppError {
public:
    explicit ObjectNotSet(const QString& missing)
        : AppError(missing + QStringLiteral(": an earlier step failed.")) {}
};

// Dereferences a pointer-like object, throwing ObjectNotSet when it is empty, so that a
// failed step makes every later step on the same object fail with its own report.
template <typename Ptr> auto& object(Ptr& p, const QString& missing) {
    if (!p)
        throw ObjectNotSet(missing);
    return *p;
}

// What object() reports missing.
inline const QString kNoSession = QStringLiteral("No office session");
inline const QString kNoDocument = QStringLiteral("No open document");
