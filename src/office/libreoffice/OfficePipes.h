#pragma once

// The office's named pipes: socket files in the system's temporary folder, named after the
// user's id. A killed office cannot remove them, so the engine removes those of its own
// offices once they have ended.

#include <QString>

namespace office {

// The socket file of the pipe the office accepts the program's connection on.
QString acceptPipePath(const QString& pipeName);
// Removes the accept pipes that offices of programs no longer running left behind.
void removePipesOfEndedPrograms();

} // namespace office
