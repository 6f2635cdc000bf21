#include "surfaces/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> GAllocations{0};
}

// Out of line, so the compiler does not pair the inlined malloc and free with new and delete.
[[gnu::noinline]] void* operator new(std::size_t Size) {
    ++GAllocations;
    if (void* P = std::malloc(Size ? Size : 1)) return P;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* P) noexcept { std::free(P); }
[[gnu::noinline]] void operator delete(void* P, std::size_t) noexcept { std::free(P); }

long AllocationCount() { return GAllocations; }
