#pragma once

#include "app/program_parts.h"
#include "sim/hooks.h"
#include "tests/sim/sim_fixture.h"

// The simulation with the lesson tools put together as the program has
// them, started on a headless screen; the core alone again afterwards.
class LessonTest : public SimulationTest {
protected:
    void SetUp() override {
        assemble_program();
        SimulationTest::SetUp();
    }
    void TearDown() override {
        SimulationTest::TearDown();
        install_sim_hooks(nullptr);
    }
};
