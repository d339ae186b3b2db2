// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Settings.h"
#include "support/ScopedTemp.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
void removeSettings() {
    QFile::remove(SettingsStore::filePath());
    QDir(SettingsStore::filePath()).removeRecursively();
    const QDir folder = QFileInfo(SettingsStore::filePath()).dir();
    for (const QString& name : folder.entryList({QStringLiteral("Quillmont.conf.*")},
                                                QDir::Files | QDir::System | QDir::Hidden))
        QFile::remove(folder.filePath(name));
}
} // namespace

TEST(Settings, LivesInTheConfigFolderUnderItsGroup) {
    removeSettings();
    {
        SettingsStore store;
        store.write(QStringLiteral("txtRSVP"), QStringLiteral("me@example.com"));
    }
    EXPECT_EQ(SettingsStore::filePath(),
              qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quillmont.conf");
    {
        // A relative folder is no configuration folder: it would move with the working folder.
        const ScopedVariable relative("XDG_CONFIG_HOME", "config");
        EXPECT_EQ(SettingsStore::filePath(), QDir::homePath() + "/.config/Quillmont.conf");
    }
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
        QStringLiteral(
            "emoji 🎉🦞, right-to-left שלום مرحبا, combining e\u0301 a\u0308"),
        QStringLiteral("control \t tab \r cr \n lf \x01 \x1f ; # = [x] \"q\" \\ @Variant(x)"),
        QString(1 << 20, QLatin1Char('x')) + QStringLiteral("ä"),
        QStringLiteral("a 12\" pizza, a \\"), // a quote the store escapes, left open
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
        EXPECT_EQ(again.setAsidePath(), QString()) << "the store's own file is never set aside";
    }
}

// Texts written into the file by hand, without the quotes the store puts around a text
// with commas, read as they were written.
TEST(Settings, TextsWrittenByHandWithCommasReadAsWritten) {
    removeSettings();
    writeFile(SettingsStore::filePath(),
              "[Festoria]\ntxtWhere=Pier 9, Boston\ntxtBring=bibs, crackers, forks\n");
    SettingsStore store;
    EXPECT_EQ(store.read(QStringLiteral("txtWhere")), QStringLiteral("Pier 9, Boston"));
    EXPECT_EQ(store.read(QStringLiteral("txtBring")), QStringLiteral("bibs, crackers, forks"));
    removeSettings();
}

// A file whose lines the store would rewrite differently (a setting given twice: only one
// would stay; a section left without settings: it would go) is set aside whole, and what the
// store reads of it stays the program's.
TEST(Settings, AFileTheStoreWouldRewriteWithLinesLostIsSetAsideWhole) {
    const struct {
        const char* what;
        QByteArray file;
    } rows[] = {
        {"a setting given twice", "[Festoria]\ntxtRSVP=me@example.com\ntxtRSVP=you@example.com\n"},
        {"an empty section last", "[Festoria]\ntxtRSVP=you@example.com\n[Printing]\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        removeSettings();
        QFile file(SettingsStore::filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.file) == row.file.size());
        file.close();
        SettingsStore store;
        EXPECT_EQ(store.read(QStringLiteral("txtRSVP")), QStringLiteral("you@example.com"));
        QFile aside(store.setAsidePath());
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly)) << "not set aside";
        EXPECT_EQ(aside.readAll(), row.file);
    }
    removeSettings();
}

// What may lie under the settings file's name: start-up never blocks, nothing of another
// file is lost, and a set-aside file never replaces an earlier one.
TEST(Settings, OnlyPlainFilesAreUsedAndNothingIsLost) {
    const QString path = SettingsStore::filePath();
    const QString folder = QFileInfo(path).absolutePath();
    const QString notes = folder + QStringLiteral("/notes.txt");
    const QByteArray notesText =
        "[Festoria]\ntxtRSVP=from the notes\n; my own comment\nshopping list\n";
    enum class What { Fifo, LinkToNotes, NotesItself, LinkToOurs, Collision };
    for (const What what :
         {What::Fifo, What::LinkToNotes, What::NotesItself, What::LinkToOurs, What::Collision}) {
        SCOPED_TRACE(int(what));
        removeSettings();
        QFile::remove(notes);
        QByteArray before;
        auto writeFile = [](const QString& at, const QByteArray& bytes) {
            QFile file(at);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        switch (what) {
        case What::Fifo:
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            break;
        case What::LinkToNotes:
            writeFile(notes, notesText);
            ASSERT_TRUE(QFile::link(notes, path));
            break;
        case What::NotesItself:
            writeFile(path, notesText);
            break;
        case What::LinkToOurs:
            writeFile(notes, "[Festoria]\ntxtRSVP=from the notes\n");
            ASSERT_TRUE(QFile::link(notes, path));
            break;
        case What::Collision: {
            // Unreadable, and earlier set-aside files of this very second and the next.
            writeFile(path, QByteArray("\xff\xfe garbage", 10));
            const QDateTime now = QDateTime::currentDateTime();
            for (const QDateTime& at : {now, now.addSecs(1)}) {
                const QString earlier = path + QStringLiteral(".unreadable-") +
                                        at.toString(QStringLiteral("yyyyMMdd-hhmmss"));
                writeFile(earlier, "earlier");
            }
            break;
        }
        }
        {
            SettingsStore store;
            store.write(QStringLiteral("txtItems"), QStringLiteral("cake"));
            const bool keptAside = what != What::LinkToOurs;
            EXPECT_EQ(store.setAsidePath().isEmpty(), !keptAside)
                << store.setAsidePath().toStdString();
            if (what == What::LinkToNotes || what == What::NotesItself) {
                EXPECT_EQ(store.read(QStringLiteral("txtRSVP")), QStringLiteral("from the notes"));
            }
        }
        EXPECT_EQ(SettingsStore().read(QStringLiteral("txtItems")), QStringLiteral("cake"));
        if (what == What::LinkToNotes || what == What::NotesItself) {
            const QString kept = what == What::LinkToNotes ? notes : QString();
            QStringList asides =
                QDir(folder).entryList({QStringLiteral("Quillmont.conf.unreadable-*")});
            ASSERT_EQ(asides.size(), 1);
            QFile file(kept.isEmpty() ? folder + "/" + asides.first() : kept);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), notesText) << "every line of the user's file is kept";
        }
        if (what == What::Collision) {
            const QStringList asides =
                QDir(folder).entryList({QStringLiteral("Quillmont.conf.unreadable-*")});
            EXPECT_EQ(asides.size(), 3);
            int earlier = 0;
            for (const QString& name : asides) {
                QFile file(folder + "/" + name);
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                earlier += file.readAll() == "earlier";
            }
            EXPECT_EQ(earlier, 2);
        }
    }
    removeSettings();
    QFile::remove(notes);
}
