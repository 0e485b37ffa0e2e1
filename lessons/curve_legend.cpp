#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "gfx/draw/draw.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "runtime/runtime.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The legend of the kept curves: per curve a short line in its colour and
// its setting, above the credit, oldest at the top. It ends where the longest
// possible sample (64 pixels) begins, so that the curves do not cover it; a
// text too long for that starts where the help menu's lines end and runs on.

namespace {

constexpr int32_t SWATCH_WIDTH = 10;
constexpr int32_t SWATCH_GAP = 2;
constexpr int32_t MAX_LABEL_CHARS =
    (LAST_COLUMN + 1 - LEGEND_LEFT_LIMIT - SWATCH_WIDTH - SWATCH_GAP) / GLYPH_WIDTH;
// Where "i" puts the detector line; the legend names any other.
constexpr int32_t CURVE_DETECTOR_X = DETECTOR_HOME_X - INTENSITY_SHIFT;

std::string text_of(StringDescriptor* number) {
    StringDescriptor joined;
    string_concat(joined, number, STRING_DESCRIPTOR);
    const StringBytes bytes = string_bytes(&joined, STRING_DESCRIPTOR);
    std::string text(reinterpret_cast<const char*>(bytes.data), static_cast<size_t>(bytes.length));
    string_erase(joined);
    return text;
}

// Rows copied as they are: the saved legend replaces what lies over it.
void copy_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    // The 16-colour screen keeps one byte per pixel.
    for (int32_t row = 0; row < height; ++row) {
        std::memcpy(target + static_cast<ptrdiff_t>(row) * target_pitch,
                    source + static_cast<ptrdiff_t>(row) * source_pitch,
                    static_cast<size_t>(width));
    }
}

// Where a line's swatch starts; its text follows.
int32_t line_left(const std::string& text) {
    const auto width = static_cast<int32_t>(text.size()) * GLYPH_WIDTH;
    return std::max(LEGEND_LEFT_LIMIT, LEGEND_TEXT_END + 1 - width - SWATCH_GAP - SWATCH_WIDTH);
}

}  // namespace

std::string kept_curve_label(const CurveSetting& setting) {
    std::string text = text_of(int_to_text(setting.slit_count));
    text += " ";
    // TRANSLATORS: the legend's "1 Spalt" and "2 Spalte": one slit, slits.
    text += setting.slit_count == 1 ? screen_text("Spalt") : screen_text("Spalte");
    text += "  " + text_of(int_to_text(setting.slit_spacing)) + "/" +
            text_of(single_to_text(setting.wavelength)) + " ";
    text += screen_text("Pix");
    // Settings that differ in the width or the model alone are told apart.
    if (setting.slit_width != 0) text += " b" + text_of(int_to_text(setting.slit_width));
    // TRANSLATORS: the legend's short mark of a curve in the far field.
    if (setting.far_field) text += " " + std::string(screen_text("fern"));
    if (setting.detector_x != CURVE_DETECTOR_X) {
        const std::string line = "  x=" + text_of(int_to_text(setting.detector_x));
        if (text.size() + line.size() <= MAX_LABEL_CHARS) text += line;
    }
    text.resize(std::min<size_t>(text.size(), MAX_LABEL_CHARS));
    return text;
}

void draw_curve_legend() {
    const KeptCurves& kept = lessons.kept;
    PixelBox& legend_box = lessons.legend.box;
    const int32_t lines = kept.count;
    legend_box = PixelBox{};
    if (lines == 0) return;
    std::string labels[MAX_KEPT_CURVES];
    int32_t left = LEGEND_TEXT_END;
    int32_t right = LEGEND_TEXT_END;
    for (int32_t i = 0; i < lines; ++i) {
        labels[i] = kept_curve_label(kept.curves[i].setting);
        const int32_t x = line_left(labels[i]);
        left = std::min(left, x);
        right = std::max(right, x + SWATCH_WIDTH + SWATCH_GAP +
                                    static_cast<int32_t>(labels[i].size()) * GLYPH_WIDTH - 1);
    }
    const int32_t top = LEGEND_BOTTOM_LINE_Y - (lines - 1) * LINE_STEP;
    legend_box = PixelBox{left, top, right, LEGEND_BOTTOM_LINE_Y + LABEL_HEIGHT - 1};
    scene_box(left, top, right, legend_box.y1, background());
    for (int32_t i = 0; i < lines; ++i) {
        const int32_t y = top + i * LINE_STEP;
        const int32_t x = line_left(labels[i]);
        scene_box(x, y + 6, x + SWATCH_WIDTH - 1, y + 8, kept.curves[i].colour);
        print_at_pixel(x + SWATCH_WIDTH + SWATCH_GAP, y, labels[i]);
    }
    gfx_get(nullptr, static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
            static_cast<float>(legend_box.y1), lessons.legend.pixels, RELATIVE_NONE, nullptr);
}

void restore_curve_legend() {
    const PixelBox& legend_box = lessons.legend.box;
    if (legend_box.x1 < legend_box.x0) return;
    gfx_put(nullptr, static_cast<float>(legend_box.x0), static_cast<float>(legend_box.y0),
            lessons.legend.pixels, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, copy_blend, 0, nullptr, nullptr);
}
