#include "preview/PreviewWindow.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Product.h"
#include "core/Twips.h"
#include "preview/PictureBox.h"
#include "preview/PrintDocument.h"
#include "preview/SaveDocument.h"
#include "resources/Resources.h"
#include "widgets/Centre.h"
#include "widgets/Theme.h"
#include "widgets/WindowPointer.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace {
const QString kNoPictureBox = QStringLiteral("No picture box");

// The window's design, in twips.
constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9390;
constexpr int kViewportWidth = 9330;
constexpr int kViewportHeight = 7425;
// The standard sunken border of Picture2 and Zoom_Ori: 2 pixels on each side.
constexpr int kBorderPixels = 2;
constexpr int kBorderTwips = kBorderPixels * kTwipsPerPixel;
// Picture1's size before it is given a picture.
constexpr int kPictureDesignWidth = 2340;
constexpr int kPictureDesignHeight = 3435;

// Smooth scaling is fastest on 32-bit pixels; convert once, when the picture arrives.
QImage fastFormat(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32 ||
        picture.format() == QImage::Format_ARGB32_Premultiplied)
        return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}
} // namespace

PreviewWindow::PreviewWindow(Prompts& prompts, office::Office& office, QWidget* mainWindow, QString programFolder,
             std::function<void()> endProgram)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint),
      mPrompts(prompts), mOffice(office), mMainWindow(mainWindow),
      mProgramFolder(std::move(programFolder)),
      mEndProgram(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }) {
    buildControls();
    buildPictureMenu();
    mModel = std::make_unique<ZoomModel>(mPrompts, static_cast<ZoomSurface&>(*this), kViewportWidth,
                                         kViewportHeight, kBorderTwips, kBorderTwips);
    mModel->pictureLoaded(kPictureDesignWidth, kPictureDesignHeight);
    scrollBarsChanged();

    mPointer = new WindowPointer(this);
    for (QPushButton* button : {PushButton1, PushButton2, PushButton6, PushButton8})
        mPointer->setHover(button, WindowPointer::Hover::SetsCustom);
    mPointer->setHover(Frame1, WindowPointer::Hover::SetsDefault);
    // Pictures and scroll bars leave the pointer as it is.
    for (QWidget* passive : {static_cast<QWidget*>(Picture2), mViewport,
                             static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Zoom_Ori),
                             static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1)})
        mPointer->setHover(passive, WindowPointer::Hover::None);

    Form_Load();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildControls() {
    setFixedSize(px(kClientWidth), px(kClientHeight));
    setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));

    Picture2 = new PictureBox(this, true);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(twipsRect(120, 120, kViewportWidth, kViewportHeight));
    mViewport = new QWidget(Picture2);
    mViewport->setObjectName(QStringLiteral("Picture2Inside"));
    mViewport->setGeometry(Picture2->contentsRect());
    mViewport->setAutoFillBackground(true);
    QPalette white = mViewport->palette();
    white.setColor(QPalette::Window, Qt::white);
    mViewport->setPalette(white);

    Picture1 = new PictureBox(mViewport, false);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(0, 0, kPictureDesignWidth, kPictureDesignHeight));

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(twipsRect(9450, 120, 255, 7425));
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(twipsRect(120, 7545, 9330, 255));

    Frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 7860, 9600, 855));
    PushButton1 = new QPushButton(QStringLiteral("Zoom In"), Frame1);
    PushButton1->setObjectName(QStringLiteral("PushButton1"));
    PushButton1->setGeometry(twipsRect(240, 300, 4440, 405));
    PushButton2 = new QPushButton(QStringLiteral("Zoom Out"), Frame1);
    PushButton2->setObjectName(QStringLiteral("PushButton2"));
    PushButton2->setGeometry(twipsRect(4800, 300, 4560, 405));

    PushButton8 = new QPushButton(QStringLiteral("< Back"), this);
    PushButton8->setObjectName(QStringLiteral("PushButton8"));
    PushButton8->setGeometry(twipsRect(120, 8850, 4680, 405));
    PushButton6 = new QPushButton(QStringLiteral("Save Results To Word File"), this);
    PushButton6->setObjectName(QStringLiteral("PushButton6"));
    PushButton6->setGeometry(twipsRect(4920, 8850, 4800, 405));
    for (QPushButton* button : {PushButton1, PushButton2, PushButton6, PushButton8})
        button->setFont(buttonFont());

    Zoom_Ori = new PictureBox(this, true);
    Zoom_Ori->setObjectName(QStringLiteral("Zoom_Ori"));
    Zoom_Ori->setGeometry(twipsRect(10320, 480, 735, 375));
    Zoom_Ori->hide();

    // Picture boxes and scroll bars take the focus as the other controls do.
    for (QWidget* w : {static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1),
                       static_cast<QWidget*>(Picture2), static_cast<QWidget*>(Picture1)})
        w->setFocusPolicy(Qt::StrongFocus);
    setTabOrder();

    // Desktop habits: the wheel scrolls through the scroll bars, Ctrl+wheel and Ctrl++ / Ctrl+-
    // zoom, Ctrl+S saves, Ctrl+P prints, Ctrl+C copies the picture; all of them run the same
    // handlers as the buttons and the picture's menu.
    for (QWidget* w : {static_cast<QWidget*>(Picture2), mViewport, static_cast<QWidget*>(Picture1)})
        w->installEventFilter(this);
    const auto shortcut = [this](const QKeySequence& keys, void (PreviewWindow::*handler)()) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [this, handler] { (this->*handler)(); });
    };
    shortcut(QKeySequence::ZoomIn, &PreviewWindow::PushButton1_Click);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &PreviewWindow::PushButton1_Click);
    shortcut(QKeySequence::ZoomOut, &PreviewWindow::PushButton2_Click);
    shortcut(QKeySequence::Save, &PreviewWindow::PushButton6_Click);
    shortcut(QKeySequence::Print, &PreviewWindow::mnuPrint_Click);
    shortcut(QKeySequence::Copy, &PreviewWindow::mnuCopy_Click);

    // Screen readers and accessibility-based tools find every control by its caption.
    for (QPushButton* button : {PushButton1, PushButton2, PushButton6, PushButton8})
        button->setAccessibleName(button->text());
    Frame1->setAccessibleName(Frame1->title());
    Picture2->setAccessibleName(QStringLiteral("Invitation preview"));
    Picture1->setAccessibleName(QStringLiteral("Invitation picture"));
    HScroll1->setAccessibleName(QStringLiteral("Scroll sideways"));
    VScroll1->setAccessibleName(QStringLiteral("Scroll up and down"));

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { mModel->scrollValueChanged(ZoomModel::Bar::Horizontal, value); });
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { mModel->scrollValueChanged(ZoomModel::Bar::Vertical, value); });
    // The right button opens the picture's menu; the other buttons drag.
    connect(Picture1, &PictureBox::mousePressed, this, [this](QMouseEvent* event) {
        if (event->button() == Qt::RightButton)
            return;
        const QPointF at = pointerInPicture(event);
        mModel->picture1_MouseDown(float(at.x()), float(at.y()));
    });
    connect(Picture1, &PictureBox::mouseMoved, this, [this](QMouseEvent* event) {
        const QPointF at = pointerInPicture(event);
        mModel->picture1_MouseMove((event->buttons() & ~Qt::RightButton) != Qt::NoButton,
                                   float(at.x()), float(at.y()));
    });
    connect(Picture1, &PictureBox::mouseReleased, this,
            [this](QMouseEvent*) { mModel->Picture1_MouseUp(); });
}

void PreviewWindow::buildPictureMenu() {
    mPictureMenu = new QMenu(this);
    mPictureMenu->setObjectName(QStringLiteral("PictureMenu"));
    const auto item = [this](const QString& caption, const QKeySequence& keys, auto handler) {
        QAction* action = mPictureMenu->addAction(caption, this, handler);
        // The window's own shortcuts run the handlers; the menu only shows the keys.
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    };
    item(QStringLiteral("Save As..."), QKeySequence::Save, [this] { PushButton6_Click(); });
    item(QStringLiteral("Print..."), QKeySequence::Print, [this] { mnuPrint_Click(); });
    item(QStringLiteral("Copy Picture"), QKeySequence::Copy, [this] { mnuCopy_Click(); });
    Picture1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Picture1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mPictureMenu->popup(Picture1->mapToGlobal(at)); });
}

void PreviewWindow::setHourglass(bool on) {
    mPointer->setMode(on ? WindowPointer::Hourglass : WindowPointer::Default);
}

void PreviewWindow::setTabOrder() {
    // The frame and the hidden Zoom_Ori (between Picture1 and "Zoom In") take no focus;
    // the zoom buttons inside the frame follow the pictures.
    const QList<QWidget*> order{HScroll1,    VScroll1,    Picture2,    Picture1,
                                PushButton1, PushButton2, PushButton6, PushButton8};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QPointF PreviewWindow::pointerInPicture(const QMouseEvent* event) const {
    // Measured against where the picture stands in twips, not against the pixel it was
    // placed on, so the point grabbed stays exactly under the pointer.
    const QPointF inViewport = Picture1->mapTo(mViewport, event->position());
    const ZoomModel::Rect& picture = mModel->picture();
    return QPointF(inViewport.x() * kTwipsPerPixel - picture.left,
                   inViewport.y() * kTwipsPerPixel - picture.top);
}

void PreviewWindow::setPicture(const QImage& picture) {
    mPicture = picture;
    const QImage image = fastFormat(picture);
    const QSize twips = pictureTwipsOf(image);
    Picture1->setPicture(image, twips);
    if (!image.isNull())
        mModel->pictureLoaded(twips.width(), twips.height());
    // A new invitation is set up afresh when the window next becomes active; otherwise the
    // zoom would keep drawing the previous picture.
    mFirstActivate = true;
}

void PreviewWindow::Form_Load() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.Form_Load "));
    trap(100, [&] { mFirstActivate = true; });
    trap(102, [&] { applyFormColors(*this); });
    trap(104, [&] {
        setWindowTitle(kProductName);
        setWindowIcon(applicationIcon());
    });
    QString cursorFile;
    trap(106, [&] { cursorFile = handPointerFile(mProgramFolder); });
    bool hasCursor = false;
    trap(108, [&] { hasCursor = fileExists(cursorFile); });
    if (hasCursor)
        trap(110, [&] { mPointer->setHandCursor(loadCursorFile(cursorFile)); });
}

void PreviewWindow::Form_Activate() {
    // An error report shown during the set-up may hand the activation back to this window;
    // the set-up does not start over inside itself.
    if (mInSetup)
        return;
    mInSetup = true;
    const auto done = qScopeGuard([this] { mInSetup = false; });
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.Form_Activate "));
    bool first = false;
    trap(100, [&] { first = mFirstActivate; });
    if (!first)
        return;

    PictureBox* picture = nullptr;
    trap(102, [&] { picture = Picture1; });
    trap(104, [&] { object(picture, kNoPictureBox); }); // its drawing is always kept
    trap(106, [&] {
        const QSize twips = object(picture, kNoPictureBox).pictureTwips();
        if (!object(picture, kNoPictureBox).picture().isNull())
            mModel->pictureLoaded(twips.width(), twips.height());
    });
    trap(108, [&] {
        QPalette palette = object(picture, kNoPictureBox).palette();
        palette.setColor(QPalette::Window, Qt::white);
        object(picture, kNoPictureBox).setPalette(palette);
    });

    PictureBox* source = nullptr;
    trap(112, [&] { source = Zoom_Ori; });
    trap(114, [&] { object(source, kNoPictureBox); });
    trap(116, [&] { object(source, kNoPictureBox).hide(); });
    trap(118, [&] {
        mModel->sourceWidthFromPicture();
        object(source, kNoPictureBox).resize(px(mModel->sourceWidth()), object(source, kNoPictureBox).height());
    });
    trap(120, [&] {
        mModel->sourceHeightFromPicture();
        object(source, kNoPictureBox).resize(object(source, kNoPictureBox).width(), px(mModel->sourceHeight()));
    });
    trap(122, [&] { object(source, kNoPictureBox).setPicture(object(picture, kNoPictureBox).picture(), object(picture, kNoPictureBox).pictureTwips()); });

    mModel->initialiseZoom(trap);
    trap(134, [&] { mModel->RedrawImage(); });
    trap(136, [&] { mModel->SetupScrollbars(); });
    trap(138, [&] { mFirstActivate = false; });
}

void PreviewWindow::Form_QueryUnload() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.Form_QueryUnload "));
    trap(100, [&] { deleteFile(mWordFile); });
    trap(102, [&] { QCoreApplication::processEvents(); });
    trap(104, [&] { QCoreApplication::processEvents(); });
}

void PreviewWindow::PushButton1_Click() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.PushButton1_Click "));
    trap(100, [&] { mModel->ZoomStep(0); });
}

void PreviewWindow::PushButton2_Click() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.PushButton2_Click "));
    trap(100, [&] { mModel->ZoomStep(1); });
}

void PreviewWindow::PushButton6_Click() {
    SaveDocument(mPrompts, mOffice, [this](bool on) { setHourglass(on); })
        .PushButton6_Click(mWordFile);
}

void PreviewWindow::mnuPrint_Click() {
    PrintDocument(mPrompts, mOffice, [this](bool on) { setHourglass(on); })
        .mnuPrint_Click(mWordFile);
}

void PreviewWindow::mnuCopy_Click() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.mnuCopy_Click "));
    trap(100, [&] {
        if (mPicture.isNull())
            throw AppError(QStringLiteral("There is no invitation picture to copy."));
        QGuiApplication::clipboard()->setImage(mPicture);
    });
}

void PreviewWindow::PushButton8_Click() {
    ErrorTrap trap(mPrompts, QStringLiteral("in Festoria2021/08/31.Form2.PushButton8_Click "));
    trap(102, [&] { deleteFile(mWordFile); });
    trap(104, [&] { object(mMainWindow, QStringLiteral("No main window")).show(); });
    trap(106, [&] { hide(); });
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const bool sideways = (wheel->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    mWheelDelta += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = mWheelDelta / QWheelEvent::DefaultDeltasPerStep;
    mWheelDelta %= QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0)
        return true;
    if (wheel->modifiers() & Qt::ControlModifier) {
        for (int i = 0; i < qAbs(notches); ++i)
            notches > 0 ? PushButton1_Click() : PushButton2_Click();
        return true;
    }
    QScrollBar* bar = sideways ? HScroll1 : VScroll1;
    if (bar->isEnabled())
        bar->setValue(bar->value() - notches * 3 * bar->singleStep());
    return true;
}

bool PreviewWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!mCentred) {
        mCentred = true; // centred with its frame, the first time it is shown
        centreOnScreen(*this);
    }
    // Where the window system never activates a window it shows (no window manager), the
    // set-up still runs once the window is up.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && mFirstActivate)
            Form_Activate();
    });
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    // The program ends with this window, although the main window still exists (hidden).
    mEndProgram();
}

void PreviewWindow::removePicture() {
    Picture1->clearPicture();
    Picture1->clearSurface();
}

void PreviewWindow::drawZoomed(int sourceWidth, int sourceHeight, int width, int height) {
    Picture1->setSurface(renderZoomed(Zoom_Ori->picture(), Zoom_Ori->pictureTwips(),
                                      QSize(sourceWidth, sourceHeight), QSize(width, height),
                                      devicePixelRatioF()));
}

void PreviewWindow::resetPointer() { mPointer->setMode(WindowPointer::Default); }

void PreviewWindow::pictureMoved() {
    const ZoomModel::Rect& r = mModel->picture();
    Picture1->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
}

void PreviewWindow::scrollBarsChanged() {
    const auto sync = [](QScrollBar* bar, const ZoomModel::ScrollBar& state) {
        const QSignalBlocker blocker(bar);
        bar->setMaximum(state.maximum);
        bar->setValue(state.value);
        bar->setEnabled(state.enabled);
    };
    sync(HScroll1, mModel->scrollBar(ZoomModel::Bar::Horizontal));
    sync(VScroll1, mModel->scrollBar(ZoomModel::Bar::Vertical));
}
