// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Pictures of a page pass through buffers of megabytes, one after another. By default the C
// library maps each such buffer afresh and unmaps it when freed, so every page of it is
// faulted in and cleared again for every picture. Kept in the heap instead, freed buffers
// are reused: less time per picture, and a flat memory use over many requests. All threads
// draw from one heap, so a buffer one thread freed is the next one another thread takes.

#include <QByteArrayList>

// For this process. Call once at start-up.
void keepLargeBlocksInHeap();

// The same for the office, as environment settings ("NAME=value"); it keeps more free
// memory in its heap than the program (see Memory.cpp).
QByteArrayList largeBlockEnvironment();
