#pragma once

#include <QString>

#include <memory>

class QSettings;

// The per-user settings store: Quillmont.conf in the user's config folder, group
// [Festoria]. Every write reaches the disk before it returns; the file is replaced
// atomically, so a crash or a full disk leaves the previous file whole.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();

    static QString filePath();

    // The stored text, or "" when the key is missing.
    QString read(const QString& key) const;
    void write(const QString& key, const QString& value);

    // Where an unreadable settings file was moved aside at start-up ("" when none was).
    QString setAsidePath() const { return mSetAside; }

private:
    std::unique_ptr<QSettings> mSettings;
    QString mSetAside;
};
