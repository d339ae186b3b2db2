// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Settings.h"

#include "core/AppError.h"
#include "core/Files.h"
#include "core/Product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStringDecoder>

#include <optional>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString configFolder() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

// What is found under the settings file's name.
enum class Found { Nothing, Folder, Ours, Unreadable, WithOtherLines };

// Reads a plain file (or one a link leads to) without ever blocking: a FIFO, socket or
// device under the name is never opened for real.
std::optional<QByteArray> readWithoutBlocking(const QString& path) {
    try {
        return readPlainFile(path, Links::Follow);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// Lines the store drops when it rewrites the file: comments, lines that are no setting, a
// setting given twice, a section without settings.
bool holdsLinesTheStoreDrops(const QString& text) {
    QSet<QString> keys;
    QString section;
    bool sectionEmpty = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (sectionEmpty)
                return true;
            section = line;
            sectionEmpty = true;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')) || equals < 0)
            return true;
        const QString key = section + QLatin1Char('\n') + line.left(equals).trimmed();
        if (keys.contains(key))
            return true;
        keys.insert(key);
        sectionEmpty = false;
    }
    return sectionEmpty;
}

// A settings file we cannot read, or could not rewrite without losing some of its lines, is
// kept under another name rather than overwritten.
Found whatIsThere(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Found::Nothing;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return Found::Folder; // nothing can be written there, nothing is lost
    const std::optional<QByteArray> bytes = readWithoutBlocking(path);
    if (!bytes)
        return Found::Unreadable;
    // Our files are UTF-8 text; anything else is not ours to rewrite.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(*bytes);
    if (bytes->contains('\0') || utf8.hasError())
        return Found::Unreadable;
    QSettings probe(path, QSettings::IniFormat);
    if (probe.status() != QSettings::NoError)
        return Found::Unreadable;
    return holdsLinesTheStoreDrops(text) ? Found::WithOtherLines : Found::Ours;
}

// Moves the file (or the link itself, leaving what it leads to alone) to a name of its own
// that no other set-aside file has. Returns that name, or "" when it could not be moved.
QString setAside(const QString& path) {
    const QString base = path + QStringLiteral(".unreadable-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QByteArray from = QFile::encodeName(path);
    for (int n = 1; n <= 1000; ++n) {
        const QString aside = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(aside).constData(),
                        RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST)
            return QString();
    }
    return QString();
}
} // namespace

QString SettingsStore::filePath() {
    return configFolder() + QStringLiteral("/Quillmont.conf");
}

SettingsStore::SettingsStore() {
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const Found found = whatIsThere(path);
    if (found == Found::Unreadable || found == Found::WithOtherLines)
        mSetAside = setAside(path);
    mSettings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    mSettings->setAtomicSyncRequired(true);
    // The settings of a file kept for its other lines stay the program's settings.
    if (found == Found::WithOtherLines && !mSetAside.isEmpty()) {
        const QSettings kept(mSetAside, QSettings::IniFormat);
        for (const QString& key : kept.allKeys())
            mSettings->setValue(key, kept.value(key));
        mSettings->sync();
    }
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString& key) const {
    return mSettings->value(kProductName + QLatin1Char('/') + key).toString();
}

void SettingsStore::write(const QString& key, const QString& value) {
    mSettings->setValue(kProductName + QLatin1Char('/') + key, value);
    mSettings->sync();
}
