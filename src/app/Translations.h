// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QLocale;

// Installs the program's own translation and Qt's (its dialogs and standard buttons) for
// the locale's languages on the running application. A language the program has no
// translation for keeps the English texts; Qt's part is still used when Qt has it.
void installTranslations(const QLocale& locale);
