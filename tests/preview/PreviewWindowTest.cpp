// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PreviewWindow.h"
#include "core/Files.h"
#include "output/Outbox.h"
#include "preview/PictureBox.h"
#include "preview/PreviewFixtures.h"
#include "support/FakeClipboard.h"
#include "support/FakeOffice.h"
#include "support/MailDesktop.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Centre.h"
#include "widgets/WindowPointer.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
struct Preview : ::testing::Test {
    ScriptedPrompts prompts;
    FakeOffice office;
    QWidget mainWindow;
    std::unique_ptr<PreviewWindow> window;
    FakeClipboard* clipboard = new FakeClipboard; // the window's
    int ended = 0;

    void SetUp() override {
        window = std::make_unique<PreviewWindow>(
            prompts, office, &mainWindow, QCoreApplication::applicationDirPath(),
            [this] { ++ended; }, std::unique_ptr<Clipboard>(clipboard));
    }

    QString newDocument(const QString& name) {
        const QString path = tempPath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a Word 97 document");
        return path;
    }
    // What the request does: picture, document, show; the main window hides.
    void request(const QImage& picture, const QString& document) {
        window->setPicture(picture);
        window->setDocumentPath(document);
        window->show();
        mainWindow.hide();
        QApplication::processEvents();
    }

    template <typename T = QWidget> T* control(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QRgb pictureColourAt(QPoint point) { return control("page")->grab().toImage().pixel(point); }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QWidget* picture = control("page");
        QMouseEvent event(type, QPointF(at), QPointF(picture->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
    }
};
} // namespace

// A window of fixed size in which every control shows whole, clear of the others, named for
// screen readers; the scroll bars run along the page's frame, the zoom buttons sit in their
// box, and each button is wide enough for its caption.
TEST_F(Preview, EveryControlShowsWholeInAFixedWindow) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Festoria"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    const struct {
        const char* name;
        const char* accessibleName;
    } controls[] = {
        {"pageFrame", "Invitation preview"},
        {"verticalScroll", "Scroll up and down"},
        {"horizontalScroll", "Scroll sideways"},
        {"zoomBox", "Zoom:"},
        {"backButton", "< Back"},
        {"saveButton", "Save Results To Word File"},
    };
    for (const auto& c : controls) {
        QWidget* widget = control(c.name);
        EXPECT_EQ(widget->parentWidget(), window.get()) << c.name;
        EXPECT_TRUE(window->rect().contains(widget->geometry())) << c.name;
        EXPECT_EQ(widget->accessibleName(), QString::fromLatin1(c.accessibleName)) << c.name;
        for (const auto& other : controls)
            if (&other != &c) {
                EXPECT_FALSE(widget->geometry().intersects(control(other.name)->geometry()))
                    << c.name << " " << other.name;
            }
    }
    const QRect frame = control("pageFrame")->geometry();
    const QRect across = control("horizontalScroll")->geometry();
    const QRect down = control("verticalScroll")->geometry();
    EXPECT_EQ(std::pair(across.left(), across.width()), std::pair(frame.left(), frame.width()));
    EXPECT_EQ(across.top(), frame.bottom() + 1);
    EXPECT_EQ(std::pair(down.top(), down.height()), std::pair(frame.top(), frame.height()));
    EXPECT_EQ(down.left(), frame.right() + 1);

    QWidget* zoomBox = control("zoomBox");
    for (const char* name : {"zoomInButton", "zoomOutButton", "backButton", "saveButton"}) {
        auto* button = control<QPushButton>(name);
        EXPECT_EQ(button->text(), button->accessibleName());
        EXPECT_GE(button->width(), button->minimumSizeHint().width()) << name;
        if (button->parentWidget() == zoomBox) {
            EXPECT_TRUE(zoomBox->rect().contains(button->geometry())) << name;
        }
    }
    EXPECT_EQ(control("zoomInButton")->parentWidget(), zoomBox);
    EXPECT_EQ(control("zoomOutButton")->parentWidget(), zoomBox);
    EXPECT_EQ(control<QGroupBox>("zoomBox")->title(), QStringLiteral("Zoom:"));
    EXPECT_EQ(control("page")->accessibleName(), QStringLiteral("Invitation picture"));
    EXPECT_TRUE(control("unscaledPage")->isHidden());
    EXPECT_TRUE(window->newPicturePending());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// On a screen too small for it (a 2x scale on a 1600x1200 display leaves 800x600), the window
// opens no larger than the free area, its controls in place and scrolled to, by Tab too; where
// it fits, it stays exactly as it is.
TEST_F(Preview, OnASmallScreenTheWindowFitsAndItsControlsScroll) {
    const QSize full = window->size();
    fitWithin(*window, QRect(QPoint(0, 0), full + QSize(40, 40)));
    EXPECT_EQ(window->findChild<QScrollArea*>(), nullptr);
    EXPECT_EQ(window->size(), full);

    const QRect saveAt = control("saveButton")->geometry();
    const QRect small(100, 50, 800, 560);
    placeWithin(*window, small);
    EXPECT_TRUE(small.contains(window->frameGeometry()));
    window->show();
    auto* scroll = window->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0); // only what does not fit scrolls
    auto* save = control("saveButton");
    EXPECT_EQ(save->geometry(), saveAt);
    const auto inView = [&](QWidget* w) {
        return scroll->viewport()->rect().contains(
            QRect(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size()));
    };
    EXPECT_FALSE(inView(save));
    control("page")->setFocus();
    for (int tabs = 0; tabs < 20 && QApplication::focusWidget() != save; ++tabs)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), save);
    EXPECT_TRUE(inView(save));
}

// A keyboard user reaches every control that can be used with Tab, each once, and Shift+Tab
// goes back the same way.
TEST_F(Preview, TabReachesEveryUsableControlOnceAndShiftTabGoesBack) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000009.doc")));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QSet<QWidget*> usable;
    for (QWidget* w : window->findChildren<QWidget*>()) // buttons and bars whatever their policy
        if ((w->focusPolicy() & Qt::TabFocus || qobject_cast<QAbstractButton*>(w) ||
             qobject_cast<QAbstractSlider*>(w)) &&
            w->isVisible() && w->isEnabled())
            usable << w;
    control("page")->setFocus();
    for (const Qt::KeyboardModifier way : {Qt::NoModifier, Qt::ShiftModifier}) {
        QList<QWidget*> reached;
        do {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, way);
        } while (QApplication::focusWidget() != control("page") && reached.size() <= usable.size());
        EXPECT_EQ(QSet<QWidget*>(reached.begin(), reached.end()), usable);
        EXPECT_EQ(reached.size(), usable.size());
    }
}

TEST_F(Preview, FirstShowDrawsThePictureAndASecondActivationDoesNothing) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000001.doc")));
    EXPECT_FALSE(window->newPicturePending());
    // 6120 x 7920 twips, drawn from 6058 x 7858 at 100 %.
    EXPECT_EQ(control("page")->geometry(), QRect(0, 0, 404, 524));
    EXPECT_EQ(control<PictureBox>("unscaledPage")->pictureTwips(), QSize(6120, 7920));
    EXPECT_EQ(QColor(pictureColourAt({200, 260})), QColor(Qt::blue));
    EXPECT_FALSE(control("horizontalScroll")->isEnabled());
    EXPECT_TRUE(control("verticalScroll")->isEnabled());
    EXPECT_EQ(control<QScrollBar>("verticalScroll")->maximum(), 50);

    // The scroll bar moves the picture 10 twips per step; Zoom In draws larger around the
    // view's centre, and the bar shows where the view is.
    control<QScrollBar>("verticalScroll")->setValue(30);
    EXPECT_EQ(control("page")->y(), -20);
    control<QPushButton>("zoomInButton")->click();
    EXPECT_EQ(window->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(control("page")->geometry(), QRect(0, -86, 505, 655));
    EXPECT_EQ(control<QScrollBar>("verticalScroll")->value(), 130);

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    window->showNewPicture();
    EXPECT_EQ(window->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(control("page")->width(), 505);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, DraggingMovesThePictureAndReleaseSetsTheScrollBar) {
    request(pagePicture(Qt::green), newDocument(QStringLiteral("qorvel00000002.doc")));
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {100, 80}, Qt::LeftButton); // 20 px = 300 twips up
    EXPECT_EQ(control("page")->y(), -20);
    mouse(QEvent::MouseMove, {100, 0}, Qt::NoButton); // no button: nothing
    EXPECT_EQ(control("page")->y(), -20);
    mouse(QEvent::MouseButtonRelease, {100, 80}, Qt::NoButton);
    // The page stays where it was let go, 300 twips up: the bar's 30th step of 10.
    EXPECT_EQ(control<QScrollBar>("verticalScroll")->value(), 30);
    EXPECT_EQ(control("page")->y(), -20);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, BackDeletesTheDocumentShowsTheMainWindowAndHides) {
    const QString document = newDocument(QStringLiteral("qorvel00000003.doc"));
    request(pagePicture(Qt::blue), document);
    ASSERT_TRUE(window->isVisible());
    control<QPushButton>("backButton")->click();
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ended, 0);

    // A second invitation: the set-up runs again with the new picture.
    control<QPushButton>("zoomInButton")->click(); // zoom while hidden does no harm
    const QString second = newDocument(QStringLiteral("qorvel00000004.doc"));
    request(pagePicture(Qt::red), second);
    EXPECT_FALSE(window->newPicturePending());
    EXPECT_EQ(window->zoomModel().zoom(), 1.0f);
    EXPECT_EQ(control("page")->geometry(), QRect(0, 0, 404, 524));
    control<QPushButton>("zoomInButton")->click();
    EXPECT_EQ(QColor(pictureColourAt({250, 300})), QColor(Qt::red));
    EXPECT_EQ(window->documentPath(), second);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, CloseDeletesTheDocumentAndEndsTheProgram) {
    const QString document = newDocument(QStringLiteral("qorvel00000005.doc"));
    request(pagePicture(Qt::blue), document);
    window->close();
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(mainWindow.isVisible()); // the main window is not shown on the way out
    // A document already gone is no error.
    window->discardDocument();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, SaveCopiesTheDocumentTheWindowHolds) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000006.doc")));
    QTemporaryDir folder;
    prompts.saveNames << folder.filePath(QStringLiteral("party.doc"));
    control<QPushButton>("saveButton")->click();
    QFile saved(folder.filePath(QStringLiteral("party.doc")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("a Word 97 document"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Done."));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Preview, ButtonsShowTheHandAndTheFrameTheArrow) {
    WindowPointer& pointer = window->pointer();
    pointer.hovered(control("saveButton"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom);
    for (const char* passive : {"page", "pageFrame", "horizontalScroll", "verticalScroll"}) {
        pointer.hovered(control(passive));
        EXPECT_EQ(pointer.mode(), WindowPointer::Custom) << passive;
    }
    pointer.hovered(control("zoomBox"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    pointer.hovered(control("zoomInButton"));
    pointer.hovered(window.get());
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    pointer.setMode(WindowPointer::Hourglass);
    pointer.hovered(control("zoomOutButton"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Hourglass);
    // Drawing a zoom step puts the arrow back.
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000007.doc")));
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
}

TEST_F(Preview, TheHandPointerIsLoadedFromTheProgramFolder) {
    QTemporaryDir empty;
    PreviewWindow withoutHand(prompts, office, &mainWindow, empty.path());
    EXPECT_FALSE(withoutHand.pointer().hasHandCursor());
    withoutHand.pointer().hovered(withoutHand.findChild<QWidget*>(QStringLiteral("zoomInButton")));
    EXPECT_EQ(withoutHand.pointer().mode(), WindowPointer::Custom);

    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(FESTORIA_HAND_CURSOR),
                            folder.filePath(QStringLiteral("HAND-M.CUR"))));
    PreviewWindow withHand(prompts, office, &mainWindow, folder.path());
    EXPECT_TRUE(withHand.pointer().hasHandCursor());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// Each failure the window can meet is reported at its step, and the window goes on.
TEST_F(Preview, FailuresAreReportedAtTheirStepsAndTheWindowGoesOn) {
    QTemporaryDir folder;
    QFile broken(folder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("not a cursor") > 0);
    broken.close();
    QImage tall(10, 30000, QImage::Format_RGB32); // 450000 twips high: no scroll bar holds it
    tall.fill(Qt::blue);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"in Festoria2021/08/31.Form2.Form_Load at line 110",
         [&] { // a file that is no pointer
             PreviewWindow brokenHand(prompts, office, &mainWindow, folder.path());
             EXPECT_FALSE(brokenHand.pointer().hasHandCursor());
             EXPECT_EQ(brokenHand.windowTitle(), QStringLiteral("Festoria"));
         }},
        {"Form2.Form_Activate at line 136",
         [&] {
             request(tall, newDocument(QStringLiteral("qorvel00000011.doc")));
             EXPECT_FALSE(window->newPicturePending());
         }},
        {"Form2.mnuEmail_Click at line 100",
         [&] { // the office cannot write the PDF
             QDir(outboxFolder()).removeRecursively();
             office.fail(FakeOffice::Op::Export);
             window->sendByEmail();
             EXPECT_TRUE(QDir(outboxFolder()).isEmpty()) << "no folder left behind";
             EXPECT_EQ(window->pointer().mode(), WindowPointer::Default);
         }},
        {"Form2.PushButton8_Click at line 104",
         [&] { // Back without a main window
             PreviewWindow orphan(prompts, office, nullptr, QString(), [] {});
             orphan.show();
             orphan.back();
             EXPECT_FALSE(orphan.isVisible());
         }},
    };
    for (const auto& [report, fail] : cases) {
        prompts.clear();
        fail();
        ASSERT_EQ(prompts.reports().size(), 1) << report;
        EXPECT_TRUE(prompts.reports()[0].contains(QString::fromLatin1(report))) << report;
    }
}

TEST(PictureTwips, ComeFromTheResolutionOrFifteenPerPixel) {
    EXPECT_EQ(pictureTwipsOf(pagePicture(Qt::white)), QSize(6120, 7920));
    QImage plain(100, 50, QImage::Format_RGB32);
    plain.setDotsPerMeterX(0);
    plain.setDotsPerMeterY(0);
    EXPECT_EQ(pictureTwipsOf(plain), QSize(1500, 750));
}

TEST_F(Preview, WheelAndShortcutsGoThroughTheSameHandlers) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000009.doc")));
    window->activateWindow();
    auto wheel = [&](int dy, Qt::KeyboardModifiers modifiers) {
        QWidget* picture = control("page");
        QWheelEvent event(QPointF(50, 50), QPointF(picture->mapToGlobal(QPoint(50, 50))), QPoint(),
                          QPoint(0, dy), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &event);
    };
    auto* vertical = control<QScrollBar>("verticalScroll");
    wheel(-120, Qt::NoModifier); // one notch down: three arrow steps, here to the bottom
    EXPECT_EQ(vertical->value(), 50);
    EXPECT_EQ(control("page")->y(), -33) << "the bar's own handler moved the picture";
    wheel(120, Qt::ShiftModifier); // sideways: the horizontal bar is off at 100 %
    EXPECT_EQ(control<QScrollBar>("horizontalScroll")->value(), 0);
    wheel(60, Qt::ControlModifier); // half a notch zooms nothing yet
    EXPECT_EQ(window->zoomModel().zoom(), 1.0f);
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(window->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(vertical->value(), 154) << "the zoom keeps the view's centre; the bar follows";
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(window->zoomModel().zoom(), 1.0f);

    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window->zoomModel().zoom(), 1.25f);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window->zoomModel().zoom(), 0.25f);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window->zoomModel().zoom(), 0.25f) << "the same limit as the button";

    prompts.saveNames = {QString()}; // Ctrl+S opens the save dialog; cancel it
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_EQ(prompts.saveDialogs[0].title, QStringLiteral("Save File"));
}

TEST_F(Preview, ThePicturesMenuAndItsKeysSavePrintAndCopy) {
    const QImage picture = pagePicture(Qt::blue);
    request(picture, newDocument(QStringLiteral("qorvel00000010.doc")));
    window->activateWindow();

    QWidget* picture1 = control("page");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                picture1->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(picture1, &menuEvent);
    auto* menu = control<QMenu>("pictureMenu");
    ASSERT_TRUE(menu->isVisible());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Save As..."), QStringLiteral("Print..."),
                           QStringLiteral("Send by Email..."), QStringLiteral("Copy Picture")}));
    menu->actions()[0]->trigger(); // the save button's handler: its dialog, cancelled
    menu->hide();
    EXPECT_EQ(prompts.saveDialogs.size(), 1);

    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier); // a plain picture, no mark
    ASSERT_TRUE(clipboard->content.has_value());
    EXPECT_EQ(clipboard->content->picture, picture);
    EXPECT_TRUE(clipboard->content->mark.isEmpty());

    // Ctrl+P opens the print dialog; cancelling it prints nothing and asks the office nothing.
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompts.printDialogs, 1);
    EXPECT_TRUE(office.log.isEmpty());
    // A failing office gets one report, and the window stays as it was.
    QTemporaryDir out;
    prompts.printFiles << out.filePath(QStringLiteral("page.pdf"));
    office.fail(FakeOffice::Op::Export);
    menu->actions()[1]->trigger();
    EXPECT_EQ(prompts.printDialogs, 2);
    ASSERT_EQ(prompts.reports().size(), 1);
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("Form2.mnuPrint_Click")));
    EXPECT_EQ(window->pointer().mode(), WindowPointer::Default) << "the hourglass went away";
    EXPECT_EQ(office.liveSessions, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Preview, WithoutAMailProgramAMessageSaysWhereThePdfIs) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000012.doc")));
    window->setEventDetails(
        {QStringLiteral("Party 2024/25"), QDate(2026, 7, 4), QTime(19, 30), {}, {}, {}, {}, {}});
    window->activateWindow();
    QTemporaryDir noPrograms;
    const std::pair<const char*, QString> cases[] = {
        {"No mail program could be opened: none is set up.", QString()}, // PATH as it is
        {"xdg-email (from xdg-utils) could not be started.", noPrograms.path()}};
    for (const auto& [reason, searchPath] : cases) {
        const MailDesktop desktop(false);
        ScopedVariable path("PATH");
        if (!searchPath.isEmpty())
            path.set(QFile::encodeName(searchPath));
        prompts.clear();
        QDir(outboxFolder()).removeRecursively();
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier); // "Send by Email..."
        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.isEmpty(); }, 30000)) << reason;
        const QString folder = QDir(outboxFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)[0];
        const QString pdf = outboxFolder() + u'/' + folder + QStringLiteral("/Party 2024 25.pdf");
        EXPECT_TRUE(QFile::exists(pdf)) << pdf.toStdString();
        EXPECT_TRUE(prompts.shown[0].text.contains(QString::fromUtf8(reason)));
        EXPECT_TRUE(prompts.shown[0].text.contains(pdf)) << prompts.shown[0].text.toStdString();
        EXPECT_TRUE(prompts.reports().isEmpty());
    }
}

// The picture's menu the desktop way: Shift+F10 and the Menu key open it on the focused page,
// which shows a focus mark; screen readers get the invitation's text, the menu's actions and
// a window.
TEST_F(Preview, TheKeyboardOpensThePicturesMenuAndAssistiveTechnologyFindsItAll) {
    const QImage picture = pagePicture(Qt::blue);
    request(picture, newDocument(QStringLiteral("qorvel00000013.doc")));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* page = control("page");
    page->setFocus();
    EXPECT_TRUE(control("pageFocusMark")->isVisible());
    auto* menu = control<QMenu>("pictureMenu");
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        QTest::keyClick(page, key, modifiers);
        EXPECT_TRUE(menu->isVisible()) << key;
        menu->hide();
    }
    EXPECT_TRUE(page->toolTip().contains(QStringLiteral("Shift+F10")));
    control<QPushButton>("zoomInButton")->setFocus();
    EXPECT_FALSE(control("pageFocusMark")->isVisible());

    const QString text = QStringLiteral("You’re invited to celebrate…\nRSVP to: Anna");
    window->setInvitationText(text);
    QAccessibleInterface* accessiblePage = QAccessible::queryAccessibleInterface(page);
    ASSERT_NE(accessiblePage, nullptr);
    EXPECT_EQ(accessiblePage->text(QAccessible::Description), text);
    QAccessibleActionInterface* actions = accessiblePage->actionInterface();
    ASSERT_NE(actions, nullptr);
    for (QAction* action : menu->actions())
        EXPECT_TRUE(actions->actionNames().contains(action->text()))
            << action->text().toStdString();
    actions->doAction(QStringLiteral("Copy Picture"));
    ASSERT_TRUE(clipboard->content.has_value());
    EXPECT_EQ(clipboard->content->picture, picture);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.get())->role(), QAccessible::Window);
}

// A part of the picture is drawn from its own rows, as from a copy of the part, for pictures
// of every kind (817 x 1057 pixels, 6058 x 7858 twips of 6120 x 7920 drawn at half).
TEST(ZoomedPicture, APartIsDrawnAsFromACopyOfIt) {
    QImage page(817, 1057, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            page.setPixel(x, y, qRgb(x * 7, y * 5, (x * y) & 0xff));
    for (const QImage& picture : {page, page.convertToFormat(QImage::Format_Indexed8),
                                  page.convertToFormat(QImage::Format_RGB888)}) {
        const QPixmap drawn = renderZoomed(picture, {6120, 7920}, {6058, 7858}, {3029, 3929}, 1);
        const QImage copied =
            picture.copy(0, 0, 809, 1049)
                .scaled(202, 262, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_EQ(drawn.toImage().convertToFormat(QImage::Format_RGB32),
                  copied.convertToFormat(QImage::Format_RGB32));
    }
}
