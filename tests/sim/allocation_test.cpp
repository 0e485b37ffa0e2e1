#include <gtest/gtest.h>

#include "sim/scene.h"
#include "sim_fixture.h"
#include "tests/support/allocation_count.h"

namespace {

using FrameCost = SimulationTest;

TEST_F(FrameCost, AFrameAllocatesNothing) {
    for (int32_t count : {2, 8}) {
        use_slits(count, count == 8 ? 100 : 20);
        model.intensity_shown = true;
        redraw_scene();
        run_frame();  // anything built on first use is built now
        const long before = allocations_so_far();
        for (int frame = 0; frame < 20; ++frame)
            run_frame();
        EXPECT_EQ(allocations_so_far(), before) << count << " slits";
    }
}

}  // namespace
