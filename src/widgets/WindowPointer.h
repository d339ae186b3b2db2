// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QHash>
#include <QObject>

class QWidget;

// Reads a .cur cursor file: its picture and the hot spot stored in the file.
// Throws AppError when the file is not a loadable cursor.
QCursor loadCursorFile(const QString& path);

// The hand pointer's file in the program's folder.
QString handPointerFile(const QString& programFolder);

// One pointer setting for a whole window: it shows over the window and every control on
// it, whichever control changed it. Controls are given a hover role; moving the mouse
// over a control applies its role unless the hourglass is showing.
class WindowPointer : public QObject {
    Q_OBJECT
public:
    enum Mode { Default = 0, Hourglass = 11, Custom = 99 };
    enum class Hover { None, SetsDefault, SetsCustom };

    // The window itself gets the role SetsDefault.
    explicit WindowPointer(QWidget* window);

    Mode mode() const { return mMode; }
    void setMode(Mode mode);

    // The picture that the custom setting shows; the default arrow until one is loaded.
    void setHandCursor(const QCursor& cursor);
    bool hasHandCursor() const { return mHasHand; }
    // The cursor that the window shows for a mode.
    QCursor cursorFor(Mode mode) const;

    // Gives a control (and the widgets inside it) a hover role. Call after the window's
    // controls exist; controls without a role behave as Hover::None.
    void setHover(QWidget* control, Hover hover);

    // Applies the current mode to widgets created after the last change.
    void refresh();

    // The hover handler of a control, as the mouse moving over it runs it.
    void hovered(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget);
    Hover roleOf(QWidget* widget) const;

    QWidget* mWindow;
    Mode mMode = Default;
    QCursor mHand;
    bool mHasHand = false;
    QHash<const QWidget*, Hover> mRoles;
};
