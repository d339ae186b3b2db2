#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
void removeSettings() {
    QFile::remove(SettingsStore::filePath());
    QDir(SettingsStore::filePath()).removeRecursively();
    const QDir folder = QFileInfo(SettingsStore::filePath()).dir();
    for (const QString& name : folder.entryList({QStringLiteral("Quillmont.conf.*")}))
        QFile::remove(folder.filePath(name));
}
} // namespace

TEST(Settings, LivesInTheConfigFolderUnderItsGroup) {
    removeSettings();
    {
        SettingsStore store;
        store.write(QStringLiteral("txtRSVP"), QStringLiteral("me@example.com"));
    }
    EXPECT_EQ(SettingsStore::filePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillmont.conf");
    QFile file(SettingsStore::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("[Festoria]")) << text.toStdString();
    EXPECT_TRUE(text.contains("txtRSVP=me@example.com")) << text.toStdString();
}

TEST(Settings, AnyTextRoundTripsThroughTheFile) {
    removeSettings();
    const QString texts[] = {
        QString(),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("emoji 🎉🦞, right-to-left שלום مرحبا, combining e\u0301 a\u0308"),
        QStringLiteral("control \t tab \r cr \n lf \x01 \x1f ; # = [x] \"q\" \\ @Variant(x)"),
        QString(1 << 20, QLatin1Char('x')) + QStringLiteral("ä"),
    };
    int i = 0;
    for (const QString& text : texts) {
        const QString key = QStringLiteral("k%1").arg(i++);
        {
            SettingsStore store;
            store.write(key, text);
        }
        SettingsStore again;
        EXPECT_EQ(again.read(key), text) << key.toStdString();
    }
}

TEST(Settings, AFileThatCannotBeReadIsKeptAndTheProgramStartsWithDefaults) {
    removeSettings();
    {
        QFile file(SettingsStore::filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        static const char garbage[] = "[Festoria]\ntxtRSVP=\"unterminated\n\xff\xfe\x00garbage=\x01\n[broken";
        file.write(garbage, sizeof garbage - 1);
    }
    QFile original(SettingsStore::filePath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    SettingsStore store;
    store.write(QStringLiteral("txtItems"), QStringLiteral("cake"));
    ASSERT_FALSE(store.setAsidePath().isEmpty());
    QFile kept(store.setAsidePath());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    EXPECT_EQ(SettingsStore().read(QStringLiteral("txtItems")), QStringLiteral("cake"));
}

TEST(Settings, AFolderWhereTheFileShouldBeDoesNotStopTheProgram) {
    removeSettings();
    ASSERT_TRUE(QDir().mkpath(SettingsStore::filePath()));
    SettingsStore store;
    store.write(QStringLiteral("txtItems"), QStringLiteral("cake"));
    EXPECT_TRUE(QFileInfo(SettingsStore::filePath()).isDir());
    QDir(SettingsStore::filePath()).removeRecursively();
}
