// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What assistive technology (screen readers, accessibility-based tools) is told about the
// windows beyond what Qt tells by itself.

class QMenu;
class QWidget;

// The window is presented as a window (a plain top-level widget is otherwise a client area
// that screen readers pass over).
void markAccessibleWindow(QWidget& window);
// The widget's context menu's actions are among the widget's own accessible actions, with
// their keys, so that they can be found and run without opening the menu; "ShowMenu" opens it.
void exposeMenuActions(QWidget& widget, QMenu& menu);
