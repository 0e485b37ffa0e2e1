#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gfx/gfx.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/figures.h"
#include "sim/labels.h"
#include "sim/layout.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The detector's tone ("l"): its amplitude is the resultant's length at the
// detector point over the longest it can be (all phasors in line), so that
// its power follows the intensity the curve shows. In its third state a
// tick sounds where the detector passes a maximum or a minimum of the light
// along the detector line. Without a sound device, or once it is lost, the
// foot line says so (foot_line.cpp) and one line on standard error; nothing
// else changes.

namespace {

constexpr const char* NO_DEVICE = N_("Kein Ton: kein Audiogerät");
constexpr const char* DEVICE_LOST = N_("Kein Ton: Audiogerät verloren");
// The rows the tick looks through at most in one frame (a drag's jump).
constexpr int32_t MOST_ROWS_SEARCHED = SCREEN_HEIGHT;

void say_no_sound(LessonState& lessons, const char* message, const char* reason) {
    show_foot_line(lessons, std::string(screen_text(message)));
    if (message == NO_DEVICE) {
        std::fprintf(stderr, "mehrfachspalt: no sound: %s\n",
                     reason != nullptr && *reason != '\0' ? reason : "no audio device");
    } else {
        std::fprintf(stderr, "mehrfachspalt: no sound: the audio device was lost\n");
    }
}

// Whether a maximum or a minimum of the light lies on the way from the
// last frame's row offset to this one's (the row left behind not counted).
bool passed_turn(int32_t from, int32_t to) {
    if (from == to) return false;
    const int32_t step = to > from ? 1 : -1;
    if ((to - from) * step > MOST_ROWS_SEARCHED) from = to - step * MOST_ROWS_SEARCHED;
    double before = light_at_offset(from);
    double here = light_at_offset(from + step);
    for (int32_t row = from + step;; row += step) {
        const double after = light_at_offset(row + step);
        if ((here - before) * (after - here) < 0) return true;
        if (row == to) return false;
        before = here;
        here = after;
    }
}

// The amplitude of a resultant: its length over the longest it can be.
float amplitude_of(float sum_x, float sum_y) {
    if (!(model.total_amplitude > 0)) return 0;
    const double length = std::hypot(static_cast<double>(sum_x), sum_y);
    const double amplitude = length / model.total_amplitude;
    return static_cast<float>(amplitude < 1 ? amplitude : 1);
}

}  // namespace

float tone_amplitude_now() {
    // A key may have moved the detector since the frame took the light.
    const PhasorSet light = light_of(setting_of(model), model.phase);
    return amplitude_of(light.sum_x, light.sum_y);
}

void cycle_tone(LessonState& lessons) {
    ToneState& tone = lessons.tone;
    switch (tone.mode) {
        case ToneMode::off:
            if (const char* failure = gfx_sound_open(); failure != nullptr) {
                say_no_sound(lessons, NO_DEVICE, failure);
                return;
            }
            take_foot_line_away(lessons);
            tone.mode = ToneMode::tone;
            tone.last_offset = model.detector_offset;
            // Heard at once, before the next frame.
            gfx_sound_frame(tone_amplitude_now(), false);
            break;
        case ToneMode::tone:
            tone.mode = ToneMode::ticks;
            tone.last_offset = model.detector_offset;
            break;
        case ToneMode::ticks:
            tone.mode = ToneMode::off;
            gfx_sound_close();
            break;
    }
}

void tone_frame_drawn(LessonState& lessons) {
    ToneState& tone = lessons.tone;
    if (tone.mode == ToneMode::off) return;
    if (!gfx_sound_playing()) {
        tone.mode = ToneMode::off;
        gfx_sound_close();
        say_no_sound(lessons, DEVICE_LOST, nullptr);
        return;
    }
    const bool tick =
        tone.mode == ToneMode::ticks && passed_turn(tone.last_offset, model.detector_offset);
    tone.last_offset = model.detector_offset;
    // The frame's own light, taken once for the chain and the resultant.
    gfx_sound_frame(amplitude_of(model.sum_x, model.sum_y), tick);
}

void tone_reset(LessonState& lessons) {
    gfx_sound_close();
    lessons.tone = ToneState{};
}
