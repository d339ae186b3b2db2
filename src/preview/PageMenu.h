// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The picture's menu (Save As, Print, Send by Email, Copy Picture) and the page's keyboard
// focus mark. A right click opens the menu where the pointer is; Shift+F10 and the Menu key
// open it at the middle of the page's part in view. Assistive technology finds its actions on
// the page itself.

#include <QObject>

#include <functional>

class QMenu;
class QWidget;

class PageMenu : public QObject {
public:
    struct Actions {
        std::function<void()> saveAs, print, sendByEmail, copyPicture;
    };
    // The page lives in the viewport, which lives in the frame; the menu belongs to the window.
    PageMenu(QWidget* window, QWidget* frame, QWidget* viewport, QWidget* page,
             const Actions& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const Actions& actions);
    QPoint placeForKeyboard() const;

    QWidget* mFrame;
    QWidget* mViewport;
    QWidget* mPage;
    QMenu* mMenu;
    QWidget* mFocusMark;
};
