#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/typed_frames.h"
#include "sim/sim.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

class NamedKeys : public LessonTest {
protected:
    void TearDown() override {
        type_keys({});
        set_step_feed(nullptr);
        LessonTest::TearDown();
    }
};

TEST_F(NamedKeys, PageUpAndPageDownAreTypedAsTheWindowReportsThem) {
    std::vector<std::string> keys;
    ASSERT_EQ(split_keys("+{pgdn}{pgup}{pgdn}{up}{pgd", &keys), "");
    const std::vector<std::string> expected = {"+", "{pgdn}", "{pgup}", "{pgdn}", "{up}",
                                               "{", "p",      "g",      "d"};
    EXPECT_EQ(keys, expected);
    type_keys({"{pgdn}", "{pgdn}", "{pgup}"});
    const int32_t spacings[] = {15, 12, 15};
    for (const int32_t spacing : spacings) {
        run_typed_frame();
        EXPECT_EQ(model.slit_spacing, spacing);
    }
}

}  // namespace
