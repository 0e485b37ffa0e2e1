#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lessons/lab_values.h"

// The lab view's lists and steps: list ends stand, a width stays below the
// spacing and off gratings, the light goes round its kinds.

namespace {

TEST(LabValues, StartWithTheClassroomsDoubleSlit) {
    const LabValues values;
    const LabSetting lab = lab_setting_of(values);
    EXPECT_EQ(lab.slit_count, 2);
    EXPECT_EQ(lab.wavelength_nm, 532);
    EXPECT_EQ(lab.spacing_mm, 0.2);
    EXPECT_EQ(lab.width_mm, 0);
    EXPECT_EQ(lab.wall_m, 1);
    EXPECT_EQ(lab_scale_mm(values), 0.1);
}

TEST(LabValues, StepAlongTheirListsAndKeepTheWidthBelowTheSpacing) {
    struct Step {
        LabList list;
        int32_t direction;
        LabStep outcome;
        double spacing_mm, width_mm;
    };
    LabValues values;
    const Step steps[] = {
        {LabList::spacing, +1, LabStep::moved, 0.25, 0},
        {LabList::spacing, +1, LabStep::moved, 0.30, 0},
        {LabList::width, +1, LabStep::moved, 0.30, 0.02},
        {LabList::width, +1, LabStep::moved, 0.30, 0.05},
        {LabList::width, +1, LabStep::moved, 0.30, 0.08},
        {LabList::width, +1, LabStep::moved, 0.30, 0.10},
        {LabList::width, +1, LabStep::at_end, 0.30, 0.10},
        {LabList::spacing, -1, LabStep::moved, 0.25, 0.10},
        {LabList::spacing, -1, LabStep::moved, 0.20, 0.10},
        {LabList::spacing, -1, LabStep::moved, 0.15, 0.10},
        {LabList::spacing, -1, LabStep::moved, 0.10, 0.08},  // narrowed to fit
        {LabList::width, +1, LabStep::at_end, 0.10, 0.08},   // 0.10 is not below 0.10
        {LabList::spacing, -1, LabStep::moved, 0.01, 0},     // 100 lines per mm
        {LabList::width, +1, LabStep::no_width_with_grating, 0.01, 0},
        {LabList::spacing, -1, LabStep::moved, 1.0 / 300, 0},
        {LabList::spacing, -1, LabStep::moved, 1.0 / 600, 0},
        {LabList::spacing, -1, LabStep::at_end, 1.0 / 600, 0},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(step_lab_value(values, step.list, step.direction), step.outcome);
        const LabSetting lab = lab_setting_of(values);
        EXPECT_DOUBLE_EQ(lab.spacing_mm, step.spacing_mm);
        EXPECT_DOUBLE_EQ(lab.width_mm, step.width_mm);
    }
    EXPECT_EQ(lab_spacing_text(values), "600");
    EXPECT_TRUE(lab_grating(values));
}

TEST(LabValues, ListEndsStandAndSlitsStepByOneOrAlongTheList) {
    LabValues values;
    for (const LabList list : {LabList::wavelength, LabList::wall, LabList::scale}) {
        while (step_lab_value(values, list, +1) == LabStep::moved) {
        }
        EXPECT_EQ(step_lab_value(values, list, +1), LabStep::at_end);
    }
    EXPECT_EQ(lab_setting_of(values).wavelength_nm, 650);
    EXPECT_EQ(lab_setting_of(values).wall_m, 5);
    EXPECT_EQ(lab_scale_mm(values), 10);

    int32_t steps = 0;
    while (step_lab_value(values, LabList::slit_count, +1) == LabStep::moved)
        ++steps;
    EXPECT_EQ(steps, 14);  // 2 to 50 along 1..8, 10, 12, 16, 20, 25, 32, 40, 50
    EXPECT_EQ(lab_setting_of(values).slit_count, 50);
    EXPECT_EQ(step_lab_slits_by_one(values, +1), LabStep::at_end);
    EXPECT_EQ(step_lab_slits_by_one(values, -1), LabStep::moved);
    EXPECT_EQ(lab_setting_of(values).slit_count, 8);
    EXPECT_EQ(step_lab_slits_by_one(values, +1), LabStep::at_end);
}

TEST(LabValues, TheLightGoesRoundItsKindsAndTheChainFollowsOneLine) {
    LabValues values;
    step_lab_value(values, LabList::wavelength, +1);  // 589 nm
    struct Kind {
        int32_t count;
        double followed_nm;
    };
    for (const Kind kind : {Kind{2, 532}, Kind{3, 532}, Kind{31, 550}, Kind{1, 589}}) {
        step_lab_lines(values);
        const LabWavelengths light = lab_wavelengths(values);
        EXPECT_EQ(light.count, kind.count);
        EXPECT_EQ(light.nanometres[light.followed], kind.followed_nm);
        EXPECT_EQ(lab_setting_of(values).wavelength_nm, kind.followed_nm);
    }
    step_lab_lines(values);
    step_lab_lines(values);  // three lines: "+" follows 650 nm, then stands
    EXPECT_EQ(step_lab_value(values, LabList::wavelength, +1), LabStep::moved);
    EXPECT_EQ(lab_setting_of(values).wavelength_nm, 650);
    EXPECT_EQ(step_lab_value(values, LabList::wavelength, +1), LabStep::at_end);
    step_lab_lines(values);  // white: 400 to 700 nm
    const LabWavelengths white = lab_wavelengths(values);
    EXPECT_EQ(white.nanometres[0], 400);
    EXPECT_EQ(white.nanometres[30], 700);
    EXPECT_EQ(step_lab_value(values, LabList::wavelength, -1), LabStep::at_end);
}

TEST(LabValues, NumbersAreWrittenAsAClassWritesThem) {
    for (const auto& [value, text] :
         {std::pair{532.0, "532"}, std::pair{632.8, "632.8"}, std::pair{0.01, "0.01"},
          std::pair{1.5, "1.5"}, std::pair{10.0, "10"}}) {
        EXPECT_EQ(lab_number_text(value), text);
    }
    EXPECT_EQ(lab_spacing_text(LabValues{}), "0.20");
    // 0.70 mm on a wall 1 m away; 532 nm through 600 lines per mm.
    EXPECT_EQ(lab_angle_text(std::atan(0.7 / 1000)), "0.0401");
    EXPECT_EQ(lab_angle_text(std::asin(532e-6 * 600)), "18.61");
    EXPECT_EQ(lab_angle_text(-std::numbers::pi / 2), "-90.00");
}

}  // namespace
