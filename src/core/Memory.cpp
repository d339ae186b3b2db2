// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Memory.h"

#include <malloc.h>

namespace {
// Blocks up to this size come from the heap (the largest the C library allows).
constexpr int kMapThreshold = 32 << 20;
// Free memory at the top of the heap beyond this goes back to the system. The program's
// buffers of one picture fit below it; with more kept, its heap grew by fragments over a
// few hundred requests (66 to 78 MB) before it levelled off.
constexpr int kProgramTrimThreshold = 4 << 20;
// The office draws through more and larger buffers at once, spread over its threads'
// heaps: it keeps about 90 MB more than without these settings (240 MB in all), and a
// picture takes 24 ms instead of 33. With 8 MB it gave most of that back and was as slow
// as before; 32 MB and 128 MB measured the same.
constexpr int kOfficeTrimThreshold = 32 << 20;
// One heap for all threads. The office answers the program's calls on whichever of its
// threads is free, and each thread drew from a heap of its own: a page drawn on a thread
// whose heap held no free picture buffers yet faulted in fresh ones, 20 to 60 ms more for
// that click. The program's pictures pass between threads too (drawn and read on the
// office thread, written by the window thread, rehearsed on the renewal's).
constexpr int kArenas = 1;
} // namespace

void keepLargeBlocksInHeap() {
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, kProgramTrimThreshold);
    mallopt(M_ARENA_MAX, kArenas);
}

QByteArrayList largeBlockEnvironment() {
    return {"MALLOC_MMAP_THRESHOLD_=" + QByteArray::number(kMapThreshold),
            "MALLOC_TRIM_THRESHOLD_=" + QByteArray::number(kOfficeTrimThreshold),
            "MALLOC_ARENA_MAX=" + QByteArray::number(kArenas)};
}
