// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "preview/PreviewWindow.h"

#include "core/AppError.h"
#include "core/ErrorTrap.h"
#include "core/Files.h"
#include "core/Procedures.h"
#include "core/Product.h"
#include "core/Twips.h"
#include "preview/PageMenu.h"
#include "preview/PictureBox.h"
#include "preview/PreviewCommands.h"
#include "preview/SharpPage.h"
#include "widgets/Accessible.h"
#include "widgets/ApplicationIcon.h"
#include "widgets/Centre.h"
#include "widgets/QtClipboard.h"
#include "widgets/Theme.h"
#include "widgets/WindowPointer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// The window's design, in twips.
constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9390;
constexpr int kViewportWidth = 9330;
constexpr int kViewportHeight = 7425;
// The standard sunken border of the page frame and the unscaled page: 2 pixels on each side.
constexpr int kBorderPixels = 2;
constexpr int kBorderTwips = kBorderPixels * kTwipsPerPixel;
// The page's size before it is given a picture.
constexpr int kPageDesignWidth = 2340;
constexpr int kPageDesignHeight = 3435;

// Smooth scaling is fastest on 32-bit pixels; convert once, when the picture arrives.
QImage fastFormat(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32 ||
        picture.format() == QImage::Format_ARGB32_Premultiplied)
        return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}
} // namespace

PreviewWindow::PreviewWindow(Prompts& prompts, office::Office& office, QWidget* mainWindow,
                             QString programFolder, std::function<void()> endProgram,
                             std::unique_ptr<Clipboard> clipboard)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      mPrompts(prompts), mOffice(office), mMainWindow(mainWindow),
      mProgramFolder(std::move(programFolder)),
      mEndProgram(endProgram ? std::move(endProgram) : [] { QCoreApplication::exit(0); }),
      mClipboard(clipboard ? std::move(clipboard) : std::make_unique<QtClipboard>()) {
    markAccessibleWindow(*this); // before anything asks for the window's accessible side
    buildControls();
    mSharpPage = new SharpPage(
        mOffice,
        [this](const QImage& sharper) {
            mUnscaledPage->setPicture(fastFormat(sharper), mUnscaledPage->pictureTwips());
            mModel->drawAtZoom();
        },
        this);
    mModel = std::make_unique<ZoomModel>(mPrompts, static_cast<ZoomSurface&>(*this), kViewportWidth,
                                         kViewportHeight, kBorderTwips, kBorderTwips);
    mModel->pageLoaded(kPageDesignWidth, kPageDesignHeight);
    scrollBarsChanged();
    mPointer = new WindowPointer(this);
    setPointerHovers();
    preparePreview();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildControls() {
    setFixedSize(px(kClientWidth), px(kClientHeight));
    setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    buildPageFrame();
    mVerticalScroll = new QScrollBar(Qt::Vertical, this);
    mVerticalScroll->setObjectName(QStringLiteral("verticalScroll"));
    mVerticalScroll->setGeometry(twipsRect(9450, 120, 255, 7425));
    mHorizontalScroll = new QScrollBar(Qt::Horizontal, this);
    mHorizontalScroll->setObjectName(QStringLiteral("horizontalScroll"));
    mHorizontalScroll->setGeometry(twipsRect(120, 7545, 9330, 255));
    buildButtons();
    buildUnscaledPage();

    // Picture boxes and scroll bars take the focus as the other controls do.
    for (QWidget* w :
         {static_cast<QWidget*>(mHorizontalScroll), static_cast<QWidget*>(mVerticalScroll),
          static_cast<QWidget*>(mPageFrame), static_cast<QWidget*>(mPage)})
        w->setFocusPolicy(Qt::StrongFocus);
    setTabOrder();
    addShortcuts();
    setAccessibleNames();
    wireControls();
}

void PreviewWindow::buildPageFrame() {
    mPageFrame = new PictureBox(this, true);
    mPageFrame->setObjectName(QStringLiteral("pageFrame"));
    mPageFrame->setGeometry(twipsRect(120, 120, kViewportWidth, kViewportHeight));
    mViewport = new QWidget(mPageFrame);
    mViewport->setObjectName(QStringLiteral("viewport"));
    mViewport->setGeometry(mPageFrame->contentsRect());
    mViewport->setAutoFillBackground(true);
    QPalette white = mViewport->palette();
    white.setColor(QPalette::Window, Qt::white);
    mViewport->setPalette(white);

    mPage = new PictureBox(mViewport, false);
    mPage->setObjectName(QStringLiteral("page"));
    mPage->setGeometry(twipsRect(0, 0, kPageDesignWidth, kPageDesignHeight));
    // Before anything asks for the page's accessible side, which then finds the menu's actions.
    new PageMenu(this, mPageFrame, mViewport, mPage,
                 {[this] { saveAs(); }, [this] { print(); }, [this] { sendByEmail(); },
                  [this] { copyPicture(); }});
}

void PreviewWindow::buildButtons() {
    mZoomBox = new QGroupBox(tr("Zoom:"), this);
    mZoomBox->setObjectName(QStringLiteral("zoomBox"));
    mZoomBox->setGeometry(twipsRect(120, 7860, 9600, 855));
    const auto button = [](const QString& caption, const char* name, QWidget* parent, QRect at) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(at);
        b->setFont(buttonFont());
        return b;
    };
    mZoomInButton = button(tr("Zoom In"), "zoomInButton", mZoomBox, twipsRect(240, 300, 4440, 405));
    mZoomOutButton =
        button(tr("Zoom Out"), "zoomOutButton", mZoomBox, twipsRect(4800, 300, 4560, 405));
    mBackButton = button(tr("< Back"), "backButton", this, twipsRect(120, 8850, 4680, 405));
    mSaveButton = button(tr("Save Results To Word File"), "saveButton", this,
                         twipsRect(4920, 8850, 4800, 405));
}

void PreviewWindow::buildUnscaledPage() {
    // Outside the client area and never shown.
    mUnscaledPage = new PictureBox(this, true);
    mUnscaledPage->setObjectName(QStringLiteral("unscaledPage"));
    mUnscaledPage->setGeometry(twipsRect(10320, 480, 735, 375));
    mUnscaledPage->hide();
}

void PreviewWindow::addShortcuts() {
    // Desktop habits: the wheel scrolls through the scroll bars, Ctrl+wheel and Ctrl++ / Ctrl+-
    // zoom, Ctrl+S saves, Ctrl+P prints, Ctrl+E sends by email, Ctrl+C copies the picture; all
    // of them run the same handlers as the buttons and the picture's menu.
    for (QWidget* w : {static_cast<QWidget*>(mPageFrame), mViewport, static_cast<QWidget*>(mPage)})
        w->installEventFilter(this);
    const auto shortcut = [this](const QKeySequence& keys, void (PreviewWindow::*handler)()) {
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [this, handler] { (this->*handler)(); });
    };
    shortcut(QKeySequence::ZoomIn, &PreviewWindow::zoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &PreviewWindow::zoomIn);
    shortcut(QKeySequence::ZoomOut, &PreviewWindow::zoomOut);
    shortcut(QKeySequence::Save, &PreviewWindow::saveAs);
    shortcut(QKeySequence::Print, &PreviewWindow::print);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &PreviewWindow::sendByEmail);
    shortcut(QKeySequence::Copy, &PreviewWindow::copyPicture);
}

void PreviewWindow::setAccessibleNames() {
    // Screen readers and accessibility-based tools find every control by its caption.
    for (QPushButton* button : {mZoomInButton, mZoomOutButton, mSaveButton, mBackButton})
        button->setAccessibleName(button->text());
    mZoomBox->setAccessibleName(mZoomBox->title());
    mPageFrame->setAccessibleName(tr("Invitation preview"));
    mPage->setAccessibleName(tr("Invitation picture"));
    mHorizontalScroll->setAccessibleName(tr("Scroll sideways"));
    mVerticalScroll->setAccessibleName(tr("Scroll up and down"));
}

void PreviewWindow::wireControls() {
    connect(mZoomInButton, &QPushButton::clicked, this, [this] { zoomIn(); });
    connect(mZoomOutButton, &QPushButton::clicked, this, [this] { zoomOut(); });
    connect(mSaveButton, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(mBackButton, &QPushButton::clicked, this, [this] { back(); });
    connect(mHorizontalScroll, &QScrollBar::valueChanged, this,
            [this](int value) { mModel->scrollValueChanged(ZoomModel::Bar::Horizontal, value); });
    connect(mVerticalScroll, &QScrollBar::valueChanged, this,
            [this](int value) { mModel->scrollValueChanged(ZoomModel::Bar::Vertical, value); });
    // The right button opens the picture's menu; the other buttons drag.
    connect(mPage, &PictureBox::mousePressed, this, [this](QMouseEvent* event) {
        if (event->button() == Qt::RightButton)
            return;
        const QPointF at = pointerOnPage(event);
        mModel->beginDrag(float(at.x()), float(at.y()));
    });
    connect(mPage, &PictureBox::mouseMoved, this, [this](QMouseEvent* event) {
        const QPointF at = pointerOnPage(event);
        mModel->drag((event->buttons() & ~Qt::RightButton) != Qt::NoButton, float(at.x()),
                     float(at.y()));
    });
    connect(mPage, &PictureBox::mouseReleased, this, [this](QMouseEvent*) { mModel->endDrag(); });
}

void PreviewWindow::setPointerHovers() {
    for (QPushButton* button : {mZoomInButton, mZoomOutButton, mSaveButton, mBackButton})
        mPointer->setHover(button, WindowPointer::Hover::SetsCustom);
    mPointer->setHover(mZoomBox, WindowPointer::Hover::SetsDefault);
    // Pictures and scroll bars leave the pointer as it is.
    for (QWidget* passive :
         {static_cast<QWidget*>(mPageFrame), mViewport, static_cast<QWidget*>(mPage),
          static_cast<QWidget*>(mUnscaledPage), static_cast<QWidget*>(mHorizontalScroll),
          static_cast<QWidget*>(mVerticalScroll)})
        mPointer->setHover(passive, WindowPointer::Hover::None);
}

void PreviewWindow::setHourglass(bool on) {
    mPointer->setMode(on ? WindowPointer::Hourglass : WindowPointer::Default);
}

void PreviewWindow::setTabOrder() {
    // The zoom box and the hidden unscaled page take no focus; the zoom buttons inside the
    // box follow the pictures.
    const QList<QWidget*> order{mHorizontalScroll, mVerticalScroll, mPageFrame,  mPage,
                                mZoomInButton,     mZoomOutButton,  mSaveButton, mBackButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QPointF PreviewWindow::pointerOnPage(const QMouseEvent* event) const {
    // Measured against where the page stands in twips, not against the pixel it was placed
    // on, so the point grabbed stays exactly under the pointer.
    const QPointF inViewport = mPage->mapTo(mViewport, event->position());
    const ZoomModel::Rect& page = mModel->page();
    return QPointF(inViewport.x() * kTwipsPerPixel - page.left,
                   inViewport.y() * kTwipsPerPixel - page.top);
}

void PreviewWindow::setInvitationText(const QString& text) {
    mPage->setAccessibleDescription(text);
}

void PreviewWindow::setDocumentPath(const QString& path) {
    mDocumentPath = path;
    mSharpPage->setDocument(path);
}

void PreviewWindow::setPicture(const QImage& picture) {
    mPicture = picture;
    const QImage image = fastFormat(picture);
    const QSize twips = pictureTwipsOf(image);
    mPage->setPicture(image, twips);
    if (!image.isNull())
        mModel->pageLoaded(twips.width(), twips.height());
    // A new invitation is set up afresh when the window next becomes active; otherwise the
    // zoom would keep drawing the previous picture.
    mNewPicturePending = true;
}

void PreviewWindow::preparePreview() {
    enum class Step { HandPointer = 110 };
    StepTrap<Step> trap(mPrompts, procedures::preparePreview);
    mNewPicturePending = true;
    applyFormColors(*this);
    setWindowTitle(kProductName);
    setWindowIcon(applicationIcon());
    // Without the pointer file the buttons show the arrow; a file that is no pointer is
    // reported.
    const QString cursorFile = handPointerFile(mProgramFolder);
    if (fileExists(cursorFile))
        trap(Step::HandPointer, [&] { mPointer->setHandCursor(loadCursorFile(cursorFile)); });
}

void PreviewWindow::showNewPicture() {
    // An error report shown during the set-up may hand the activation back to this window;
    // the set-up does not start over inside itself.
    if (mInSetup || !mNewPicturePending)
        return;
    mInSetup = true;
    const auto done = qScopeGuard([this] { mInSetup = false; });
    // A picture's size can be refused only if it were negative; fitting the scroll bars
    // fails for a page whose excess no scroll bar can hold.
    enum class Step { PageSize = 106, ScrollBars = 136 };
    StepTrap<Step> trap(mPrompts, procedures::showNewPicture);
    trap(Step::PageSize, [&] {
        if (!mPage->picture().isNull())
            mModel->pageLoaded(mPage->pictureTwips().width(), mPage->pictureTwips().height());
    });
    // The unscaled copy every zoom is drawn from: the page's picture, at the page's size.
    mModel->takeUnscaledSizeFromPage();
    mUnscaledPage->resize(px(mModel->unscaledWidth()), px(mModel->unscaledHeight()));
    mUnscaledPage->setPicture(mPage->picture(), mPage->pictureTwips());
    mSharpPage->setDocument(mDocumentPath);
    mModel->resetZoom();
    mModel->drawAtZoom();
    trap(Step::ScrollBars, [&] { mModel->fitScrollBarsToPage(); });
    mNewPicturePending = false;
}

void PreviewWindow::discardDocument() {
    deleteFile(mDocumentPath); // never fails: a document already gone is no error
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void PreviewWindow::zoomIn() {
    mModel->zoomIn();
}

void PreviewWindow::zoomOut() {
    mModel->zoomOut();
}

void PreviewWindow::saveAs() {
    SaveDocument(mPrompts, mOffice, [this](bool on) {
        setHourglass(on);
    }).saveAs(mDocumentPath, mDetails);
}

void PreviewWindow::print() {
    PrintDocument(mPrompts, mOffice, [this](bool on) {
        setHourglass(on);
    }).print(mDocumentPath, mDetails.name);
}

void PreviewWindow::sendByEmail() {
    SendByEmail(mPrompts, mOffice, [this](bool on) {
        setHourglass(on);
    }).send(mDocumentPath, mDetails, this);
}

void PreviewWindow::copyPicture() {
    enum class Step { Copy = 100 };
    StepTrap<Step> trap(mPrompts, procedures::copyPicture);
    trap(Step::Copy, [&] {
        if (mPicture.isNull())
            throw AppError(QStringLiteral("There is no invitation picture to copy."));
        mClipboard->putPicture(mPicture, QByteArray()); // a plain picture, as any program's
    });
}

void PreviewWindow::back() {
    enum class Step { ShowMainWindow = 104 };
    StepTrap<Step> trap(mPrompts, procedures::back);
    deleteFile(mDocumentPath);
    trap(Step::ShowMainWindow,
         [&] { object(mMainWindow, QStringLiteral("No main window")).show(); });
    hide();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const bool sideways =
        (wheel->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    mWheelDelta += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = mWheelDelta / QWheelEvent::DefaultDeltasPerStep;
    mWheelDelta %= QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0)
        return true;
    if (wheel->modifiers() & Qt::ControlModifier) {
        for (int i = 0; i < qAbs(notches); ++i)
            notches > 0 ? zoomIn() : zoomOut();
        return true;
    }
    QScrollBar* bar = sideways ? mHorizontalScroll : mVerticalScroll;
    if (bar->isEnabled())
        bar->setValue(bar->value() - notches * 3 * bar->singleStep());
    return true;
}

bool PreviewWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        showNewPicture();
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
        if (isVisible() && mNewPicturePending)
            showNewPicture();
    });
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    discardDocument();
    event->accept();
    // The program ends with this window, although the main window still exists (hidden).
    mEndProgram();
}

void PreviewWindow::dropPagePicture() {
    mPage->clearPicture();
    mPage->clearSurface();
}

void PreviewWindow::drawScaled(int sourceWidth, int sourceHeight, int width, int height) {
    mPage->setSurface(renderZoomed(mUnscaledPage->picture(), mUnscaledPage->pictureTwips(),
                                   QSize(sourceWidth, sourceHeight), QSize(width, height),
                                   devicePixelRatioF()));
    mSharpPage->drawn(mUnscaledPage->picture().width(), mUnscaledPage->pictureTwips(),
                      QSize(sourceWidth, sourceHeight), QSize(width, height), devicePixelRatioF());
}

void PreviewWindow::resetPointer() {
    mPointer->setMode(WindowPointer::Default);
}

void PreviewWindow::pageMoved() {
    const ZoomModel::Rect& r = mModel->page();
    mPage->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
}

void PreviewWindow::scrollBarsChanged() {
    const auto sync = [](QScrollBar* bar, const ZoomModel::ScrollBar& state) {
        const QSignalBlocker blocker(bar);
        bar->setMaximum(state.maximum);
        bar->setPageStep(state.pageStep);
        // An arrow click or a wheel notch's third moves a twentieth of the view.
        bar->setSingleStep(std::max(1, state.pageStep / 20));
        bar->setValue(state.value);
        bar->setEnabled(state.enabled);
    };
    sync(mHorizontalScroll, mModel->scrollBar(ZoomModel::Bar::Horizontal));
    sync(mVerticalScroll, mModel->scrollBar(ZoomModel::Bar::Vertical));
}
