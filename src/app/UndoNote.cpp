// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The way back from Clear/Reset and Sample.

#include "app/UndoNote.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <chrono>

UndoNote::UndoNote(QWidget* window)
    : QFrame(window), mText(new QLabel(this)), mTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("undoNote"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    setPalette(palette);
    // The main window's words: it is the window that shows them.
    auto* undo = new QPushButton(QCoreApplication::translate("MainWindow", "Undo (Ctrl+Z)"), this);
    undo->setObjectName(QStringLiteral("undoButton"));
    undo->setFlat(true);
    undo->setAutoDefault(false);
    undo->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addWidget(mText);
    layout->addWidget(undo);
    connect(undo, &QPushButton::clicked, this, &UndoNote::undoWanted);
    auto* shortcut = new QShortcut(QKeySequence::Undo, window);
    connect(shortcut, &QShortcut::activated, this, &UndoNote::undoWanted);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, &QWidget::hide); // Ctrl+Z still works
    hide();
}

void UndoNote::offer(const QStringList& before, const QString& note, const QRect& frame) {
    mTexts = before;
    mText->setText(note);
    adjustSize();
    move(frame.right() - 8 - width(), frame.top() - 2);
    show();
    raise();
    mTimer->start(std::chrono::seconds(10));
}

void UndoNote::drop() {
    mTexts.reset();
    hide();
}

std::optional<QStringList> UndoNote::take() {
    std::optional<QStringList> texts = std::move(mTexts);
    drop();
    return texts;
}
