// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a filled text box's characters take on a line, and setting several of its properties.

#include "office/libreoffice/inoffice/TextBox.h"

namespace office::fitting {

namespace {
// Characters that may take no room of their own on a line: spaces (a line's trailing ones
// hang past its end), marks and joiners that sit on or join their neighbours, the fillers
// and selectors that fonts draw as nothing. Private-use and unassigned characters, and
// halves of a pair without the other, do take room: fonts without them draw a box.
bool mayTakeNoRoom(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        break;
    }
    const auto within = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
    return c == 0x034F || within(0x115F, 0x11FF) || within(0x17B4, 0x17B5) ||
           within(0x180B, 0x180F) || c == 0x3164 || within(0xD7B0, 0xD7FF) ||
           within(0xFE00, 0xFE0F) || c == 0xFFA0 || within(0x1F3FB, 0x1F3FF) ||
           within(0xE0000, 0xE0FFF);
}

} // namespace

// The characters of the text that take room on a line of their own.
qsizetype countTakingRoom(const OUString& text) {
    qsizetype count = 0;
    for (sal_Int32 i = 0; i < text.getLength();)
        count += !mayTakeNoRoom(text.iterateCodePoints(&i));
    return count;
}

void setAll(const Reference<beans::XPropertySet>& object, std::initializer_list<const char*> names,
            std::initializer_list<Any> values) {
    auto value = values.begin();
    for (const char* name : names)
        object->setPropertyValue(OUString::createFromAscii(name), *value++);
}

} // namespace office::fitting
