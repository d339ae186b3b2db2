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
#include <QTemporaryFile>

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
enum class Found { Nothing, Folder, Ours, Unreadable, Damaged };

// Reads a plain file (or one a link leads to) without ever blocking: a FIFO, socket or
// device under the name is never opened for real.
std::optional<QByteArray> readWithoutBlocking(const QString& path) {
    try {
        return readPlainFile(path, Links::Follow);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

// Whether a setting's quotes are closed: the store quotes some values, and a quote left open
// would take every later line into the value.
bool quotesClosed(const QString& line) {
    bool open = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('\\'))
            ++i;
        else if (line[i] == QLatin1Char('"'))
            open = !open;
    }
    return !open;
}

enum class Line { Blank, Section, Setting, Other };

Line kindOf(const QString& trimmed) {
    if (trimmed.isEmpty())
        return Line::Blank;
    if (trimmed.startsWith(QLatin1Char('[')))
        return trimmed.endsWith(QLatin1Char(']')) ? Line::Section : Line::Other;
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')) ||
        !trimmed.contains(QLatin1Char('=')))
        return Line::Other;
    return Line::Setting;
}

// Lines the store drops or misreads when it rewrites the file: comments, lines that are no
// setting, a setting with a quote left open or given twice, a section without settings.
bool holdsLinesTheStoreDrops(const QString& text) {
    QSet<QString> keys;
    QString section;
    bool sectionEmpty = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        switch (kindOf(line)) {
        case Line::Blank:
            continue;
        case Line::Other:
            return true;
        case Line::Section:
            if (sectionEmpty)
                return true;
            section = line;
            sectionEmpty = true;
            continue;
        case Line::Setting:
            break;
        }
        const QString key =
            section + QLatin1Char('\n') + line.left(line.indexOf(QLatin1Char('='))).trimmed();
        if (keys.contains(key) || !quotesClosed(line))
            return true;
        keys.insert(key);
        sectionEmpty = false;
    }
    return sectionEmpty;
}

// The file's sections and settings as the store can read them: each line as UTF-8, or as
// Latin-1 when it is not UTF-8, without NUL bytes, a quote left open closed at its end.
QString readableText(const QByteArray& bytes) {
    QString text;
    for (QByteArray raw : bytes.split('\n')) {
        raw.removeIf([](char c) { return c == '\0'; });
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString line = utf8.decode(raw);
        if (utf8.hasError())
            line = QString::fromLatin1(raw);
        line = line.trimmed();
        const Line kind = kindOf(line);
        if (kind == Line::Setting && !quotesClosed(line))
            line += QLatin1Char('"');
        if (kind == Line::Section || kind == Line::Setting)
            text += line + QLatin1Char('\n');
    }
    return text;
}

// A settings file we cannot read, or would misread or rewrite without some of its lines, is
// kept under another name rather than overwritten. bytes receives what could be read.
Found whatIsThere(const QString& path, QByteArray& bytes) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Found::Nothing;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return Found::Folder; // nothing can be written there, nothing is lost
    const std::optional<QByteArray> read = readWithoutBlocking(path);
    if (!read)
        return Found::Unreadable;
    bytes = *read;
    // Our files are UTF-8 text; anything else is not ours to rewrite.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (bytes.contains('\0') || utf8.hasError())
        return Found::Damaged;
    QSettings probe(path, QSettings::IniFormat);
    if (probe.status() != QSettings::NoError || holdsLinesTheStoreDrops(text))
        return Found::Damaged;
    return Found::Ours;
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
    QByteArray bytes;
    const Found found = whatIsThere(path, bytes);
    if (found == Found::Unreadable || found == Found::Damaged)
        mSetAside = setAside(path);
    mSettings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    mSettings->setAtomicSyncRequired(true);
    if (found == Found::Damaged)
        carryOver(readableText(bytes));
}

// Every setting that can be read in a set-aside file stays the program's.
void SettingsStore::carryOver(const QString& text) {
    QTemporaryFile readable(filePath() + QStringLiteral(".readable-XXXXXX"));
    if (!readable.open() || readable.write(text.toUtf8()) < 0 || !readable.flush())
        return;
    const QSettings kept(readable.fileName(), QSettings::IniFormat);
    for (const QString& key : kept.allKeys())
        mSettings->setValue(key, kept.value(key));
    mSettings->sync();
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString& key) const {
    const QVariant value = mSettings->value(kProductName + QLatin1Char('/') + key);
    // A value written by hand with commas and without quotes reads as a list of its parts
    // (which would read as nothing): its parts are joined as such texts are typed.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool SettingsStore::write(const QList<std::pair<QString, QString>>& values) {
    for (const auto& [key, value] : values)
        mSettings->setValue(kProductName + QLatin1Char('/') + key, value);
    mSettings->sync();
    return mSettings->status() != QSettings::AccessError;
}

bool SettingsStore::write(const QString& key, const QString& value) {
    return write({{key, value}});
}
