// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/OfficeWait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
int gBlocks = 0;
std::vector<QPointer<QWidget>> gExempt;

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The widget an event is for: a shortcut's is the widget it belongs to.
QWidget* targetWidget(QObject* watched) {
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget;
    if (auto* shortcut = qobject_cast<QShortcut*>(watched))
        return qobject_cast<QWidget*>(shortcut->parent());
    return nullptr;
}

bool isExempt(const QWidget* widget) {
    for (const QPointer<QWidget>& exempt : gExempt)
        if (exempt && (exempt == widget || exempt->isAncestorOf(widget)))
            return true;
    return false;
}

// The window in front, which shows the note.
QWidget* frontWindow() {
    if (QWidget* active = QApplication::activeWindow(); active && !active->isModal())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->isVisible() && (*it)->isWindow() && !(*it)->isModal() &&
            (*it)->windowType() == Qt::Window)
            return *it;
    return nullptr;
}

struct Wait {
    QEventLoop loop;
    const std::function<bool()>* finished = nullptr;
};
std::vector<Wait*> gWaits;
QPointer<QFrame> gNote;

// A small panel over the bottom of the window: what is going on, and the way out.
QFrame* showNote(QWidget* window, const std::function<void()>& onCancel) {
    auto* note = new QFrame(window);
    note->setObjectName(QStringLiteral("officeNote"));
    note->setFrameStyle(QFrame::Panel | QFrame::Raised);
    note->setAutoFillBackground(true);
    auto* text = new QLabel(QObject::tr("The office is working…"), note);
    text->setObjectName(QStringLiteral("officeNoteText"));
    auto* cancel = new QPushButton(QObject::tr("Cancel"), note);
    cancel->setObjectName(QStringLiteral("cancelOfficeButton"));
    cancel->setAccessibleName(cancel->text());
    auto* layout = new QHBoxLayout(note);
    layout->addWidget(text, 1);
    layout->addWidget(cancel);
    note->setAccessibleName(text->text());
    note->adjustSize();
    note->resize(std::min(window->width() - 16, std::max(note->width(), 320)), note->height());
    note->move((window->width() - note->width()) / 2, window->height() - note->height() - 8);
    QObject::connect(cancel, &QPushButton::clicked, note, [cancel, onCancel] {
        cancel->setEnabled(false);
        onCancel();
    });
    InputBlock::exempt(note);
    note->show();
    note->raise();
    cancel->setFocus();
    return note;
}
} // namespace

InputBlock::InputBlock() {
    ++gBlocks;
    qApp->installEventFilter(this);
}

InputBlock::~InputBlock() {
    --gBlocks;
    qApp->removeEventFilter(this);
}

bool InputBlock::active() {
    return gBlocks > 0;
}

void InputBlock::exempt(QWidget* widget) {
    std::erase_if(gExempt, [](const QPointer<QWidget>& w) { return w.isNull(); });
    gExempt.emplace_back(widget);
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()))
        return false;
    QWidget* widget = targetWidget(watched);
    if (!widget)
        return false;
    // Dialogs and message boxes asked meanwhile take input; the program's windows do not.
    QWidget* window = widget->window();
    if (window->isModal() || window->windowType() == Qt::Popup || isExempt(widget))
        return false;
    event->accept(); // an accepted shortcut override keeps shortcuts from running
    return true;
}

bool OfficeWait::until(const std::function<bool()>& finished, const std::function<void()>& cancel) {
    if (finished())
        return true;
    InputBlock block;
    Wait wait;
    wait.finished = &finished;
    gWaits.push_back(&wait);
    QTimer noteTimer;
    noteTimer.setSingleShot(true);
    QPointer<QFrame> note;
    QObject::connect(&noteTimer, &QTimer::timeout, [&] {
        QWidget* window = frontWindow();
        if (!window || gNote)
            return; // an outer wait shows its note already
        note = gNote = showNote(window, [&] {
            cancel();
            QTimer::singleShot(kCancelGrace, &wait.loop, [&] { wait.loop.quit(); });
        });
    });
    noteTimer.start(kNoteDelay);
    // The loop ends when the work is finished (wake), when the grace after a Cancel is over,
    // or when the program leaves its event loops.
    wait.loop.exec();
    gWaits.erase(std::find(gWaits.begin(), gWaits.end(), &wait));
    delete note;
    return finished();
}

void OfficeWait::wake() {
    QMetaObject::invokeMethod(
        qApp,
        [] {
            for (Wait* wait : gWaits)
                if ((*wait->finished)())
                    wait->loop.quit();
        },
        Qt::QueuedConnection);
}

QWidget* OfficeWait::note() {
    return gNote;
}
