// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/MainWindow.h"
#include "app/EventFields.h"
#include "app/GeneralDate.h"
#include "app/Picker.h"
#include "app/Settings.h"
#include "invitation/CreateInvitation.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScopedTemp.h"
#include "support/ScriptedPrompts.h"
#include "widgets/WindowPointer.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void clearSettings() {
    QFile::remove(SettingsStore::filePath());
}

void store(const QString& key, const QString& value) {
    SettingsStore settings;
    settings.write(key, value);
}

QString stored(const QString& key) {
    QSettings file(SettingsStore::filePath(), QSettings::IniFormat);
    return file.value(QStringLiteral("Festoria/") + key).toString();
}

// A program folder holding the hand pointer (or other bytes under its name, or none) and,
// when asked, a skin file.
struct Folder {
    QByteArray cursor = readFile(QCoreApplication::applicationDirPath() + "/HAND-M.CUR");
    QByteArray skin;

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

struct ProgramFolder {
    QTemporaryDir folder;
    explicit ProgramFolder(const Folder& contents) {
        QDir(folder.path()).mkpath("x");
        for (const auto& [name, bytes] :
             {std::pair{"HAND-M.CUR", contents.cursor}, std::pair{"x/o.cjs", contents.skin}}) {
            QFile file(folder.filePath(name));
            if (!bytes.isNull() && file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
    }
};

struct Window {
    ProgramFolder programFolder;
    ScriptedPrompts prompts;
    FakeOffice office;
    SettingsStore settings;
    MainWindow window{
        prompts, office, settings, [] {}, programFolder.folder.path(), [this] { ended = true; }};
    bool ended = false;
    explicit Window(const Folder& contents = Folder()) : programFolder(contents) {
        window.startUp();
    }
};

} // namespace

namespace {
// The window's fields and buttons, and where each is in the window.
QList<QWidget*> controlsOf(MainWindow& f) {
    return {f.datePicker,      f.timePicker, f.eventNameField, f.locationField, f.itemsField,
            f.directionsField, f.rsvpField,  f.createButton,   f.clearButton,   f.sampleButton};
}
QRect inWindow(QWidget* widget, QWidget& window) {
    return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
}
} // namespace

// A window of fixed size in which every control and caption shows whole: inside the window,
// clear of the others, each caption on its field's row and to its left, each button wide
// enough for its caption.
TEST(MainWindow, EveryControlAndCaptionShowsWholeInAFixedWindow) {
    clearSettings();
    Window w;
    MainWindow& f = w.window;
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(f.windowIcon().isNull());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&f)->role(), QAccessible::Window);

    QList<QWidget*> shown = controlsOf(f);
    ASSERT_EQ(f.fieldLabels.size(), 7);
    for (QLabel* label : f.fieldLabels)
        shown << label;
    for (int i = 0; i < shown.size(); ++i) {
        const QRect r = inWindow(shown[i], f);
        EXPECT_TRUE(f.rect().contains(r)) << shown[i]->objectName().toStdString();
        EXPECT_GE(r.width(), shown[i]->minimumSizeHint().width())
            << shown[i]->objectName().toStdString();
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(r.intersects(inWindow(shown[j], f)))
                << shown[i]->objectName().toStdString() << " "
                << shown[j]->objectName().toStdString();
    }
    for (int i = 0; i < 7; ++i) {
        const QRect field = inWindow(controlsOf(f)[i], f);
        const QRect label = inWindow(f.fieldLabels[i], f);
        EXPECT_EQ(f.fieldLabels[i]->buddy(), controlsOf(f)[i]);
        EXPECT_LE(label.right(), field.left()) << i;
        EXPECT_TRUE(field.top() <= label.center().y() && label.center().y() <= field.bottom()) << i;
    }
    // The texts a user reads.
    QStringList texts = {f.windowTitle(), f.createButton->text(), f.clearButton->text(),
                         f.sampleButton->text(), f.detailsFrame->title()};
    for (QLabel* label : f.fieldLabels)
        texts << label->text();
    EXPECT_EQ(texts.join(u'|'), QStringLiteral("Festoria|Start Creating Template|Clear/Reset Data|"
                                               "Load Sample/Example Data|Event details|Event "
                                               "Date:|Event Time:|Name of Event:|Event Location:|"
                                               "What To Bring:|Driving Directions:|RSVP To:"));
    // The date as the design shows it, whatever the locale.
    f.datePicker->setValue(QDateTime(QDate(2021, 12, 5), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(f.datePicker->text(), QStringLiteral("05-Dec-2021"));
}

// The date picker has the focus first; Tab then goes through the details' fields, then the
// buttons, each group in reading order (top to bottom, left to right), each control once.
TEST(MainWindow, FocusStartsInTheDatePickerAndTabFollowsTheReadingOrder) {
    clearSettings();
    Window w;
    MainWindow& f = w.window;
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_TRUE(f.datePicker->hasFocus());
    const QList<QWidget*> controls = controlsOf(f);
    QList<QWidget*> order{f.datePicker};
    for (QWidget* at = f.datePicker->nextInFocusChain(); at != f.datePicker;
         at = at->nextInFocusChain())
        if (controls.contains(at) && (at->focusPolicy() & Qt::TabFocus))
            order << at;
    ASSERT_EQ(order.size(), controls.size());
    for (int i = 1; i < order.size(); ++i) {
        const bool field = order[i]->parentWidget() == f.detailsFrame;
        const bool fieldBefore = order[i - 1]->parentWidget() == f.detailsFrame;
        EXPECT_TRUE(fieldBefore || !field) << "the fields come first";
        const QPoint before = inWindow(order[i - 1], f).topLeft();
        const QPoint at = inWindow(order[i], f).topLeft();
        EXPECT_TRUE(field != fieldBefore || at.y() > before.y() ||
                    (at.y() == before.y() && at.x() > before.x()))
            << order[i]->objectName().toStdString();
    }
    // Tabbing into a box that holds text selects all of it.
    f.locationField->setText(QStringLiteral("Haverhill"));
    f.eventNameField->setFocus();
    QTest::keyClick(f.eventNameField, Qt::Key_Tab);
    EXPECT_TRUE(f.locationField->hasFocus());
    EXPECT_EQ(f.locationField->selectedText(), QStringLiteral("Haverhill"));
}

TEST(MainWindow, PointerFollowsTheWindowRuleAndNeverReplacesTheHourglass) {
    clearSettings();
    Window w;
    MainWindow& f = w.window;
    WindowPointer& pointer = f.pointer();
    auto hover = [](QWidget* widget) {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(widget, &enter);
    };
    EXPECT_TRUE(pointer.hasHandCursor()) << "HAND-M.CUR beside the program";

    hover(f.sampleButton);
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom);
    hover(f.fieldLabels[2]);
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom) << "labels change nothing";
    // The setting shows over every control, even over a text box's own I-beam.
    EXPECT_EQ(f.rsvpField->cursor().shape(), Qt::BitmapCursor);
    hover(f.rsvpField);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    EXPECT_EQ(f.rsvpField->cursor().shape(), Qt::ArrowCursor);
    hover(f.createButton);
    hover(f.detailsFrame);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    hover(f.clearButton);
    hover(f.timePicker->findChild<QLineEdit*>());
    EXPECT_EQ(pointer.mode(), WindowPointer::Default) << "the picker's inner box is the picker";
    hover(f.clearButton);
    hover(&f);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);

    pointer.setMode(WindowPointer::Hourglass);
    for (QWidget* widget : std::initializer_list<QWidget*>{f.createButton, f.itemsField,
                                                           f.datePicker, f.detailsFrame, &f})
        hover(widget);
    EXPECT_EQ(pointer.mode(), WindowPointer::Hourglass);
    EXPECT_EQ(f.itemsField->cursor().shape(), Qt::WaitCursor);
}

TEST(MainWindow, WithoutTheCursorFileTheButtonsShowTheArrow) {
    clearSettings();
    {
        Window w(Folder{.cursor = QByteArray(), .skin = QByteArray()});
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_FALSE(w.window.pointer().hasHandCursor());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(w.window.createButton, &enter);
        EXPECT_EQ(w.window.pointer().mode(), WindowPointer::Custom);
        EXPECT_EQ(w.window.createButton->cursor().shape(), Qt::ArrowCursor);
    }
    // A cursor file that is no picture: one report at 108, start-up goes on.
    store(keys::rsvp, QStringLiteral("kept"));
    Window w(Folder{.cursor = QByteArray("not a cursor"), .skin = QByteArray()});
    EXPECT_EQ(w.prompts.reportLines(), QList<int>{108});
    EXPECT_FALSE(w.window.pointer().hasHandCursor());
    EXPECT_EQ(w.window.rsvpField->text(), QStringLiteral("kept"));
}

TEST(MainWindow, TheSkinThemesTheWindowAndABrokenSkinIsReportedAtItsStep) {
    clearSettings();
    store(keys::eventName, QStringLiteral("Gala"));
    const QColor face = QApplication::palette().color(QPalette::Button);
    {
        Folder skinned;
        skinned.skin = Folder::readFile(QCoreApplication::applicationDirPath() + "/x/o.cjs");
        ASSERT_FALSE(skinned.skin.isEmpty()) << "the build places the skin beside the program";
        Window w(skinned);
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_EQ(w.window.palette().color(QPalette::Window), face);
        EXPECT_EQ(w.window.detailsFrame->palette().color(QPalette::Window), face);
        for (QLabel* label : w.window.fieldLabels)
            EXPECT_EQ(label->palette().color(QPalette::Window), face);
        EXPECT_EQ(w.window.rsvpField->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(w.window.styleSheet(), QString::fromUtf8(skinned.skin));
        EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Festoria"));
    }
    Folder broken;
    broken.skin = "QPushButton { color: red; ";
    Window w(broken);
    EXPECT_EQ(w.prompts.reportLines(), QList<int>{100});
    EXPECT_EQ(w.window.palette().color(QPalette::Window), face)
        << "changes before the failure stay";
    EXPECT_TRUE(w.window.styleSheet().isEmpty());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Festoria")) << "start-up goes on";
    EXPECT_EQ(w.window.eventNameField->text(), QStringLiteral("Gala"));
}

TEST(MainWindow, EveryChangeIsStoredAtOnceAndRestoredOnTheNextStart) {
    clearSettings();
    const QDate today = QDate::currentDate();
    {
        Window w;
        MainWindow& f = w.window;
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_EQ(f.datePicker->value(), QDateTime(today, QTime(0, 0), Qt::UTC));
        const QDateTime now = QDateTime::currentDateTime();
        EXPECT_LE(qAbs(f.timePicker->value().secsTo(QDateTime(now.date(), now.time(), Qt::UTC))),
                  5);
        EXPECT_TRUE(f.eventNameField->text().isEmpty());

        QTest::keyClicks(f.eventNameField, QStringLiteral("Ga"));
        EXPECT_EQ(stored(keys::eventName), QStringLiteral("Ga")) << "stored per keystroke";
        QTest::keyClicks(f.eventNameField, QStringLiteral("la"));
        EXPECT_EQ(stored(keys::eventName), QStringLiteral("Gala"));
        f.locationField->setText(QStringLiteral("Town Hall"));
        f.locationField->clear();
        EXPECT_EQ(stored(keys::location), QString());

        f.datePicker->setValue(QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC));
        f.timePicker->setValue(QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC));
        EXPECT_EQ(stored(keys::eventDate),
                  generalDateText(QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC)));
        EXPECT_EQ(stored(keys::eventTime),
                  generalDateText(QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC)));
        f.itemsField->setText(QStringLiteral("🎂 cake\ttwo"));
        f.directionsField->setText(QStringLiteral("left, then right"));
        f.rsvpField->setText(QStringLiteral("me@example.com"));
    }
    Window again;
    MainWindow& f = again.window;
    EXPECT_TRUE(again.prompts.shown.isEmpty());
    EXPECT_EQ(f.datePicker->value(), QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(f.timePicker->value(), QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC));
    EXPECT_EQ(f.eventNameField->text(), QStringLiteral("Gala"));
    EXPECT_EQ(f.locationField->text(), QString());
    EXPECT_EQ(f.itemsField->text(), QStringLiteral("🎂 cake\ttwo"));
    EXPECT_EQ(f.directionsField->text(), QStringLiteral("left, then right"));
    EXPECT_EQ(f.rsvpField->text(), QStringLiteral("me@example.com"));
}

TEST(MainWindow, TheDatePickerKeepsItsTimeOfDayAndTheTimePickerItsDate) {
    clearSettings();
    store(keys::eventDate, generalDateText(QDateTime(QDate(2022, 3, 1), QTime(8, 15, 0), Qt::UTC)));
    Window w;
    EXPECT_EQ(w.window.datePicker->value(), QDateTime(QDate(2022, 3, 1), QTime(8, 15, 0), Qt::UTC));
    w.window.datePicker->setDate(QDate(2022, 3, 2));
    EXPECT_EQ(stored(keys::eventDate),
              generalDateText(QDateTime(QDate(2022, 3, 2), QTime(8, 15, 0), Qt::UTC)));

    w.window.timePicker->setValue(QDateTime(QDate(1999, 12, 31), QTime(23, 0, 0), Qt::UTC));
    w.window.timePicker->setTime(QTime(0, 0, 0)); // as the user's edit arrives
    EXPECT_EQ(w.window.timePicker->value(), QDateTime(QDate(1999, 12, 31), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(stored(keys::eventTime),
              generalDateText(QDateTime(QDate(1999, 12, 31), QTime(0, 0), Qt::UTC)))
        << "midnight is stored as the short date alone";
    EXPECT_EQ(stored(keys::eventTime),
              QLocale().toString(QDate(1999, 12, 31), generalDateFormat()));
}

// Dates and times stored under one locale open under another as the same day and time: those
// an earlier version stored (the regional text alone) and those stored with the ISO 8601 copy.
// A numeric date that the regional form cannot read is read month first.
TEST(MainWindow, StoredDatesOpenUnderAnotherLocaleAsTheSameDayAndTime) {
    const auto restore = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
    const QDateTime evening(QDate(2021, 8, 21), QTime(19, 30), Qt::UTC);
    const QDateTime fourthJuly(QDate(2021, 7, 4), QTime(19, 30), Qt::UTC);
    const QDateTime eighthJuly(QDate(2021, 7, 8), QTime(0, 0), Qt::UTC);
    const struct {
        const char* storedUnder;
        const char* readUnder;
        bool withCopy;
        QDateTime stored, read;
    } rows[] = {
        {"C", "de_DE", false, evening, evening},
        {"ja_JP", "de_DE", false, evening, evening},
        {"ar_EG", "de_DE", false, evening, evening},
        {"ko_KR", "de_DE", false, evening, evening},
        {"fa_IR", "de_DE", false, evening, evening},
        {"th_TH", "de_DE", false, evening, evening},
        {"zh_CN", "de_DE", false, evening, evening},
        {"hi_IN", "de_DE", false, evening, evening},
        {"en_GB", "en_US", true, fourthJuly, fourthJuly},
        {"en_GB", "de_DE", true, eighthJuly, eighthJuly},
        {"en_GB", "de_DE", false, eighthJuly, QDateTime(QDate(2021, 8, 7), QTime(0, 0), Qt::UTC)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.storedUnder) + " to " + row.readUnder);
        clearSettings();
        QLocale::setDefault(QLocale(QString::fromLatin1(row.storedUnder)));
        {
            Window w;
            w.window.datePicker->setValue(QDateTime(row.stored.date(), QTime(0, 0), Qt::UTC));
            w.window.timePicker->setValue(row.stored);
        }
        if (!row.withCopy) {
            QSettings file(SettingsStore::filePath(), QSettings::IniFormat);
            for (const QString& key : {keys::eventDate, keys::eventTime})
                file.remove(QStringLiteral("Festoria/") + keys::isoCopy(key));
        }
        QLocale::setDefault(QLocale(QString::fromLatin1(row.readUnder)));
        Window w;
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_EQ(w.window.datePicker->value(), QDateTime(row.read.date(), QTime(0, 0), Qt::UTC));
        EXPECT_EQ(w.window.timePicker->value(), row.read);
    }
}

// Faults of the settings file: every detail that can be read is kept, and the user hears once
// where the old file went, or that typed details cannot be stored.
TEST(MainWindow, SettingsFileFaultsKeepWhatCanBeReadAndAreToldOnce) {
    enum class Fault { Latin1Byte, Nul, Junk, FolderUnderName, ReadOnly, FullDisk };
    const QByteArray others = "txtItems=cake\ntxtRSVP=me@example.com\n";
    const struct {
        Fault fault;
        QByteArray file;
        QString eventName;
    } rows[] = {
        {Fault::Latin1Byte, "[Festoria]\ntxtEventName=Caf\xe9 night\n" + others, "Café night"},
        {Fault::Nul, QByteArray("[Festoria]\ntxtEventName=Ga\0la\n", 30) + others, "Gala"},
        {Fault::Junk, "[Festoria]\ntxtEventName=\"Gala\n\xff\xfe\x01junk\n[broken\n" + others,
         "Gala"},
        {Fault::FolderUnderName, {}, {}},
        {Fault::ReadOnly, "[Festoria]\ntxtEventName=Gala\n" + others, "Gala"},
        {Fault::FullDisk, "[Festoria]\ntxtEventName=Gala\n" + others, "Gala"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.fault));
        QTemporaryDir config;
        ScopedVariable configHome("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        const QString path = SettingsStore::filePath();
        if (row.fault == Fault::FolderUnderName) {
            ASSERT_TRUE(QDir().mkpath(path));
        }
        const bool readOnly = row.fault == Fault::ReadOnly;
        // Permissions do not stop root: a read-only mount does.
        if (readOnly && ::geteuid() == 0) {
            ASSERT_EQ(::mount("tmpfs", QFile::encodeName(config.path()), "tmpfs", 0, "size=64k"),
                      0);
        }
        const auto unmount = qScopeGuard([&] {
            if (readOnly && ::geteuid() == 0)
                ::umount2(QFile::encodeName(config.path()), MNT_DETACH);
        });
        QFile file(path);
        if (!row.file.isEmpty()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.file) == row.file.size());
        }
        file.close();
        if (readOnly && ::geteuid() == 0) {
            ASSERT_EQ(::mount(nullptr, QFile::encodeName(config.path()), nullptr,
                              MS_REMOUNT | MS_RDONLY, nullptr),
                      0);
        } else if (readOnly) {
            ASSERT_TRUE(::chmod(QFile::encodeName(config.path()), 0500) == 0 &&
                        ::chmod(QFile::encodeName(path), 0400) == 0);
        }
        Window w;
        EXPECT_EQ(w.window.eventNameField->text(), row.eventName);
        EXPECT_EQ(w.window.itemsField->text(), row.file.isEmpty() ? "" : "cake");
        EXPECT_EQ(w.window.rsvpField->text(), row.file.isEmpty() ? "" : "me@example.com");
        const bool setAside = row.fault <= Fault::Junk;
        ASSERT_EQ(w.prompts.shown.size(), setAside ? 1 : 0);
        if (setAside) {
            const QString aside = w.settings.setAsidePath();
            EXPECT_TRUE(w.prompts.shown[0].text.endsWith(aside))
                << w.prompts.shown[0].text.toStdString();
            QFile old(aside);
            EXPECT_TRUE(old.open(QIODevice::ReadOnly) && old.readAll() == row.file);
        }
        // A file-size limit stands for a full disk.
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        const rlimit tiny{16, RLIM_INFINITY};
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, row.fault == Fault::FullDisk ? &tiny : &unlimited);
        QTest::keyClicks(w.window.locationField, QStringLiteral("Hall"));
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ASSERT_EQ(w.prompts.shown.size(), 1);
        EXPECT_EQ(w.prompts.shown[0].text.endsWith(path), !setAside)
            << w.prompts.shown[0].text.toStdString();
        EXPECT_EQ(Folder::readFile(path).contains("txtLocation=Hall"), setAside);
        ::chmod(QFile::encodeName(config.path()), 0700);
    }
}

TEST(MainWindow, AStoredValueThatIsNoDateIsReportedAndTheRestIsStillRestored) {
    clearSettings();
    store(keys::eventDate, QStringLiteral("not a date"));
    store(keys::eventTime, QStringLiteral("1/2/1500 1:00:00 AM"));
    store(keys::eventName, QStringLiteral("Gala"));
    store(keys::items, QStringLiteral("wine"));
    Window w;
    EXPECT_EQ(w.prompts.reportLines(), (QList<int>{128, 130}));
    EXPECT_TRUE(w.prompts.reports()[0].contains(
        QStringLiteral("\r\nin Festoria2021/08/31.Form1.Form_Load at line 128\r\r")));
    EXPECT_EQ(w.window.datePicker->value(), MainWindow::initialPickerValue());
    EXPECT_EQ(w.window.timePicker->value(), MainWindow::initialPickerValue());
    EXPECT_EQ(w.window.eventNameField->text(), QStringLiteral("Gala"));
    EXPECT_EQ(w.window.itemsField->text(), QStringLiteral("wine"));
    EXPECT_EQ(stored(keys::eventDate), QStringLiteral("not a date")) << "restoring stores nothing";
}

// A stored text longer than a field can use is reported at its own restore step and stays
// stored; the field starts empty and the other fields are restored.
TEST(MainWindow, AStoredTextTooLongForItsFieldIsReportedAndLeftStored) {
    clearSettings();
    const QString justFits(kMaxTypedTextLength, QLatin1Char('i'));
    const QString tooLong = justFits + QLatin1Char('l');
    const QString huge(3 << 20, QLatin1Char('r'));
    store(keys::location, tooLong);
    store(keys::rsvp, huge);
    store(keys::items, justFits);
    Window w;
    ASSERT_EQ(w.prompts.reportLines(), (QList<int>{134, 138}));
    EXPECT_TRUE(w.prompts.reports()[0].startsWith(QStringLiteral(
        "The stored text for \"Event Location\" is too long for the field: 32768 characters")));
    EXPECT_TRUE(w.window.locationField->text().isEmpty());
    EXPECT_TRUE(w.window.rsvpField->text().isEmpty());
    EXPECT_EQ(w.window.itemsField->text(), justFits);
    w.window.eventNameField->setText(QStringLiteral("Gala"));
    EXPECT_EQ(stored(keys::location), tooLong);
    EXPECT_EQ(stored(keys::rsvp).size(), huge.size());
}

TEST(MainWindow, SampleAndClearFillTheFiveTextFieldsAndLeaveThePickers) {
    clearSettings();
    Window w;
    MainWindow& f = w.window;
    f.datePicker->setValue(QDateTime(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC));
    const QString date = stored(keys::eventDate);
    f.eventNameField->setText(QStringLiteral("old"));
    QTest::mouseClick(f.sampleButton, Qt::LeftButton);
    EXPECT_EQ(f.eventNameField->text(), QStringLiteral("Lobster Eating Party"));
    EXPECT_EQ(f.locationField->text(), QStringLiteral("Haverhill MA"));
    EXPECT_EQ(f.itemsField->text(),
              QStringLiteral("bib, meat extractors, cracking utensils, butter"));
    EXPECT_TRUE(f.directionsField->text().startsWith(
        QStringLiteral("Take 66 West to 267 West, take the Wiehle exit")));
    EXPECT_TRUE(f.directionsField->text().endsWith(
        QStringLiteral("until you pass the Baron Cameron intersection.")));
    EXPECT_TRUE(f.rsvpField->text().contains(QLatin1Char('@')));
    EXPECT_EQ(stored(keys::items), f.itemsField->text());
    EXPECT_EQ(stored(keys::rsvp), f.rsvpField->text());

    QTest::mouseClick(f.clearButton, Qt::LeftButton);
    QTest::mouseClick(f.clearButton, Qt::LeftButton);
    for (QLineEdit* box :
         {f.eventNameField, f.locationField, f.itemsField, f.directionsField, f.rsvpField})
        EXPECT_TRUE(box->text().isEmpty());
    for (const QString& key :
         {keys::eventName, keys::location, keys::items, keys::directions, keys::rsvp})
        EXPECT_EQ(stored(key), QString());
    EXPECT_EQ(stored(keys::eventDate), date);
    EXPECT_EQ(f.datePicker->value(), QDateTime(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC));
    EXPECT_TRUE(w.prompts.shown.isEmpty());
}

// Clear/Reset and Sample can be undone, by Ctrl+Z in a field or on a button, or on the note,
// until the next change; what comes back is stored again.
TEST(MainWindow, ClearAndSampleCanBeUndoneUntilTheNextChange) {
    clearSettings();
    Window w;
    MainWindow& f = w.window;
    f.show();
    f.activateWindow(); // the window's own Ctrl+Z
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const struct {
        QPushButton* button;
        QWidget* undoneIn; // where Ctrl+Z is pressed; none: the note's Undo
    } cases[] = {
        {f.clearButton, f.rsvpField}, {f.sampleButton, nullptr}, {f.clearButton, f.clearButton}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.undoneIn ? c.undoneIn->objectName().toStdString() : "the note");
        f.eventNameField->setText(QStringLiteral("Mine"));
        f.rsvpField->setText(QStringLiteral("me@example.org"));
        QTest::mouseClick(c.button, Qt::LeftButton);
        ASSERT_NE(f.eventNameField->text(), QStringLiteral("Mine"));
        EXPECT_TRUE(f.findChild<QWidget*>(QStringLiteral("undoNote"))->isVisible());
        if (c.undoneIn) {
            c.undoneIn->setFocus();
            QTest::keyClick(c.undoneIn, Qt::Key_Z, Qt::ControlModifier);
        } else {
            f.findChild<QPushButton*>(QStringLiteral("undoButton"))->click();
        }
        EXPECT_EQ(f.eventNameField->text(), QStringLiteral("Mine"));
        EXPECT_EQ(stored(keys::rsvp), QStringLiteral("me@example.org"));
        EXPECT_FALSE(f.undoAvailable());
    }
    QTest::mouseClick(f.clearButton, Qt::LeftButton);
    QTest::keyClicks(f.locationField, QStringLiteral("x")); // a change: no way back any more
    QTest::keyClick(f.clearButton, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.eventNameField->text(), QString());
    EXPECT_FALSE(f.findChild<QWidget*>(QStringLiteral("undoNote"))->isVisible());
    EXPECT_TRUE(w.prompts.shown.isEmpty());
}

TEST(MainWindow, ClosingTheWindowEndsTheProgram) {
    clearSettings();
    Window w;
    w.window.show();
    w.window.close();
    EXPECT_TRUE(w.ended);
}

TEST(MainWindow, EnterInAFieldDoesNotStartARequest) {
    clearSettings();
    Window w;
    const int atStart = w.office.applicationsCreated; // the start-up check
    w.window.show();
    for (QWidget* field :
         std::initializer_list<QWidget*>{w.window.eventNameField, w.window.rsvpField,
                                         w.window.datePicker, w.window.timePicker}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
    }
    EXPECT_EQ(w.office.applicationsCreated, atStart);
    EXPECT_FALSE(w.window.previewWindowLoaded());
    EXPECT_TRUE(w.window.isVisible());
    for (QPushButton* b : {w.window.createButton, w.window.clearButton, w.window.sampleButton})
        EXPECT_EQ(b->accessibleName(), b->text());
    for (const QLabel* label : w.window.fieldLabels)
        EXPECT_FALSE(label->text().isEmpty());
    EXPECT_EQ(w.window.directionsField->accessibleName(), QStringLiteral("Driving Directions:"));
}
