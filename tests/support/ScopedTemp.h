// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Environment variables for one scope: put back as they were (set, empty or unset) when the
// scope ends, also when a failed assertion ends the test early.

#include <QDir>
#include <QTemporaryDir>

#include <optional>

class ScopedVariable {
public:
    explicit ScopedVariable(const char* name) : mName(name) {
        if (qEnvironmentVariableIsSet(name))
            mSaved = qgetenv(name);
    }
    ScopedVariable(const char* name, const QByteArray& value) : ScopedVariable(name) { set(value); }
    ~ScopedVariable() { mSaved ? qputenv(mName, *mSaved) : qunsetenv(mName); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    void set(const QByteArray& value) { qputenv(mName, value); }
    void unset() { qunsetenv(mName); }

private:
    const char* mName;
    std::optional<QByteArray> mSaved;
};

// TEMP at a fresh private folder for one scope.
class ScopedTemp : public ScopedVariable {
public:
    ScopedTemp() : ScopedVariable("TEMP") { set(QFile::encodeName(mDir.path())); }
    QString path() const { return mDir.path(); }
    QString file(const QString& name) const { return mDir.filePath(name); }
    // Everything in the folder, hidden entries too, by name.
    QStringList entries() const {
        return QDir(mDir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

private:
    QTemporaryDir mDir;
};
