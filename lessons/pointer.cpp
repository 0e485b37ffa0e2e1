#include <algorithm>

#include "gfx/input/input.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "optics/optics.h"
#include "sim/detector.h"
#include "sim/hooks.h"
#include "sim/phasors.h"
#include "sim/sim.h"

// The detector under the finger: on a whiteboard or a tablet the pointer is
// the only way to move it. Each move is the cursor keys' move, so the
// picture is the one those keys would leave.

namespace {

constexpr int32_t LEFT_BUTTON = 1;

// With the curve on, the rows a drag passed within one frame get their
// samples too, strictly between the offsets from and to, at the detector's
// new column.
void sample_rows_between(int32_t from, int32_t to) {
    if (!model.intensity_shown) return;
    SlitSetting setting = setting_of(model);
    const int32_t step = to > from ? 1 : -1;
    for (int32_t offset = from + step; offset != to; offset += step) {
        setting.detector_offset = offset;
        const PhasorSet light = light_of(setting, model.phase);
        draw_sample(model.axis_y - offset, intensity_of(light.sum_x, light.sum_y));
    }
}

}  // namespace

void follow_pointer() {
    int32_t x = -1;
    int32_t y = -1;
    int32_t buttons = 0;
    if (gfx_getmouse(&x, &y, nullptr, &buttons, nullptr) != 0 || (buttons & LEFT_BUTTON) == 0) {
        return;
    }
    const int32_t column = std::clamp(x, model.barrier_x, LAST_COLUMN);
    const int32_t offset = model.axis_y - std::clamp(y, 0, LAST_ROW);
    if (column == model.detector_x && offset == model.detector_offset) return;
    move_detector_to(column, offset, sample_rows_between);
}
