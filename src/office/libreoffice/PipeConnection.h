// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's end of the office's pipe, made by the program itself rather than by the UNO
// runtime, so that the process listening on it is known to be this user's before a byte goes
// over it: the pipe's socket file lies in a folder every local user can write to.

#include <com/sun/star/connection/XConnection.hpp>

#include <QString>

namespace office {

// Connects to the socket file. Throws connection::NoConnectException while no one listens
// on it, AppError when the one who listens is another user's process.
::com::sun::star::uno::Reference<::com::sun::star::connection::XConnection>
connectToPipe(const QString& socketPath, const QString& description);

} // namespace office
