#include "app/EventFields.h"
#include "app/MainWindow.h"
#include "app/GeneralDate.h"
#include "app/Picker.h"
#include "app/Settings.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Product.h"
#include "invitation/CreateInvitation.h"
#include "office/Office.h"
#include "support/FakeOffice.h"
#include "support/QtPrinting.h"
#include "support/ScriptedPrompts.h"
#include "widgets/QtPrompts.h"
#include "widgets/WindowPointer.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void clearSettings() { QFile::remove(SettingsStore::filePath()); }

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
        if (!contents.cursor.isNull()) {
            QFile file(folder.filePath("HAND-M.CUR"));
            file.open(QIODevice::WriteOnly);
            file.write(contents.cursor);
        }
        if (!contents.skin.isNull()) {
            QDir(folder.path()).mkpath("x");
            QFile file(folder.filePath("x/o.cjs"));
            file.open(QIODevice::WriteOnly);
            file.write(contents.skin);
        }
    }
};

struct Window {
    ProgramFolder programFolder;
    ScriptedPrompts prompts;
    FakeOffice office;
    SettingsStore settings;
    MainWindow form{prompts, office, settings, [] {}, programFolder.folder.path(),
               [this] { ended = true; }};
    bool ended = false;
    explicit Window(const Folder& contents = Folder()) : programFolder(contents) {
        form.Form_Load();
    }
};

} // namespace

TEST(MainWindow, LayoutMatchesTheDesignToThePixel) {
    clearSettings();
    Window w; // no skin: the window stays white
    MainWindow& f = w.form;
    EXPECT_EQ(f.size(), QSize(536, 317));
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Festoria"));
    EXPECT_FALSE(f.windowIcon().isNull());

    EXPECT_EQ(f.PushButton6->geometry(), QRect(8, 8, 520, 27));
    EXPECT_EQ(f.PushButton2->geometry(), QRect(8, 42, 256, 27));
    EXPECT_EQ(f.PushButton3->geometry(), QRect(272, 42, 256, 27));
    EXPECT_EQ(f.Frame1->geometry(), QRect(8, 74, 520, 235));
    EXPECT_EQ(f.PushButton6->text(), QStringLiteral("Start Creating Template"));
    EXPECT_EQ(f.PushButton2->text(), QStringLiteral("Clear/Reset Data"));
    EXPECT_EQ(f.PushButton3->text(), QStringLiteral("Load Sample/Example Data"));
    EXPECT_EQ(f.Frame1->title(), QStringLiteral("Event details"));

    const QList<QWidget*> fields = {f.dtpDate, f.dtpTime, f.txtEventName, f.txtLocation,
                                    f.txtItems, f.txtDrive, f.txtRSVP};
    const QStringList captions = {"Event Date:",    "Event Time:",         "Name of Event:",
                                  "Event Location:", "What To Bring:", "Driving Directions:",
                                  "RSVP To:"};
    ASSERT_EQ(f.Label4.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(fields[i]->parentWidget(), f.Frame1);
        EXPECT_EQ(fields[i]->geometry(), QRect(136, 20 + 30 * i, 368, 23)) << i;
        EXPECT_EQ(f.Label4[i]->text(), captions[i]);
        EXPECT_EQ(f.Label4[i]->pos(), QPoint(16, 23 + 30 * i));
    }

    EXPECT_EQ(f.font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(f.font().bold());
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), 9.0);
    EXPECT_DOUBLE_EQ(f.PushButton6->font().pointSizeF(), 11.25);
    EXPECT_EQ(f.dtpDate->displayFormat(), QStringLiteral("dd-MMM-yyyy"));
    EXPECT_EQ(f.txtDrive->maxLength(), std::numeric_limits<int>::max());
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(f.Frame1->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST(MainWindow, FocusStartsInTheDatePickerAndFollowsTheTabOrder) {
    clearSettings();
    Window w;
    MainWindow& f = w.form;
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_TRUE(f.dtpDate->hasFocus());
    const QList<QWidget*> order = {f.dtpTime,  f.txtEventName, f.txtLocation, f.txtItems,
                                   f.txtDrive, f.txtRSVP,      f.PushButton6, f.PushButton2,
                                   f.PushButton3};
    QWidget* at = f.dtpDate;
    for (QWidget* expected : order) {
        at = at->nextInFocusChain();
        while (at != expected && !(at->focusPolicy() & Qt::TabFocus && at->isVisible() &&
                                   at->parentWidget() && !qobject_cast<QDateTimeEdit*>(at->parentWidget())))
            at = at->nextInFocusChain();
        EXPECT_EQ(at, expected) << expected->objectName().toStdString();
    }
    // Tabbing into a box that holds text selects all of it.
    f.txtLocation->setText(QStringLiteral("Haverhill"));
    f.txtEventName->setFocus();
    QTest::keyClick(f.txtEventName, Qt::Key_Tab);
    EXPECT_TRUE(f.txtLocation->hasFocus());
    EXPECT_EQ(f.txtLocation->selectedText(), QStringLiteral("Haverhill"));
}

TEST(MainWindow, PointerFollowsTheWindowRuleAndNeverReplacesTheHourglass) {
    clearSettings();
    Window w;
    MainWindow& f = w.form;
    WindowPointer& pointer = f.pointer();
    auto hover = [](QWidget* widget) {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(widget, &enter);
    };
    EXPECT_TRUE(pointer.hasHandCursor()) << "HAND-M.CUR beside the program";

    hover(f.PushButton3);
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom);
    hover(f.Label4[2]);
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom) << "labels change nothing";
    // The setting shows over every control, even over a text box's own I-beam.
    EXPECT_EQ(f.txtRSVP->cursor().shape(), Qt::BitmapCursor);
    hover(f.txtRSVP);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    EXPECT_EQ(f.txtRSVP->cursor().shape(), Qt::ArrowCursor);
    hover(f.PushButton6);
    hover(f.Frame1);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    hover(f.PushButton2);
    hover(f.dtpTime->findChild<QLineEdit*>());
    EXPECT_EQ(pointer.mode(), WindowPointer::Default) << "the picker's inner box is the picker";
    hover(f.PushButton2);
    hover(&f);
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);

    pointer.setMode(WindowPointer::Hourglass);
    for (QWidget* widget : std::initializer_list<QWidget*>{f.PushButton6, f.txtItems, f.dtpDate,
                                                           f.Frame1, &f})
        hover(widget);
    EXPECT_EQ(pointer.mode(), WindowPointer::Hourglass);
    EXPECT_EQ(f.txtItems->cursor().shape(), Qt::WaitCursor);
}

TEST(MainWindow, WithoutTheCursorFileTheButtonsShowTheArrow) {
    clearSettings();
    {
        Window w(Folder{.cursor = QByteArray(), .skin = QByteArray()});
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_FALSE(w.form.pointer().hasHandCursor());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(w.form.PushButton6, &enter);
        EXPECT_EQ(w.form.pointer().mode(), WindowPointer::Custom);
        EXPECT_EQ(w.form.PushButton6->cursor().shape(), Qt::ArrowCursor);
    }
    // A cursor file that is no picture: one report at 108, start-up goes on.
    store(keys::txtRSVP, QStringLiteral("kept"));
    Window w(Folder{.cursor = QByteArray("not a cursor"), .skin = QByteArray()});
    EXPECT_EQ(w.prompts.reportLines(), QList<int>{108});
    EXPECT_FALSE(w.form.pointer().hasHandCursor());
    EXPECT_EQ(w.form.txtRSVP->text(), QStringLiteral("kept"));
}

TEST(MainWindow, TheSkinThemesTheWindowAndABrokenSkinIsReportedAtItsStep) {
    clearSettings();
    store(keys::txtEventName, QStringLiteral("Gala"));
    const QColor face = QApplication::palette().color(QPalette::Button);
    {
        Folder skinned;
        skinned.skin = Folder::readFile(QCoreApplication::applicationDirPath() + "/x/o.cjs");
        ASSERT_FALSE(skinned.skin.isEmpty()) << "the build places the skin beside the program";
        Window w(skinned);
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_EQ(w.form.palette().color(QPalette::Window), face);
        EXPECT_EQ(w.form.Frame1->palette().color(QPalette::Window), face);
        for (QLabel* label : w.form.Label4)
            EXPECT_EQ(label->palette().color(QPalette::Window), face);
        EXPECT_EQ(w.form.txtRSVP->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(w.form.styleSheet(), QString::fromUtf8(skinned.skin));
        EXPECT_EQ(w.form.windowTitle(), QStringLiteral("Festoria"));
    }
    Folder broken;
    broken.skin = "QPushButton { color: red; ";
    Window w(broken);
    EXPECT_EQ(w.prompts.reportLines(), QList<int>{100});
    EXPECT_EQ(w.form.palette().color(QPalette::Window), face) << "changes before the failure stay";
    EXPECT_TRUE(w.form.styleSheet().isEmpty());
    EXPECT_EQ(w.form.windowTitle(), QStringLiteral("Festoria")) << "start-up goes on";
    EXPECT_EQ(w.form.txtEventName->text(), QStringLiteral("Gala"));
}

TEST(MainWindow, EveryChangeIsStoredAtOnceAndRestoredOnTheNextStart) {
    clearSettings();
    const QDate today = QDate::currentDate();
    {
        Window w;
        MainWindow& f = w.form;
        EXPECT_TRUE(w.prompts.shown.isEmpty());
        EXPECT_EQ(f.dtpDate->value(), QDateTime(today, QTime(0, 0), Qt::UTC));
        const QDateTime now = QDateTime::currentDateTime();
        EXPECT_LE(qAbs(f.dtpTime->value().secsTo(QDateTime(now.date(), now.time(), Qt::UTC))), 5);
        EXPECT_TRUE(f.txtEventName->text().isEmpty());

        QTest::keyClicks(f.txtEventName, QStringLiteral("Ga"));
        EXPECT_EQ(stored(keys::txtEventName), QStringLiteral("Ga")) << "stored per keystroke";
        QTest::keyClicks(f.txtEventName, QStringLiteral("la"));
        EXPECT_EQ(stored(keys::txtEventName), QStringLiteral("Gala"));
        f.txtLocation->setText(QStringLiteral("Town Hall"));
        f.txtLocation->clear();
        EXPECT_EQ(stored(keys::txtLocation), QString());

        f.dtpDate->setValue(QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC));
        f.dtpTime->setValue(QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC));
        EXPECT_EQ(stored(keys::dtpDate), generalDateText(QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC)));
        EXPECT_EQ(stored(keys::dtpTime),
                  generalDateText(QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC)));
        f.txtItems->setText(QStringLiteral("🎂 cake\ttwo"));
        f.txtDrive->setText(QStringLiteral("left, then right"));
        f.txtRSVP->setText(QStringLiteral("me@example.com"));
    }
    Window again;
    MainWindow& f = again.form;
    EXPECT_TRUE(again.prompts.shown.isEmpty());
    EXPECT_EQ(f.dtpDate->value(), QDateTime(QDate(1888, 2, 29), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(f.dtpTime->value(), QDateTime(QDate(2030, 5, 6), QTime(19, 30, 15), Qt::UTC));
    EXPECT_EQ(f.txtEventName->text(), QStringLiteral("Gala"));
    EXPECT_EQ(f.txtLocation->text(), QString());
    EXPECT_EQ(f.txtItems->text(), QStringLiteral("🎂 cake\ttwo"));
    EXPECT_EQ(f.txtDrive->text(), QStringLiteral("left, then right"));
    EXPECT_EQ(f.txtRSVP->text(), QStringLiteral("me@example.com"));
}

TEST(MainWindow, TheDatePickerKeepsItsTimeOfDayAndTheTimePickerItsDate) {
    clearSettings();
    store(keys::dtpDate, generalDateText(QDateTime(QDate(2022, 3, 1), QTime(8, 15, 0), Qt::UTC)));
    Window w;
    EXPECT_EQ(w.form.dtpDate->value(), QDateTime(QDate(2022, 3, 1), QTime(8, 15, 0), Qt::UTC));
    w.form.dtpDate->setDate(QDate(2022, 3, 2));
    EXPECT_EQ(stored(keys::dtpDate),
              generalDateText(QDateTime(QDate(2022, 3, 2), QTime(8, 15, 0), Qt::UTC)));

    w.form.dtpTime->setValue(QDateTime(QDate(1999, 12, 31), QTime(23, 0, 0), Qt::UTC));
    w.form.dtpTime->setTime(QTime(0, 0, 0)); // as the user's edit arrives
    EXPECT_EQ(w.form.dtpTime->value(), QDateTime(QDate(1999, 12, 31), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(stored(keys::dtpTime), generalDateText(QDateTime(QDate(1999, 12, 31), QTime(0, 0), Qt::UTC)))
        << "midnight is stored as the short date alone";
    EXPECT_EQ(stored(keys::dtpTime), QLocale().toString(QDate(1999, 12, 31), generalDateFormat()));
}

TEST(MainWindow, AStoredValueThatIsNoDateIsReportedAndTheRestIsStillRestored) {
    clearSettings();
    store(keys::dtpDate, QStringLiteral("not a date"));
    store(keys::dtpTime, QStringLiteral("1/2/1500 1:00:00 AM"));
    store(keys::txtEventName, QStringLiteral("Gala"));
    store(keys::txtItems, QStringLiteral("wine"));
    Window w;
    EXPECT_EQ(w.prompts.reportLines(), (QList<int>{128, 130}));
    EXPECT_TRUE(w.prompts.reports()[0].contains(
        QStringLiteral("\r\nin Festoria2021/08/31.Form1.Form_Load at line 128\r\r")));
    EXPECT_EQ(w.form.dtpDate->value(), MainWindow::initialPickerValue());
    EXPECT_EQ(w.form.dtpTime->value(), MainWindow::initialPickerValue());
    EXPECT_EQ(w.form.txtEventName->text(), QStringLiteral("Gala"));
    EXPECT_EQ(w.form.txtItems->text(), QStringLiteral("wine"));
    EXPECT_EQ(stored(keys::dtpDate), QStringLiteral("not a date")) << "restoring stores nothing";
}

// A stored text longer than a field can use is reported at its own restore step and stays
// stored; the field starts empty and the other fields are restored.
TEST(MainWindow, AStoredTextTooLongForItsFieldIsReportedAndLeftStored) {
    clearSettings();
    const QString justFits(kMaxBookmarkTextLength, QLatin1Char('i'));
    const QString tooLong = justFits + QLatin1Char('l');
    const QString huge(3 << 20, QLatin1Char('r'));
    store(keys::txtLocation, tooLong);
    store(keys::txtRSVP, huge);
    store(keys::txtItems, justFits);
    Window w;
    ASSERT_EQ(w.prompts.reportLines(), (QList<int>{134, 138}));
    EXPECT_TRUE(w.prompts.reports()[0].startsWith(
        QStringLiteral("The stored text for txtLocation is too long for the field: 32768 characters")));
    EXPECT_TRUE(w.form.txtLocation->text().isEmpty());
    EXPECT_TRUE(w.form.txtRSVP->text().isEmpty());
    EXPECT_EQ(w.form.txtItems->text(), justFits);
    w.form.txtEventName->setText(QStringLiteral("Gala"));
    EXPECT_EQ(stored(keys::txtLocation), tooLong);
    EXPECT_EQ(stored(keys::txtRSVP).size(), huge.size());
}

TEST(MainWindow, SampleAndClearFillTheFiveTextFieldsAndLeaveThePickers) {
    clearSettings();
    Window w;
    MainWindow& f = w.form;
    f.dtpDate->setValue(QDateTime(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC));
    const QString date = stored(keys::dtpDate);
    f.txtEventName->setText(QStringLiteral("old"));
    QTest::mouseClick(f.PushButton3, Qt::LeftButton);
    EXPECT_EQ(f.txtEventName->text(), QStringLiteral("Lobster Eating Party"));
    EXPECT_EQ(f.txtLocation->text(), QStringLiteral("Haverhill MA"));
    EXPECT_EQ(f.txtItems->text(), QStringLiteral("bib, meat extractors, cracking utensils, butter"));
    EXPECT_TRUE(f.txtDrive->text().startsWith(QStringLiteral("Take 66 West to 267 West, take the Wiehle exit")));
    EXPECT_TRUE(f.txtDrive->text().endsWith(QStringLiteral("until you pass the Baron Cameron intersection.")));
    EXPECT_TRUE(f.txtRSVP->text().contains(QLatin1Char('@')));
    EXPECT_EQ(stored(keys::txtItems), f.txtItems->text());
    EXPECT_EQ(stored(keys::txtRSVP), f.txtRSVP->text());

    QTest::mouseClick(f.PushButton2, Qt::LeftButton);
    QTest::mouseClick(f.PushButton2, Qt::LeftButton);
    for (QLineEdit* box : {f.txtEventName, f.txtLocation, f.txtItems, f.txtDrive, f.txtRSVP})
        EXPECT_TRUE(box->text().isEmpty());
    for (const QString& key : {keys::txtEventName, keys::txtLocation, keys::txtItems,
                               keys::txtDrive, keys::txtRSVP})
        EXPECT_EQ(stored(key), QString());
    EXPECT_EQ(stored(keys::dtpDate), date);
    EXPECT_EQ(f.dtpDate->value(), QDateTime(QDate(2021, 8, 21), QTime(0, 0), Qt::UTC));
    EXPECT_TRUE(w.prompts.shown.isEmpty());
}

TEST(MainWindow, ClosingTheWindowEndsTheProgram) {
    clearSettings();
    Window w;
    w.form.show();
    w.form.close();
    EXPECT_TRUE(w.ended);
}

TEST(ApplicationTitle, ShortensByWholeWordsToFortyCharacters) {
    const QString forty = QStringLiteral("abcdefghij abcdefghij abcdefghij abcdefg");
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(shortenedTitle(forty), forty);
    EXPECT_EQ(shortenedTitle(forty + QStringLiteral("h")), QStringLiteral("abcdefghij abcdefghij abcdefghij"));
    EXPECT_EQ(shortenedTitle(QStringLiteral("a b ") + QString(40, QLatin1Char('x'))), QStringLiteral("a b"));
    const QString noSpace(41, QLatin1Char('y'));
    EXPECT_EQ(shortenedTitle(noSpace), noSpace);
    setApplicationTitle();
    EXPECT_EQ(applicationTitle(), QStringLiteral("Festoria"));
}

TEST(QtPrompts, TheRealReportBoxCarriesCaptionTextIconAndOneButton) {
    QtPrompts prompts;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        EXPECT_EQ(box->standardButton(buttons.value(0)), QMessageBox::Ok);
        box->accept();
    });
    ErrorTrap trap(prompts, QStringLiteral("in Festoria2021/08/31.Form1.Form_Load "));
    trap(130, [] { throw AppError(QStringLiteral("Type mismatch")); });
    EXPECT_EQ(caption, QStringLiteral("Application Error"));
    EXPECT_EQ(text, errorReportText(QStringLiteral("Type mismatch"),
                                    QStringLiteral("in Festoria2021/08/31.Form1.Form_Load "), 130));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons.size(), 1);
}

TEST(MainWindow, EnterInAFieldDoesNotStartARequest) {
    clearSettings();
    Window w;
    const int atStart = w.office.applicationsCreated; // the start-up check
    w.form.show();
    for (QWidget* field : std::initializer_list<QWidget*>{w.form.txtEventName, w.form.txtRSVP,
                                                          w.form.dtpDate, w.form.dtpTime}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
    }
    EXPECT_EQ(w.office.applicationsCreated, atStart);
    EXPECT_FALSE(w.form.previewWindowLoaded());
    EXPECT_TRUE(w.form.isVisible());
    for (QPushButton* b : {w.form.PushButton6, w.form.PushButton2, w.form.PushButton3})
        EXPECT_EQ(b->accessibleName(), b->text());
    for (int i = 0; i < w.form.Label4.size(); ++i)
        EXPECT_FALSE(w.form.Label4[i]->text().isEmpty());
    EXPECT_EQ(w.form.txtDrive->accessibleName(), QStringLiteral("Driving Directions:"));
}
