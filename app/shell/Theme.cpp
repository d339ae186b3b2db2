#include "Theme.h"

void ApplySkin(QWidget&) {}

void ApplyFormColors(QWidget&) {}
