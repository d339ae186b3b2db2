// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The files a run of the program makes for its own use (the filled document, the template's
// copy, the preview picture) carry the user's details and must not outlive it, however it
// ends: closed, ended by a signal, its window system gone, or killed. Each run notes them in
// a record of its own ("run-<process id>" in the cache folder's "runs"), which it holds
// locked while it lives. At its exit it removes them; what a run could not remove (it was
// killed) goes at a later start, once that run is no longer alive: its lock is free and no
// process has its id. Another running copy's files are never touched, and a file is removed
// only while it is still the one noted (same file, not a later one under its name).

#include <QString>

namespace runFiles {

// Notes a file this run has just made. Never throws: a file that cannot be noted is still
// removed by whoever removes it now.
void note(const QString& path);

// Removes this run's noted files that are still the ones noted. Runs by itself at the
// program's exit (also one the window system forces) once anything was noted. Never throws.
void removeAll();

// Removes this run's noted files that are still the ones noted, with async-signal-safe calls
// only: for a signal handler that ends the program at once. Takes no lock and allocates
// nothing; the files noted while it runs may stay (a later start removes them).
void removeAllFromSignal();

// Removes the files noted by earlier runs of this user that are no longer alive, and their
// records. Never throws.
void removeLeftByEndedRuns();

// The folder of the runs' records (only computed).
QString recordsFolder();

} // namespace runFiles
