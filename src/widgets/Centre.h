#pragma once

class QWidget;

// Places a top-level window, frame and all, in the centre of its screen.
void centreOnScreen(QWidget& window);
