// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

inline const QString kProductName = QStringLiteral("Festoria");

// The product name shortened by whole words to at most 40 characters.
QString shortenedTitle(const QString& name);

// Sets the application title from the product name.
void setApplicationTitle();
// The caption of every message box that is given no caption of its own.
QString applicationTitle();
