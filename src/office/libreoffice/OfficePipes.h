// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The office's named pipes: socket files in the system's temporary folder, named after the
// user's id. Each office has two: the pipe the program connects over, and its single-instance
// pipe, named after its profile. The office's runtime puts them there and nowhere else, so
// other local users must not be able to use or take them: both names carry 128 random bits
// (the profile's in an environment only this user can read), the office makes them for its
// user alone (its umask, see keeper/OfficeKeeper.cpp), and the program talks only to a pipe
// this user listens on (PipeConnection.h). A killed office cannot remove them, so the engine
// removes those of its own offices once they have ended, and only when no one listens on them.

#include <QString>

namespace office {

// The socket file of the pipe the office accepts the program's connection on.
QString acceptPipePath(const QString& pipeName);
// The socket file of the single-instance pipe of an office running on the profile (given
// as the office takes it, a file URL).
QString singleInstancePipePath(const QString& profileUrl);

// Removes the socket file at the path when it is one of this user's and no one listens on it
// any more: never one a live office uses.
void removeDeadPipe(const QString& path);
// Removes the accept pipes that offices of programs no longer running left behind.
void removePipesOfEndedPrograms();

} // namespace office
