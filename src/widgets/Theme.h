// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>

class QWidget;
class SkinComponent;

// The skin file's place: x/o.cjs in the program's folder.
QString skinFilePath(const QString& programFolder);

// The font of both windows' push buttons: Arial 11.25 pt bold.
QFont buttonFont();

// The system's button-face colour.
QColor buttonFace();

// Themes the main window when the skin file exists: button face for the window and its
// option buttons, check boxes, frames, labels and picture boxes, then the skin. Does
// nothing (silently) without the file; a skin that fails to load throws.
void applySkin(QWidget& mainWindow, SkinComponent& skin, const QString& programFolder);

// Gives a window and its option buttons, check boxes, frames and labels the button-face
// background (picture boxes keep theirs).
void applyFormColors(QWidget& form);

// Marks a widget as a picture box, for the recolouring rules above.
void markPictureBox(QWidget& widget);
