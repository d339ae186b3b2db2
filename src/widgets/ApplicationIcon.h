#pragma once

#include <QIcon>

// The application icon, in all its sizes.
QIcon applicationIcon();
