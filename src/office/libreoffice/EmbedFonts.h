// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace office {

// A document carries its fonts when it is written as .docx or .odt only when they are named
// as installed: the office embeds only fonts installed under the name the document uses. These
// are the template's fonts that this machine draws with another face (Book Antiqua with P052,
// Arial with Liberation Sans), each with that face's family, as the office's font configuration
// finds it. The office renames them (UseDrawnFonts.h).
QList<QPair<QString, QString>> drawnFontRenames();

} // namespace office
