#pragma once

#include "app/program_parts.h"
#include "lessons/lessons.h"
#include "sim/hooks.h"
#include "tests/sim/sim_fixture.h"

// The simulation with the lesson tools put together as the program has
// them, started on a headless screen; the core alone again afterwards. The
// lesson state is the program's, which every run renews.
class LessonTest : public SimulationTest {
protected:
    LessonState& lessons = *assemble_program();

    void SetUp() override {
        assemble_program();
        SimulationTest::SetUp();
    }
    void TearDown() override {
        SimulationTest::TearDown();
        install_sim_hooks(nullptr);
    }
};
