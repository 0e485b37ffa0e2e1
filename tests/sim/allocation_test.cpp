#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "gfx/input/input.h"
#include "sim/sim_internal.h"
#include "sim_fixture.h"

// Counts every allocation of this test program, so that a test can see
// whether a stretch of code allocated.
namespace {
std::atomic<long> g_allocations{0};
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

namespace {

using FrameCost = SimulationTest;

TEST_F(FrameCost, AFrameAllocatesNothing) {
    for (int32_t count : {2, 8}) {
        use_slits(count, count == 8 ? 100 : 20);
        model.intensity_shown = true;
        redraw_scene();
        run_frame();  // anything built on first use is built now
        const long before = g_allocations.load();
        for (int frame = 0; frame < 20; ++frame)
            run_frame();
        EXPECT_EQ(g_allocations.load(), before) << count << " slits";
    }
}

TEST_F(FrameCost, ReadoutsCostNothingWhileNothingTheyShowChanges) {
    key_push('r');
    handle_key();  // prints them, which allocates
    run_frame();
    const long before = g_allocations.load();
    for (int frame = 0; frame < 20; ++frame) {
        run_frame();
        handle_key();
    }
    EXPECT_EQ(g_allocations.load(), before);
}

TEST_F(FrameCost, FramesWithKeptCurvesAllocateNothing) {
    // Four kept curves, and the detector over their legend, which every frame
    // puts back.
    model.intensity_shown = true;
    model.detector_x = 480;
    model.detector_distance = model.detector_x - model.barrier_x;
    toggle_kept_curves();
    for (int32_t count = 2; count <= 6; ++count) {
        run_frame();
        --model.detector_offset;  // a curve of two rows at least
        run_frame();
        use_slits(count, 20);
        redraw_scene();
    }
    model.detector_offset = AXIS_Y - 430;
    run_frame();
    const long before = g_allocations.load();
    for (int frame = 0; frame < 20; ++frame)
        run_frame();
    EXPECT_EQ(g_allocations.load(), before);
    EXPECT_EQ(kept_curves.count, 4);
}

}  // namespace
