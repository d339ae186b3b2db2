// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's menu and the page's keyboard focus mark.

#include "preview/PageMenu.h"

#include "widgets/Accessible.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWidget>

namespace {
// The keyboard focus on the page, drawn over the viewport's inside: the page itself is often
// larger than the view, and moves under it.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget* viewport) : QWidget(viewport) {
        setObjectName(QStringLiteral("pageFocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(viewport->rect());
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};
} // namespace

PageMenu::PageMenu(QWidget* window, QWidget* frame, QWidget* viewport, QWidget* page,
                   const Actions& actions)
    : QObject(window), mFrame(frame), mViewport(viewport), mPage(page), mMenu(new QMenu(window)),
      mFocusMark(new FocusMark(viewport)) {
    exposeMenuActions(*mPage, *mMenu);
    fill(actions);
    for (QWidget* w : {mFrame, mPage})
        w->installEventFilter(this);
}

// The texts keep the preview window's translations: it is the window that shows them.
void PageMenu::fill(const Actions& actions) {
    mMenu->setObjectName(QStringLiteral("pictureMenu"));
    const auto item = [this](const QString& caption, const QKeySequence& keys,
                             const std::function<void()>& handler) {
        QAction* action = mMenu->addAction(caption, mMenu, handler);
        // The window's own shortcuts run the handlers; the menu only shows the keys.
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    };
    item(QCoreApplication::translate("PreviewWindow", "Save As..."), QKeySequence::Save,
         actions.saveAs);
    item(QCoreApplication::translate("PreviewWindow", "Print..."), QKeySequence::Print,
         actions.print);
    item(QCoreApplication::translate("PreviewWindow", "Send by Email..."),
         QKeySequence(Qt::CTRL | Qt::Key_E), actions.sendByEmail);
    item(QCoreApplication::translate("PreviewWindow", "Copy Picture"), QKeySequence::Copy,
         actions.copyPicture);
    const QString hint = QCoreApplication::translate(
        "PreviewWindow",
        "Right-click or press Shift+F10 for the picture's menu: Save As, Print, Send by "
        "Email, Copy Picture");
    for (QWidget* w : {mFrame, mPage})
        w->setToolTip(hint);
}

QPoint PageMenu::placeForKeyboard() const {
    const QRect inView = mPage->geometry().intersected(mViewport->rect());
    return mViewport->mapToGlobal(inView.isEmpty() ? mViewport->rect().center() : inView.center());
}

bool PageMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != mPage && watched != mFrame)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        mFocusMark->setVisible(mPage->hasFocus() || mFrame->hasFocus());
        mFocusMark->raise();
        return false;
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        mMenu->popup(menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos()
                                                                     : placeForKeyboard());
        return true;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!shiftF10 && key->key() != Qt::Key_Menu)
            return false;
        mMenu->popup(placeForKeyboard());
        return true;
    }
    default:
        return false;
    }
}
