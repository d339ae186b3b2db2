// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

// The application icon, in all its sizes.
QIcon applicationIcon();
