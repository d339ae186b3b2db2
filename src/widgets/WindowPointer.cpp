// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/WindowPointer.h"

#include "core/AppError.h"

#include <QEvent>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <QtEndian>

QString handPointerFile(const QString& programFolder) {
    return programFolder + QStringLiteral("/HAND-M.CUR");
}

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("File not found: ") + path);
    const QByteArray bytes = file.readAll();
    // ICONDIR: reserved, type (2 = cursor), count; then 16-byte entries whose bytes 4..7
    // hold the hot spot.
    const auto u16 = [&](int at) {
        return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData()) + at);
    };
    const bool isCursor = bytes.size() >= 22 && u16(0) == 0 && u16(2) == 2 && u16(4) != 0;
    const bool isIcon = bytes.size() >= 22 && u16(0) == 0 && u16(2) == 1 && u16(4) != 0;
    if (!isCursor && !isIcon)
        throw AppError(QStringLiteral("Invalid picture"));
    QImage image;
    if (!image.loadFromData(bytes, "CUR") && !image.loadFromData(bytes, "ICO"))
        throw AppError(QStringLiteral("Invalid picture"));
    // An icon has no hot spot of its own: it points with its centre.
    const int hotX = isCursor ? u16(6 + 4) : image.width() / 2;
    const int hotY = isCursor ? u16(6 + 6) : image.height() / 2;
    return QCursor(QPixmap::fromImage(image), qMin(hotX, image.width() - 1),
                   qMin(hotY, image.height() - 1));
}

WindowPointer::WindowPointer(QWidget* window) : QObject(window), mWindow(window) {
    setHover(window, Hover::SetsDefault);
}

QCursor WindowPointer::cursorFor(Mode mode) const {
    switch (mode) {
    case Hourglass:
        return QCursor(Qt::WaitCursor);
    case Custom:
        return mHasHand ? mHand : QCursor(Qt::ArrowCursor);
    case Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

void WindowPointer::setMode(Mode mode) {
    // Mouse moves set the mode over and over; only a change reaches the widgets.
    if (mode == mMode)
        return;
    mMode = mode;
    refresh();
}

void WindowPointer::setHandCursor(const QCursor& cursor) {
    mHand = cursor;
    mHasHand = true;
    refresh();
}

void WindowPointer::refresh() {
    // Every widget gets the window's cursor, so that no control (a text box's I-beam, say)
    // shows one of its own.
    const QCursor cursor = cursorFor(mMode);
    mWindow->setCursor(cursor);
    const auto children = mWindow->findChildren<QWidget*>();
    for (QWidget* child : children) {
        child->setCursor(cursor);
        watch(child);
    }
}

void WindowPointer::setHover(QWidget* control, Hover hover) {
    mRoles.insert(control, hover);
    watch(control);
    control->setMouseTracking(true);
    const auto children = control->findChildren<QWidget*>();
    for (QWidget* child : children) {
        watch(child);
        child->setMouseTracking(true);
    }
    refresh();
}

void WindowPointer::watch(QWidget* widget) {
    if (widget->property("festoriaPointerWatched").toBool())
        return;
    widget->setProperty("festoriaPointerWatched", true);
    widget->installEventFilter(this);
    // A move over a control never reaches the control's container, so a label inside a
    // frame does not act as the frame.
    if (widget != mWindow)
        widget->setAttribute(Qt::WA_NoMousePropagation, true);
    // Labels and other passive widgets get the moves too, so that they can swallow them.
    widget->setMouseTracking(true);
}

WindowPointer::Hover WindowPointer::roleOf(QWidget* widget) const {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const auto it = mRoles.constFind(w);
        if (it != mRoles.constEnd())
            return it.value();
        if (w == mWindow)
            break;
    }
    return Hover::None;
}

void WindowPointer::hovered(QWidget* control) {
    if (mMode == Hourglass)
        return;
    switch (roleOf(control)) {
    case Hover::SetsCustom:
        setMode(Custom);
        break;
    case Hover::SetsDefault:
        setMode(Default);
        break;
    case Hover::None:
        break;
    }
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (auto* widget = qobject_cast<QWidget*>(watched))
            hovered(widget);
    } else if (event->type() == QEvent::ChildPolished) {
        // A control that creates inner widgets later still shows the window's pointer.
        refresh();
    }
    return QObject::eventFilter(watched, event);
}
