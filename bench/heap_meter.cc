#include "bench/heap_meter.h"

#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace lorvex::bench {

namespace {

std::atomic<std::int64_t> held{0};
std::atomic<std::int64_t> peak{0};

void* Take(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
  void* p = alignment <= alignof(std::max_align_t)
                ? std::malloc(size)
                : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
  if (p == nullptr) return nullptr;
  const auto bytes = static_cast<std::int64_t>(malloc_usable_size(p));
  const std::int64_t now = held.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  std::int64_t high = peak.load(std::memory_order_relaxed);
  while (now > high && !peak.compare_exchange_weak(high, now, std::memory_order_relaxed)) {
  }
  return p;
}

void Give(void* p) {
  if (p == nullptr) return;
  held.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(p)), std::memory_order_relaxed);
  std::free(p);
}

void* TakeOrThrow(std::size_t size, std::size_t alignment) {
  void* p = Take(size, alignment);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

std::int64_t HeapBytes() { return held.load(std::memory_order_relaxed); }
void ResetHeapPeak() { peak.store(HeapBytes(), std::memory_order_relaxed); }
std::int64_t HeapPeak() { return peak.load(std::memory_order_relaxed); }

}  // namespace lorvex::bench

using lorvex::bench::Give;
using lorvex::bench::Take;
using lorvex::bench::TakeOrThrow;

void* operator new(std::size_t size) { return TakeOrThrow(size, 0); }
void* operator new[](std::size_t size) { return TakeOrThrow(size, 0); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Take(size, 0); }
void* operator new(std::size_t size, std::align_val_t a) {
  return TakeOrThrow(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
  return TakeOrThrow(size, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { Give(p); }
void operator delete[](void* p) noexcept { Give(p); }
void operator delete(void* p, std::size_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t) noexcept { Give(p); }
void operator delete(void* p, std::align_val_t) noexcept { Give(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Give(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Give(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Give(p); }
