// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QPrintDialog;

// Qt's print dialog checks the file of "Print to File" by opening it for appending, and a
// named pipe there blocks the program until somebody reads from it. This takes that check
// over: the name is examined without opening anything; a folder, pipe, device or socket is
// refused, a file that cannot be written is refused, and before an existing file is
// replaced the user is asked, each with Qt's own words where Qt has them; Qt's other checks
// then run as before. A dialog without a file field is left as it is.
void checkPrintFileWithoutOpening(QPrintDialog& dialog);
