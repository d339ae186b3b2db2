// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QRect;
class QWidget;

// Places a top-level window, frame and all, in the centre of its screen's free area.
void centreOnScreen(QWidget& window);
// Fits the window into the area (fitWithin), then centres it, frame and all, there.
void placeWithin(QWidget& window, const QRect& area);

// A window of fixed size whose frame is larger than the area (a small or highly scaled
// screen) shrinks to fit it, and its controls, unchanged in place and size, scroll within
// it. A window that fits is left exactly as it is.
void fitWithin(QWidget& window, const QRect& area);
