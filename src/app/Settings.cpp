#include "app/Settings.h"

#include "core/Product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

namespace {
QString configFolder() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

// A settings file we cannot read is kept, under another name, rather than overwritten.
bool readable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile())
        return true; // a folder in the way: nothing can be written there, nothing is lost
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Our files are UTF-8 text; anything else is not ours to rewrite.
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)utf8.decode(bytes);
    if (bytes.contains('\0') || utf8.hasError())
        return false;
    QSettings probe(path, QSettings::IniFormat);
    return probe.status() == QSettings::NoError;
}
} // namespace

QString SettingsStore::filePath() { return configFolder() + QStringLiteral("/Quillmont.conf"); }

SettingsStore::SettingsStore() {
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!readable(path)) {
        const QString aside = path + QStringLiteral(".unreadable-") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        if (QFile::rename(path, aside))
            mSetAside = aside;
    }
    mSettings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    mSettings->setAtomicSyncRequired(true);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString& key) const {
    return mSettings->value(kProductName + QLatin1Char('/') + key).toString();
}

void SettingsStore::write(const QString& key, const QString& value) {
    mSettings->setValue(kProductName + QLatin1Char('/') + key, value);
    mSettings->sync();
}
