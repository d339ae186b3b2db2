// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The first e-mail address in a text typed for people ("Answer to jane@example.com by
// Friday"), taken whole: its local part and domain may hold letters of any script, as
// internationalised mail allows. An address that is glued to characters that could belong to
// it but that it cannot hold ("o!neil@example.com") is no address at all, never a piece of
// one. Empty when the text holds none.
QString firstMailAddress(const QString& text);
