#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "tests/support/recorded_time.h"

namespace test_support {

// Puts the process-wide graphics state back to a fresh process's.
inline void reset_gfx_state() {
    gfx_reset();
}

// Every graphics test starts and ends in that state, with recorded time and
// the driver setting QXGFX as the process had it.
class GfxTest : public RecordedTimeTest {
protected:
    void SetUp() override {
        RecordedTimeTest::SetUp();
        if (const char* value = std::getenv("QXGFX"); value != nullptr) saved_setting_ = value;
        reset_gfx_state();
    }
    void TearDown() override {
        reset_gfx_state();
        if (saved_setting_) {
            setenv("QXGFX", saved_setting_->c_str(), 1);
        } else {
            unsetenv("QXGFX");
        }
        RecordedTimeTest::TearDown();
    }

private:
    std::optional<std::string> saved_setting_;
};

}  // namespace test_support
