#include "core/Memory.h"

#include <malloc.h>

namespace {
// Blocks up to this size come from the heap (the largest the C library allows).
constexpr int kMapThreshold = 32 << 20;
// Freed memory at the top of the heap is given back only beyond this.
constexpr int kTrimThreshold = 128 << 20;
} // namespace

void keepLargeBlocksInHeap() {
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
}

QByteArrayList largeBlockEnvironment() {
    return {"MALLOC_MMAP_THRESHOLD_=" + QByteArray::number(kMapThreshold),
            "MALLOC_TRIM_THRESHOLD_=" + QByteArray::number(kTrimThreshold)};
}
