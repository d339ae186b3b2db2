// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// Places a top-level window, frame and all, in the centre of its screen.
void centreOnScreen(QWidget& window);
