// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QObject;

// Opens a new message in the desktop's mail program, with the subject (none when empty) and
// the file attached, through xdg-email: the freedesktop.org way to reach whichever mail
// program the user chose. Returns at once: xdg-email may run for as long as the mail
// program it started, which the user may keep open for hours. When xdg-email cannot be
// started or fails, failed runs later on this thread with the reason, worded to follow
// "No mail program could be opened: " ("none is set up"), unless receiver has been
// destroyed by then.
//
// xdg-email runs in a session of its own, so the mail program it starts outlives this
// program and is not ended with it by an interrupt from the terminal.
void composeMail(const QString& subject, const QString& attachment, QObject* receiver,
                 std::function<void(const QString& reason)> failed);
