#include "sim/sim_internal.h"

#include <cmath>
#include <string>
#include <string_view>

#include "gfx/draw/draw.h"
#include "runtime/runtime.h"

#include "sim/sim.h"

namespace {

// The barrier spans these rows, apart from the openings; the screen's size.
constexpr int32_t BARRIER_TOP = 20;
constexpr int32_t BARRIER_BOTTOM = 470;
constexpr int32_t SCREEN_RIGHT = 639;
constexpr int32_t SCREEN_BOTTOM = 479;

uint32_t background() {
    return static_cast<uint32_t>(model.background_colour);
}

// A piece of the barrier, three pixels wide, between the rows top and bottom.
// The rows may come in either order: a slit beyond the barrier's fixed end
// turns the end piece into one that runs outward to the screen edge.
void barrier_piece(int32_t top, int32_t bottom) {
    scene_box(model.barrier_x - 1, top, model.barrier_x + 1, bottom, COLOUR_BROWN);
}

// The circle-C mark beside the credit text: a circle of radius 5 with
// everything else omitted, and eleven pixels forming the letter inside it.
void draw_mark() {
    gfx_ellipse(nullptr, 530, 471, 5, COLOUR_BLACK, 0, 0, ELLIPSE_END_OMITTED, 0,
                RELATIVE_POINT_ABSOLUTE);
    constexpr int32_t LETTER[][2] = {{528, 470}, {528, 471}, {528, 472}, {529, 469},
                                     {529, 473}, {530, 469}, {530, 473}, {531, 469},
                                     {531, 473}, {532, 470}, {532, 472}};
    for (const auto& [x, y] : LETTER) {
        gfx_pset(nullptr, static_cast<float>(x), static_cast<float>(y), COLOUR_BLACK,
                 RELATIVE_POINT_ABSOLUTE, 0);
    }
}

// A label text, its number and " Pix", joined with the string operations.
std::string label(std::string_view text, StringDescriptor* number) {
    StringDescriptor joined;
    string_concat(joined, text.data(), static_cast<int32_t>(text.size()));
    string_concat(joined, number, STRING_DESCRIPTOR);
    string_concat(joined, " Pix", 4);
    const StringBytes bytes = string_bytes(&joined, STRING_DESCRIPTOR);
    std::string result(reinterpret_cast<const char*>(bytes.data),
                       static_cast<size_t>(bytes.length));
    string_erase(joined);
    return result;
}

}  // namespace

void place_slits() {
    const int32_t span = (model.slit_count - 1) * model.slit_spacing;
    for (int i = 1; i <= model.slit_count; ++i) {
        // span is always even, so the value is a whole number.
        const double y = model.axis_y - span / 2.0 + (i - 1) * model.slit_spacing;
        model.slit_y[i] = static_cast<int32_t>(std::lround(y));
    }
}

void draw_barrier() {
    const int32_t last = model.slit_count;
    barrier_piece(BARRIER_TOP, model.slit_y[1] - 3);
    for (int i = 1; i < last; ++i)
        barrier_piece(model.slit_y[i] + 3, model.slit_y[i + 1] - 3);
    barrier_piece(model.slit_y[last] + 3, BARRIER_BOTTOM);
}

void draw_rays() {
    const int32_t y = detector_y();
    for (int i = 1; i <= model.slit_count; ++i) {
        const uint32_t colour = i == 1 ? COLOUR_LIGHT_GREEN : COLOUR_BLUE;
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, y, colour);
    }
    scene_line(model.barrier_x, model.axis_y, model.detector_distance, 0, COLOUR_LIGHT_GREY,
               RELATIVE_SECOND);
}

void erase_rays() {
    place_slits();
    const int32_t y = detector_y();
    for (int i = 1; i <= model.slit_count; ++i) {
        // Cleans the opening and the first barrier row below it, which the
        // next frame's barrier restores.
        scene_box(model.barrier_x - 1, model.slit_y[i] - 2, 2, 5, background(), RELATIVE_SECOND);
        scene_line(model.barrier_x, model.slit_y[i], model.detector_x, y, background());
    }
}

void redraw_scene() {
    scene_box(0, 0, SCREEN_RIGHT, SCREEN_BOTTOM, background());
    clear_curve_samples();
    draw_mark();
    print_at_pixel(542, 464, "Z.Vundermalt");
    place_slits();
    draw_barrier();
    print_at_pixel(35, 20, label("Spaltabstand = ", int_to_text(model.slit_spacing)));
    print_at_pixel(35, 40, label("Wellenl\x84nge  = ", single_to_text(model.wavelength)));
    print_at_pixel(30, 465, "[m] -> Men\x81 einblenden");
    draw_rays();
    readouts_scene_cleared();
    redraw_kept_curves();
}
