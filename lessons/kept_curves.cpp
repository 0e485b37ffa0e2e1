#include <algorithm>
#include <iterator>

#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "sim/scene.h"
#include "sim/sim.h"

// The curves of several settings side by side: the lesson's question of how
// the slit count, spacing and wavelength change the pattern is answered by
// one picture instead of a memory of the previous one.

namespace {

CurveSetting setting_now(const LessonState& lessons) {
    if (lessons.lab.on) return CurveSetting{.lab = true, .lab_values = lessons.lab.values};
    return CurveSetting{model.slit_count, model.slit_spacing,      model.wavelength,
                        model.detector_x, optics_model.slit_width, optics_model.far_field};
}

int32_t rows_taken(const CurveSample (&samples)[CURVE_ROWS]) {
    return static_cast<int32_t>(std::count_if(std::begin(samples), std::end(samples),
                                              [](const CurveSample& s) { return s.taken; }));
}

int32_t longest_of(const CurveSample (&samples)[CURVE_ROWS]) {
    int32_t longest = 0;
    for (const CurveSample& s : samples) {
        if (s.taken) longest = std::max(longest, s.length);
    }
    return longest;
}

void forget_curve(LessonState& lessons, int32_t index) {
    KeptCurves& k = lessons.kept;
    std::move(k.curves + index + 1, k.curves + k.count, k.curves + index);
    --k.count;
}

// The first colour no kept curve has, so that a curve keeps its colour for
// as long as it is kept.
uint32_t free_colour(LessonState& lessons) {
    for (const uint32_t colour : KEPT_CURVE_COLOURS) {
        const KeptCurves& k = lessons.kept;
        const bool used = std::any_of(k.curves, k.curves + k.count,
                                      [colour](const KeptCurve& c) { return c.colour == colour; });
        if (!used) return colour;
    }
    return KEPT_CURVE_COLOURS[0];
}

// The current curve becomes the newest earlier one; the oldest goes when
// there is no room. A setting only passed through on the way to another
// ("g" three times from 2 to 5 slits) has samples on the detector's row
// alone; kept, it would push out the curves the lesson compares.
void file_current_curve(LessonState& lessons) {
    KeptCurves& k = lessons.kept;
    if (rows_taken(k.current) < 2) return;
    if (k.count == MAX_KEPT_CURVES) forget_curve(lessons, 0);
    KeptCurve& filed = k.curves[k.count];
    filed.colour = free_colour(lessons);
    filed.setting = k.current_setting;
    std::copy(std::begin(k.current), std::end(k.current), std::begin(filed.samples));
    ++k.count;
}

// A setting met again is the current one again, with the samples it had.
void take_back_curve(LessonState& lessons, const CurveSetting& setting) {
    KeptCurves& k = lessons.kept;
    std::fill(std::begin(k.current), std::end(k.current), CurveSample{});
    for (int32_t i = 0; i < k.count; ++i) {
        if (!(k.curves[i].setting == setting)) continue;
        std::copy(std::begin(k.curves[i].samples), std::end(k.curves[i].samples),
                  std::begin(k.current));
        forget_curve(lessons, i);
        break;
    }
    k.current_setting = setting;
}

int32_t longest_sample(LessonState& lessons) {
    const KeptCurves& k = lessons.kept;
    int32_t longest = longest_of(k.current);
    for (int32_t i = 0; i < k.count; ++i)
        longest = std::max(longest, longest_of(k.curves[i].samples));
    return longest;
}

}  // namespace

void toggle_kept_curves(LessonState& lessons) {
    lessons.curves_kept = !lessons.curves_kept;
    KeptCurves& k = lessons.kept;
    k = KeptCurves{};
    if (lessons.curves_kept) {
        // The samples drawn so far belong to the setting in force.
        std::copy(std::begin(curve_samples), std::end(curve_samples), std::begin(k.current));
        k.current_setting = setting_now(lessons);
        k.longest = longest_of(k.current);
        // Hidden with the intensity, the legend waits for it too.
        lessons.legend.box = PixelBox{};
        if (model.intensity_shown) draw_curve_legend(lessons);
        note_figures_drawn(lessons);
        return;
    }
    redraw_scene();
}

void draw_curve_row(LessonState& lessons, int32_t y) {
    if (y < 0 || y >= CURVE_ROWS) return;
    struct Bar {
        int32_t length;
        uint32_t colour;
    };
    Bar bars[MAX_KEPT_CURVES + 1];
    int32_t n = 0;
    const auto add = [&bars, &n](const CurveSample& s, uint32_t colour) {
        if (!s.taken || s.length <= 0) return;
        // Insertion keeps equal lengths in order, so the later curve wins a tie.
        int32_t i = n++;
        for (; i > 0 && bars[i - 1].length < s.length; --i)
            bars[i] = bars[i - 1];
        bars[i] = Bar{std::min(s.length, SCREEN_WIDTH), colour};
    };
    const KeptCurves& k = lessons.kept;
    for (int32_t i = 0; i < k.count; ++i)
        add(k.curves[i].samples[y], k.curves[i].colour);
    add(k.current[y], COLOUR_LIGHT_RED);
    // The pixels a sample line from one beyond the right edge lights.
    for (int32_t i = 0; i < n; ++i)
        scene_line(CURVE_ORIGIN_X - bars[i].length, y, CURVE_ORIGIN_X - 1, y, bars[i].colour);
}

void keep_curve_sample(LessonState& lessons, int32_t y) {
    if (!lessons.curves_kept || y < 0 || y >= CURVE_ROWS) return;
    KeptCurves& k = lessons.kept;
    k.current[y] = curve_samples[y];
    k.current_setting = setting_now(lessons);
    k.longest = std::max(k.longest, curve_samples[y].length);
    if (k.count > 0) draw_curve_row(lessons, y);
}

void redraw_kept_curves(LessonState& lessons) {
    // The screen was cleared: no legend stands.
    lessons.legend.box = PixelBox{};
    // Hidden with the intensity: the samples wait for it unchanged.
    if (!lessons.curves_kept || !model.intensity_shown) return;
    const CurveSetting now = setting_now(lessons);
    if (!(lessons.kept.current_setting == now)) {
        file_current_curve(lessons);
        take_back_curve(lessons, now);
    }
    lessons.kept.longest = longest_sample(lessons);
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        draw_curve_row(lessons, y);
        const CurveSample& s = lessons.kept.current[y];
        if (s.taken) record_curve_sample(y, s.intensity);
    }
    // Over the rays that cross its rows.
    draw_curve_legend(lessons);
    note_figures_drawn(lessons);
}
