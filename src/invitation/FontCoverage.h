// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Whether the installed fonts can draw what the user typed. The office falls back from the
// template's fonts to any installed font that has a character; only a character that no
// installed font has is drawn as an empty box. The program names such characters before the
// invitation is made, so the user learns why and what to install.

#include <QList>
#include <QString>

// One field's text with the label the main window shows for it ("What To Bring").
struct LabelledText {
    QString label;
    QString text;
};

// The characters of the text that no installed font can draw, each once, in the order they
// first appear. Spaces, controls and characters that are never drawn on their own (joiners,
// variation selectors) are not counted.
QList<char32_t> charactersWithoutFont(const QString& text);

// One report for all fields: "No installed font can draw 'X' in 'What To Bring'." for each
// field with such characters (up to three of them named), then what to install. Empty when
// every character can be drawn.
QString missingFontReport(const QList<LabelledText>& fields);
