#include "tests/support/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Counts every allocation of this test program, so that a test can see
// whether a stretch of code allocated.
namespace {
std::atomic<long> g_allocations{0};
}

long allocations_so_far() {
    return g_allocations.load();
}

// Every form of new counts and takes memory from malloc, so that every form
// of delete can give it back with free (the sanitizers check the pairs).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size) {
    if (void* memory = operator new(size, std::nothrow)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}

// The compiler takes the free() inside a replacement delete for a mismatch
// with new; here new is malloc, so the pair matches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop
