// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <utility>

class QSettings;

// The per-user settings store: Quillmont.conf in the user's config folder, group
// [Festoria]. Every write reaches the disk before it returns; the file is replaced
// atomically, so a crash or a full disk leaves the previous file whole. Only a plain file
// (or a link to one) is used, and start-up never blocks on what is there: anything else, a
// file that cannot be read, and a file the store would misread or rewrite without some of its
// lines (text that is not UTF-8, NUL bytes, comments, lines that are no setting) is first set
// aside under a name of its own. Every setting that can be read in such a file is carried
// over: a line that is not UTF-8 is read as Latin-1, NUL bytes are left out, other lines
// are skipped.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();

    static QString filePath();

    // The stored text, or "" when the key is missing.
    QString read(const QString& key) const;
    // Stores the values together, in one write. False when they could not be stored (a
    // read-only file or folder, a full disk, a folder under the file's name), and from then
    // on for the rest of the run.
    bool write(const QList<std::pair<QString, QString>>& values);
    bool write(const QString& key, const QString& value);

    // Where the settings file was set aside at start-up ("" when it was not).
    QString setAsidePath() const { return mSetAside; }

private:
    void carryOver(const QString& text);

    std::unique_ptr<QSettings> mSettings;
    QString mSetAside;
};
