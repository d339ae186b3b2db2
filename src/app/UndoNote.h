// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The way back from Clear/Reset and Sample: the texts they replaced, and a short note with its
// Undo over the details frame's caption line for ten seconds (Ctrl+Z works as long as the
// texts are kept: until a field changes).

#include <QFrame>
#include <QStringList>

#include <optional>

class QLabel;
class QTimer;

class UndoNote : public QFrame {
    Q_OBJECT

public:
    explicit UndoNote(QWidget* window);

    // Keeps the texts and shows the note at the right end of the frame's caption line.
    void offer(const QStringList& before, const QString& note, const QRect& frame);
    // Forgets the texts: a field changed.
    void drop();
    bool available() const { return mTexts.has_value(); }
    // The texts to put back, once; nothing when none are kept.
    std::optional<QStringList> take();

signals:
    void undoWanted();

private:
    std::optional<QStringList> mTexts;
    QLabel* mText;
    QTimer* mTimer;
};
