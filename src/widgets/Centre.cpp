// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Centre.h"

#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

void fitWithin(QWidget& window, const QRect& area) {
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize room = area.size() - frame;
    const QSize full = window.size();
    if (full.width() <= room.width() && full.height() <= room.height())
        return;
    // The controls move, as they are, onto a page of the window's full size in a scroll
    // area; menus and other windows stay children of the window.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("scrolledContent"));
    content->setFixedSize(full);
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow()) {
            const bool hidden = widget->isHidden();
            widget->setParent(content);
            widget->setHidden(hidden);
        }
    }
    auto* scroll = new QScrollArea(&window);
    scroll->setObjectName(QStringLiteral("windowScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    // A scroll bar in one direction takes room in the other.
    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    const bool down = full.height() > room.height();
    const bool across = full.width() + (down ? bar : 0) > room.width();
    window.setFixedSize(std::min(full.width() + (down ? bar : 0), room.width()),
                        std::min(full.height() + (across ? bar : 0), room.height()));
}

void placeWithin(QWidget& window, const QRect& area) {
    fitWithin(window, area);
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen())
        placeWithin(window, screen->availableGeometry());
}
