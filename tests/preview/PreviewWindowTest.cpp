#include "core/Files.h"
#include "preview/PreviewWindow.h"
#include "preview/PictureBox.h"
#include "preview/PreviewFixtures.h"
#include "support/FakeOffice.h"
#include "support/ScriptedPrompts.h"
#include "widgets/WindowPointer.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
struct Preview : ::testing::Test {
    ScriptedPrompts prompts;
    FakeOffice office;
    QWidget form1;
    std::unique_ptr<PreviewWindow> form;
    int ended = 0;

    void SetUp() override {
        form = std::make_unique<PreviewWindow>(prompts, office, &form1,
                                       QCoreApplication::applicationDirPath(), [this] { ++ended; });
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
        form->setPicture(picture);
        form->mWordFile = document;
        form->show();
        form1.hide();
        QApplication::processEvents();
    }

    template <typename T = QWidget> T* control(const char* name) {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QRgb pictureColourAt(QPoint point) {
        return control("Picture1")->grab().toImage().pixel(point);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QWidget* picture = control("Picture1");
        QMouseEvent event(type, QPointF(at), QPointF(picture->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
    }
};
} // namespace

TEST_F(Preview, TheWindowIsLaidOutInPixelsFromItsDesign) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Festoria"));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_EQ(form->size(), QSize(656, 626));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->font().bold());
    EXPECT_EQ(form->font().pointSizeF(), 9.0);

    EXPECT_EQ(control("Picture2")->geometry(), QRect(8, 8, 622, 495));
    EXPECT_EQ(control<QFrame>("Picture2")->contentsRect(), QRect(2, 2, 618, 491));
    EXPECT_EQ(control("VScroll1")->geometry(), QRect(630, 8, 17, 495));
    EXPECT_EQ(control("HScroll1")->geometry(), QRect(8, 503, 622, 17));
    EXPECT_EQ(control("Frame1")->geometry(), QRect(8, 524, 640, 57));
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), QStringLiteral("Zoom:"));
    const std::pair<const char*, QRect> buttons[] = {
        {"PushButton1", QRect(16, 20, 296, 27)}, {"PushButton2", QRect(320, 20, 304, 27)},
        {"PushButton8", QRect(8, 590, 312, 27)}, {"PushButton6", QRect(328, 590, 320, 27)}};
    for (const auto& [name, rect] : buttons) {
        auto* button = control<QPushButton>(name);
        EXPECT_EQ(button->geometry(), rect) << name;
        EXPECT_EQ(button->font().pointSizeF(), 11.25) << name;
        EXPECT_TRUE(button->font().bold()) << name;
    }
    EXPECT_EQ(control<QPushButton>("PushButton6")->text(),
              QStringLiteral("Save Results To Word File"));
    EXPECT_EQ(control<QPushButton>("PushButton8")->text(), QStringLiteral("< Back"));
    EXPECT_TRUE(control("Zoom_Ori")->isHidden());

    // Tab order among the controls that take the focus (the frame and the hidden Zoom_Ori
    // take none).
    QStringList tabStops;
    QWidget* w = control("HScroll1");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            tabStops << w->objectName();
        w = w->nextInFocusChain();
    } while (w != control("HScroll1"));
    EXPECT_EQ(tabStops.join(u' '), QStringLiteral("HScroll1 VScroll1 Picture2 Picture1 PushButton1 "
                                                  "PushButton2 PushButton6 PushButton8"));
    EXPECT_TRUE(form->firstActivatePending());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, FirstShowDrawsThePictureAndASecondActivationDoesNothing) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000001.doc")));
    EXPECT_FALSE(form->firstActivatePending());
    // 6120 x 7920 twips, drawn from 6058 x 7858 at 100 %.
    EXPECT_EQ(control("Picture1")->geometry(), QRect(0, 0, 404, 524));
    EXPECT_EQ(control<PictureBox>("Zoom_Ori")->pictureTwips(), QSize(6120, 7920));
    EXPECT_EQ(QColor(pictureColourAt({200, 260})), QColor(Qt::blue));
    EXPECT_FALSE(control("HScroll1")->isEnabled());
    EXPECT_TRUE(control("VScroll1")->isEnabled());
    EXPECT_EQ(control<QScrollBar>("VScroll1")->maximum(), 43);

    // The scroll bar moves the picture 10 twips per step; Zoom In draws larger.
    control<QScrollBar>("VScroll1")->setValue(30);
    EXPECT_EQ(control("Picture1")->y(), -20);
    control<QPushButton>("PushButton1")->click();
    EXPECT_EQ(form->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(control("Picture1")->geometry(), QRect(0, 0, 505, 655));
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 0);

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    form->Form_Activate();
    EXPECT_EQ(form->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(control("Picture1")->width(), 505);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, DraggingMovesThePictureAndReleaseSetsTheScrollBar) {
    request(pagePicture(Qt::green), newDocument(QStringLiteral("qorvel00000002.doc")));
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {100, 80}, Qt::LeftButton); // 20 px = 300 twips up
    EXPECT_EQ(control("Picture1")->y(), -20);
    mouse(QEvent::MouseMove, {100, 0}, Qt::NoButton); // no button: nothing
    EXPECT_EQ(control("Picture1")->y(), -20);
    mouse(QEvent::MouseButtonRelease, {100, 80}, Qt::NoButton);
    // 300 of 433 twips: 69 %, of maximum 43: 30 -> 300 twips.
    EXPECT_EQ(control<QScrollBar>("VScroll1")->value(), 30);
    EXPECT_EQ(control("Picture1")->y(), -20);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, BackDeletesTheDocumentShowsTheMainWindowAndHides) {
    const QString document = newDocument(QStringLiteral("qorvel00000003.doc"));
    request(pagePicture(Qt::blue), document);
    ASSERT_TRUE(form->isVisible());
    control<QPushButton>("PushButton8")->click();
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_TRUE(form1.isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ended, 0);

    // A second invitation: the set-up runs again with the new picture.
    control<QPushButton>("PushButton1")->click(); // zoom while hidden does no harm
    const QString second = newDocument(QStringLiteral("qorvel00000004.doc"));
    request(pagePicture(Qt::red), second);
    EXPECT_FALSE(form->firstActivatePending());
    EXPECT_EQ(form->zoomModel().zoom(), 1.0f);
    EXPECT_EQ(control("Picture1")->geometry(), QRect(0, 0, 404, 524));
    control<QPushButton>("PushButton1")->click();
    EXPECT_EQ(QColor(pictureColourAt({250, 300})), QColor(Qt::red));
    EXPECT_EQ(form->mWordFile, second);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, CloseDeletesTheDocumentAndEndsTheProgram) {
    const QString document = newDocument(QStringLiteral("qorvel00000005.doc"));
    request(pagePicture(Qt::blue), document);
    form->close();
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(form1.isVisible()); // the main window is not shown on the way out
    // A document already gone is no error.
    form->Form_QueryUnload();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(Preview, SaveCopiesTheDocumentTheWindowHolds) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000006.doc")));
    QTemporaryDir folder;
    prompts.saveNames << folder.filePath(QStringLiteral("party.doc"));
    control<QPushButton>("PushButton6")->click();
    QFile saved(folder.filePath(QStringLiteral("party.doc")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("a Word 97 document"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Done."));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Preview, ButtonsShowTheHandAndTheFrameTheArrow) {
    WindowPointer& pointer = form->pointer();
    pointer.hovered(control("PushButton6"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Custom);
    for (const char* passive : {"Picture1", "Picture2", "HScroll1", "VScroll1"}) {
        pointer.hovered(control(passive));
        EXPECT_EQ(pointer.mode(), WindowPointer::Custom) << passive;
    }
    pointer.hovered(control("Frame1"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    pointer.hovered(control("PushButton1"));
    pointer.hovered(form.get());
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
    pointer.setMode(WindowPointer::Hourglass);
    pointer.hovered(control("PushButton2"));
    EXPECT_EQ(pointer.mode(), WindowPointer::Hourglass);
    // Drawing a zoom step puts the arrow back.
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000007.doc")));
    EXPECT_EQ(pointer.mode(), WindowPointer::Default);
}

TEST_F(Preview, TheHandPointerIsLoadedFromTheProgramFolder) {
    QTemporaryDir empty;
    PreviewWindow withoutHand(prompts, office, &form1, empty.path());
    EXPECT_FALSE(withoutHand.pointer().hasHandCursor());
    withoutHand.pointer().hovered(withoutHand.findChild<QWidget*>(QStringLiteral("PushButton1")));
    EXPECT_EQ(withoutHand.pointer().mode(), WindowPointer::Custom);

    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(FESTORIA_HAND_CURSOR),
                            folder.filePath(QStringLiteral("HAND-M.CUR"))));
    PreviewWindow withHand(prompts, office, &form1, folder.path());
    EXPECT_TRUE(withHand.pointer().hasHandCursor());
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A cursor file that is no cursor is reported, and the window loads all the same.
    QFile broken(empty.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a cursor");
    broken.close();
    PreviewWindow brokenHand(prompts, office, &form1, empty.path());
    EXPECT_EQ(prompts.reportLines(), QList<int>{110});
    EXPECT_TRUE(prompts.reports()[0].contains(
        QStringLiteral("in Festoria2021/08/31.Form2.Form_Load at line 110")));
    EXPECT_FALSE(brokenHand.pointer().hasHandCursor());
    EXPECT_EQ(brokenHand.windowTitle(), QStringLiteral("Festoria"));
}

TEST_F(Preview, BackWithoutAMainWindowReportsAndStillHides) {
    PreviewWindow orphan(prompts, office, nullptr, QCoreApplication::applicationDirPath(), [] {});
    orphan.show();
    QApplication::processEvents();
    orphan.PushButton8_Click();
    EXPECT_EQ(prompts.reportLines(), QList<int>{104});
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("Form2.PushButton8_Click at line 104")));
    EXPECT_FALSE(orphan.isVisible());
}

TEST(PictureTwips, ComeFromTheResolutionOrFifteenPerPixel) {
    EXPECT_EQ(pictureTwipsOf(pagePicture(Qt::white)), QSize(6120, 7920));
    QImage plain(100, 50, QImage::Format_RGB32);
    plain.setDotsPerMeterX(0);
    plain.setDotsPerMeterY(0);
    EXPECT_EQ(pictureTwipsOf(plain), QSize(1500, 750));
}

TEST_F(Preview, WheelShortcutsAndAccessibleNamesGoThroughTheSameHandlers) {
    request(pagePicture(Qt::blue), newDocument(QStringLiteral("qorvel00000009.doc")));
    form->activateWindow();
    auto wheel = [&](int dy, Qt::KeyboardModifiers modifiers) {
        QWidget* picture = control("Picture1");
        QWheelEvent event(QPointF(50, 50), QPointF(picture->mapToGlobal(QPoint(50, 50))), QPoint(),
                          QPoint(0, dy), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &event);
    };
    auto* vertical = control<QScrollBar>("VScroll1");
    wheel(-120, Qt::NoModifier); // one notch down: three steps of the bar
    EXPECT_EQ(vertical->value(), 3);
    EXPECT_EQ(control("Picture1")->y(), -2) << "the bar's own handler moved the picture";
    wheel(120, Qt::ShiftModifier); // sideways: the horizontal bar is off at 100 %
    EXPECT_EQ(control<QScrollBar>("HScroll1")->value(), 0);
    wheel(60, Qt::ControlModifier); // half a notch zooms nothing yet
    EXPECT_EQ(form->zoomModel().zoom(), 1.0f);
    wheel(60, Qt::ControlModifier);
    EXPECT_EQ(form->zoomModel().zoom(), 1.25f);
    EXPECT_EQ(vertical->value(), 0) << "a zoom step sets the bars back to 0";
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(form->zoomModel().zoom(), 1.0f);

    QTest::keyClick(form.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(form->zoomModel().zoom(), 1.25f);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form->zoomModel().zoom(), 0.25f);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form->zoomModel().zoom(), 0.25f) << "the same limit as the button";

    prompts.saveNames = {QString()}; // Ctrl+S opens the save dialog; cancel it
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_EQ(prompts.saveDialogs[0].title, QStringLiteral("Save File"));

    for (const char* name : {"PushButton1", "PushButton2", "PushButton6", "PushButton8"})
        EXPECT_EQ(control<QPushButton>(name)->accessibleName(), control<QPushButton>(name)->text());
    for (const char* name : {"Picture1", "Picture2", "HScroll1", "VScroll1", "Frame1"})
        EXPECT_FALSE(control(name)->accessibleName().isEmpty()) << name;
}

TEST_F(Preview, ThePicturesMenuAndItsKeysSavePrintAndCopy) {
    const QImage picture = pagePicture(Qt::blue);
    request(picture, newDocument(QStringLiteral("qorvel00000010.doc")));
    form->activateWindow();

    QWidget* picture1 = control("Picture1");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                picture1->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(picture1, &menuEvent);
    auto* menu = control<QMenu>("PictureMenu");
    ASSERT_TRUE(menu->isVisible());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Save As..."), QStringLiteral("Print..."),
                                     QStringLiteral("Copy Picture")}));
    menu->actions()[0]->trigger(); // the save button's handler: its dialog, cancelled
    menu->hide();
    EXPECT_EQ(prompts.saveDialogs.size(), 1);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image(), picture.convertToFormat(
                                                          QGuiApplication::clipboard()->image().format()));

    // Ctrl+P opens the print dialog; cancelling it prints nothing and asks the office nothing.
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompts.printDialogs, 1);
    EXPECT_TRUE(office.log.isEmpty());
    // A failing office gets one report, and the window stays as it was.
    QTemporaryDir out;
    prompts.printFiles << out.filePath(QStringLiteral("page.pdf"));
    office.fail(FakeOffice::Op::RenderPicture);
    menu->actions()[1]->trigger();
    EXPECT_EQ(prompts.printDialogs, 2);
    ASSERT_EQ(prompts.reports().size(), 1);
    EXPECT_TRUE(prompts.reports()[0].contains(QStringLiteral("Form2.mnuPrint_Click")));
    EXPECT_EQ(form->pointer().mode(), WindowPointer::Default) << "the hourglass went away";
    EXPECT_EQ(office.liveSessions, 0);
    EXPECT_TRUE(form->isVisible());
}
