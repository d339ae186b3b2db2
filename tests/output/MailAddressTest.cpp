// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/MailAddress.h"

#include <gtest/gtest.h>

// An address is found whole, in any script, or not at all.
TEST(MailAddress, IsTakenWholeOrNotAtAll) {
    const struct {
        const char* text;
        const char* address;
    } table[] = {
        {"Bitte bis 1. Mai an müller@example.de antworten", "müller@example.de"},
        {"RSVP to josé.garcia@example.com by Friday.", "josé.garcia@example.com"},
        {"Écrivez à élodie@exemple.fr.", "élodie@exemple.fr"},
        {"写信给 王伟@例子.中国 吧", "王伟@例子.中国"},
        {"Ответ: иван.петров@пример.рф", "иван.петров@пример.рф"},
        {"(jane.doe+party@mail.example.co.uk)", "jane.doe+party@mail.example.co.uk"},
        {"Mail o'brien@example.ie, please", "o'brien@example.ie"},
        {"<tom_x-y@sub-domain.example.org>", "tom_x-y@sub-domain.example.org"},
        {"Call 555-1234", ""},
        {"no address@here", ""},
        {"a!b@example.com", ""},
        {"first@second@example.com", ""},
        {"jane@example.com_x", ""},
        {"jane@-example.com", ""},
        {"mail.@example.com or bob@example.com", "bob@example.com"},
    };
    for (const auto& row : table)
        EXPECT_EQ(firstMailAddress(QString::fromUtf8(row.text)), QString::fromUtf8(row.address))
            << row.text;
}
