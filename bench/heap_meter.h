// The bytes a piece of work holds on the heap at its peak. The benchmark program replaces
// the global operator new and delete with versions that keep count (the sizes the C
// library actually reserved), so a build's grids, canvases and working lists are measured
// exactly and the same on every run, whatever else the machine is doing.
#pragma once

#include <cstdint>

namespace lorvex::bench {

// Bytes held on the heap now.
std::int64_t HeapBytes();
// Starts a new peak at the bytes held now.
void ResetHeapPeak();
// The most bytes held since the last ResetHeapPeak.
std::int64_t HeapPeak();

}  // namespace lorvex::bench
