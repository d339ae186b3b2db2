// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>

class QSettings;

// The per-user settings store: Quillmont.conf in the user's config folder, group
// [Festoria]. Every write reaches the disk before it returns; the file is replaced
// atomically, so a crash or a full disk leaves the previous file whole. Only a plain file
// (or a link to one) is used, and start-up never blocks on what is there: anything else,
// a file that cannot be read, and a file with lines a rewrite would drop (comments, lines
// that are no setting) is first set aside under a name of its own; the settings of the
// last kind are carried over.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();

    static QString filePath();

    // The stored text, or "" when the key is missing.
    QString read(const QString& key) const;
    void write(const QString& key, const QString& value);

    // Where the settings file was set aside at start-up ("" when it was not).
    QString setAsidePath() const { return mSetAside; }

private:
    std::unique_ptr<QSettings> mSettings;
    QString mSetAside;
};
