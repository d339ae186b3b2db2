#pragma once

class QWidget;

// Themes the main window with the skin file x/o.cjs in the program's folder, when present.
void ApplySkin(QWidget& mainWindow);

// Gives a window, its frames and labels the button-face background.
void ApplyFormColors(QWidget& form);
