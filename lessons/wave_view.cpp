#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/screen/screen.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "lessons/wave_field.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/texts.h"

// The wave picture ("f"): behind the figures, between the barrier and the
// detector line, the field of the very sources the chain sums (the waves
// at the frame's phase) or its intensity in space. It is the background
// there: after the frame (and after a key) every background pixel of the
// region, including those a figure's erasure left, takes the picture's
// shade, and no text or mark is covered. Everything is drawn with one put
// whose blender only covers the background and the picture's own shades.
//
// Its scale is the detector line's: the shades are set against the largest
// value of the field along the detector line's column (its brightest
// fringe), saturating above it, so that what the curve shows as its maxima
// is bright in the picture too, the light near the slits does not wash out
// the rest, and a faint fringe (an eighth of it) still shows.

namespace {

// Below this wavelength a pixel grid shows no crests: the intensity is
// shown instead, and the note says so.
constexpr double SHORTEST_WAVES = 4.0;
constexpr const char* NOTE = N_("Wellen zu fein: Intensität");
// The key to the shades, one line: the crests and troughs have the hues
// that bright and dark have in the intensity.
constexpr const char* WAVES_KEY = N_("Berg: gelb, Tal: blau");
constexpr const char* INTENSITY_KEY = N_("hell: gelb, dunkel: blau");

constexpr int32_t PITCH = (FIELD_COLUMNS + 15) / 16 * 16;
struct SourceImage {
    ImageBuffer header = {.tag = 7,
                          .bytes_per_pixel = 1,
                          .width = FIELD_COLUMNS,
                          .height = FIELD_ROWS,
                          .pitch = PITCH,
                          .reserved = {}};
    uint8_t pixels[PITCH * FIELD_ROWS] = {};
};
SourceImage image;

// What the source image shows now, so that it is filled again only when
// that changes.
struct Shown {
    bool valid = false;
    bool waves = false;
    int32_t right = 0;
    int32_t columns = 0;
    float phase = 0;
    float reference = 0;
    FieldSources sources;
    bool operator==(const Shown&) const = default;
};
Shown shown;

// The blender's part: what may be covered and what must not be.
constexpr int32_t MAX_KEEP_OUTS = 80;
struct Cover {
    uint8_t colours[1 + VIEW_SHADES] = {};  // the background, the shades
    PixelBox keep_out[MAX_KEEP_OUTS];
    int32_t keep_outs = 0;
};
Cover cover;

uint8_t background_byte() {
    return static_cast<uint8_t>(background());
}

FieldSources current_sources() {
    SlitSetting setting = setting_of(model);
    setting.slit_width = static_cast<float>(optics_model.slit_width);
    return field_sources_of(setting);
}

bool waves_possible() {
    return field_wavelength(field_sources()) >= SHORTEST_WAVES;
}

bool waves_shown(LessonState& lessons) {
    return lessons.wave.view == WaveView::WAVES && waves_possible();
}

// The last column of the region: left of the detector line, clear of the
// curve.
int32_t region_right() {
    return std::min(model.detector_x - 1, FIELD_RIGHT);
}

// The column the shades are scaled against: the detector line's, or the
// field's last where the line stands beyond it.
int32_t reference_column() {
    return std::min(model.detector_x, FIELD_RIGHT);
}

// Builds the reference column ahead of the others (outside the lock).
void prepare_reference() {
    build_field_column(reference_column());
}

// The largest |A| (waves) or intensity along the reference column; infinite
// (everything the lowest shade) where there is none.
float reference_value(bool waves) {
    const int32_t x = reference_column();
    if (x < FIELD_LEFT) return HUGE_VALF;
    build_field_column(x);
    if (!field_column_ready(x)) return HUGE_VALF;
    const float value = waves ? column_amplitude_max(x) : column_intensity_max(x);
    return value > 0 && std::isfinite(value) ? value : HUGE_VALF;
}

// The shade of a level 0..3, counted as comparisons so that a row is
// shaded without a branch.
uint8_t shade_of(int32_t level) {
    return static_cast<uint8_t>(VIEW_SHADE_COLOURS[level].entry);
}

// The shades' entries as the first and the steps between them, so that a
// row is shaded in one vector loop: entry(level) = first + the steps up to it.
struct Steps {
    uint8_t first, up1, up2, up3;
};

void shade_row(const float* __restrict values, uint8_t* __restrict row, int32_t count, float low,
               float middle, float high, Steps steps) {
    for (int32_t i = 0; i < count; ++i) {
        const float value = values[i];
        row[i] = static_cast<uint8_t>(steps.first + (value >= low ? steps.up1 : 0) +
                                      (value >= middle ? steps.up2 : 0) +
                                      (value >= high ? steps.up3 : 0));
    }
}

// The field at the phase: Re(e^{ip} A).
void field_row(const float* __restrict re, const float* __restrict im, float* __restrict value,
               int32_t count, float c, float s) {
    for (int32_t i = 0; i < count; ++i)
        value[i] = re[i] * c - im[i] * s;
}

void fill_image(const Shown& now) {
    const uint8_t blank = background_byte();
    const Steps steps{shade_of(0), static_cast<uint8_t>(shade_of(1) - shade_of(0)),
                      static_cast<uint8_t>(shade_of(2) - shade_of(1)),
                      static_cast<uint8_t>(shade_of(3) - shade_of(2))};
    const int32_t drawn = std::max(now.right - FIELD_LEFT + 1, 0);  // columns with a shade
    const float top = now.reference;
    const auto c = static_cast<float>(std::cos(static_cast<double>(now.phase)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(now.phase)));
    float values[FIELD_COLUMNS];
    for (int32_t y = FIELD_TOP; y <= FIELD_BOTTOM; ++y) {
        uint8_t* row = image.pixels + (y - FIELD_TOP) * PITCH;
        if (now.waves) {
            // Trough, below zero, above zero, crest.
            field_row(field_re_row(y), field_im_row(y), values, drawn, c, s);
            shade_row(values, row, drawn, -top / 2, 0, top / 2, steps);
        } else {
            // Dark below an eighth, faint to a half, bright to the whole,
            // brightest (saturated) above.
            shade_row(field_intensity_row(y), row, drawn, top / 8, top / 2, top, steps);
        }
        std::memset(row + drawn, blank, static_cast<size_t>(FIELD_COLUMNS - drawn));
    }
}

void clear_image() {
    std::memset(image.pixels, background_byte(), sizeof image.pixels);
}

bool covers(uint8_t colour) {
    return std::find(std::begin(cover.colours), std::end(cover.colours), colour) !=
           std::end(cover.colours);
}

// A box of the target (relative to the put) holding a pixel the picture may
// not cover: a text still standing, a mark.
bool holds_figure(const uint8_t* target, int32_t pitch, const PixelBox& box) {
    for (int32_t y = box.y0; y <= box.y1; ++y) {
        const uint8_t* row = target + static_cast<ptrdiff_t>(y) * pitch;
        for (int32_t x = box.x0; x <= box.x1; ++x)
            if (!covers(row[x])) return true;
    }
    return false;
}

// A row of the put: the source where the target is the background or a
// shade and not kept. Without branches, a vector loop.
void blend_row(const uint8_t* __restrict from, uint8_t* __restrict to,
               const uint8_t* __restrict keep, int32_t width) {
    // Read from the record: as constants the compiler would turn the five
    // tests into one bit test, which has no vector form.
    const uint8_t blank = cover.colours[0];
    const uint8_t s0 = cover.colours[1];
    const uint8_t s1 = cover.colours[2];
    const uint8_t s2 = cover.colours[3];
    const uint8_t s3 = cover.colours[4];
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t t = to[x];
        const uint8_t f = from[x];
        const auto covered =
            static_cast<uint8_t>((t == blank) | (t == s0) | (t == s1) | (t == s2) | (t == s3));
        const auto take = static_cast<uint8_t>(covered & static_cast<uint8_t>(keep[x] == 0));
        to[x] = take ? f : t;
    }
}

// Covers the background and the picture's earlier shades, outside the
// boxes of the texts and marks that still stand.
void put_under(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
               int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    PixelBox standing[MAX_KEEP_OUTS];
    int32_t count = 0;
    for (int32_t i = 0; i < cover.keep_outs; ++i) {
        PixelBox box = cover.keep_out[i];
        box.x0 = std::max(box.x0, 0);
        box.y0 = std::max(box.y0, 0);
        box.x1 = std::min(box.x1, width - 1);
        box.y1 = std::min(box.y1, height - 1);
        if (box.x1 < box.x0 || box.y1 < box.y0) continue;
        if (holds_figure(target, target_pitch, box)) standing[count++] = box;
    }
    uint8_t keep[FIELD_COLUMNS];
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = source + static_cast<ptrdiff_t>(y) * source_pitch;
        uint8_t* to = target + static_cast<ptrdiff_t>(y) * target_pitch;
        bool kept = false;
        for (int32_t i = 0; i < count; ++i) {
            const PixelBox& box = standing[i];
            if (y < box.y0 || y > box.y1) continue;
            if (!kept) std::memset(keep, 0, static_cast<size_t>(width));
            kept = true;
            std::memset(keep + box.x0, 1, static_cast<size_t>(box.x1 - box.x0 + 1));
        }
        if (!kept) std::memset(keep, 0, static_cast<size_t>(width));
        blend_row(from, to, keep, width);
    }
}

void add_keep_out(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (cover.keep_outs == MAX_KEEP_OUTS) return;
    cover.keep_out[cover.keep_outs++] =
        PixelBox{x0 - FIELD_LEFT, y0 - FIELD_TOP, x1 - FIELD_LEFT, y1 - FIELD_TOP};
}

// A label's place that one of the picture's own lines now overlaps: an
// erased label (the lines stand clear of every label that stands), whose box
// would keep the background around the line.
bool overlaps_own_line(LessonState& lessons, const TextPlace& place) {
    for (const ViewLine* line : {&lessons.wave.note, &lessons.wave.key}) {
        if (line->x < 0 || (place.x == line->x && place.y == line->y)) continue;
        const int32_t width = static_cast<int32_t>(screen_text(line->text).size()) * GLYPH_WIDTH;
        if (place.x < line->x + width && line->x < place.x + place.width &&
            place.y < line->y + LABEL_HEIGHT && line->y < place.y + LABEL_HEIGHT) {
            return true;
        }
    }
    return false;
}

void gather_keep_outs(LessonState& lessons) {
    cover.keep_outs = 0;
    for (const TextPlace& place : text_places()) {
        if (overlaps_own_line(lessons, place)) continue;
        add_keep_out(place.x, place.y, place.x + place.width - 1, place.y + LABEL_HEIGHT - 1);
    }
    const PixelBox& legend = lessons.legend.box;
    if (legend.x0 <= legend.x1) add_keep_out(legend.x0, legend.y0, legend.x1, legend.y1);
    add_keep_out(MARK_X - MARK_RADIUS, MARK_Y - MARK_RADIUS, MARK_X + MARK_RADIUS,
                 MARK_Y + MARK_RADIUS);
}

void put_image(LessonState& lessons) {
    cover.colours[0] = background_byte();
    for (int32_t i = 0; i < VIEW_SHADES; ++i)
        cover.colours[1 + i] = static_cast<uint8_t>(VIEW_SHADE_COLOURS[i].entry);
    gather_keep_outs(lessons);
    gfx_put(nullptr, FIELD_LEFT, FIELD_TOP, &image, PUT_WHOLE_IMAGE, 0, 0, 0, 0, 0, put_under, 0,
            nullptr, nullptr);
}

// The picture as the region, the field and the phase have it now.
void paint_view(LessonState& lessons, float phase) {
    Shown now;
    now.valid = true;
    now.waves = waves_shown(lessons);
    now.right = std::min(region_right(), FIELD_LEFT + field_columns_built() - 1);
    now.columns = field_columns_built();
    now.phase = now.waves ? phase : 0.0f;
    now.reference = now.right >= FIELD_LEFT ? reference_value(now.waves) : 0.0f;
    now.sources = field_sources();
    if (!(now == shown)) {
        fill_image(now);
        shown = now;
    }
    put_image(lessons);
    lessons.wave.scene_cleared = false;
    lessons.wave.painted_x = model.detector_x;
    lessons.wave.painted_offset = model.detector_offset;
}

void follow_sources() {
    const FieldSources sources = current_sources();
    if (field_columns_built() == 0 || !(sources == field_sources())) start_field(sources);
}

int32_t line_width(const char* text) {
    return static_cast<int32_t>(screen_text(text).size()) * GLYPH_WIDTH;
}

void erase_line(ViewLine& line) {
    if (line.x >= 0 && line.text != nullptr) {
        scene_box(line.x, line.y, line_width(line.text) - 1, LABEL_HEIGHT - 1, background(),
                  RELATIVE_SECOND);
    }
    line = ViewLine{};
}

bool is_own(LessonState& lessons, const TextPlace& place) {
    const WaveViewState& wave = lessons.wave;
    return (place.x == wave.note.x && place.y == wave.note.y) ||
           (place.x == wave.key.x && place.y == wave.key.y);
}

bool in_own_line(LessonState& lessons, int32_t x, int32_t y) {
    for (const ViewLine* line : {&lessons.wave.note, &lessons.wave.key}) {
        if (line->x >= 0 && x >= line->x && x < line->x + line_width(line->text) && y >= line->y &&
            y < line->y + LABEL_HEIGHT) {
            return true;
        }
    }
    return false;
}

// A label's box still holds its text, black on white (an erased one is
// listed on, and a figure or one of the picture's own lines may cross it).
bool stands(LessonState& lessons, const TextPlace& place) {
    const ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->framebuffer == nullptr) return true;
    const int32_t x0 = std::max(place.x, 0);
    const int32_t x1 = std::min(place.x + place.width - 1, LAST_COLUMN);
    const int32_t y0 = std::max(place.y, 0);
    const int32_t y1 = std::min(place.y + LABEL_HEIGHT - 1, LAST_ROW);
    for (int32_t y = y0; y <= y1; ++y) {
        const uint8_t* row = screen->framebuffer + static_cast<ptrdiff_t>(y) * screen->pitch;
        for (int32_t x = x0; x <= x1; ++x)
            if (row[x] == COLOUR_BLACK && !in_own_line(lessons, x, y)) return true;
    }
    return false;
}

// A line of width pixels at (x, y) keeps a glyph's width from every label
// that stands and from the box taken.
bool spot_free(LessonState& lessons, int32_t x, int32_t y, int32_t width, const PixelBox& taken) {
    const auto apart = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        return y1 < y || y0 >= y + LABEL_HEIGHT || x1 + GLYPH_WIDTH < x ||
               x0 >= x + width + GLYPH_WIDTH;
    };
    if (!apart(taken.x0, taken.y0, taken.x1, taken.y1)) return false;
    const PixelBox& legend = lessons.legend.box;
    if (legend.x0 <= legend.x1 && !apart(legend.x0, legend.y0, legend.x1, legend.y1)) {
        return false;
    }
    for (const TextPlace& place : text_places()) {
        if (apart(place.x, place.y, place.x + place.width - 1, place.y + LABEL_HEIGHT - 1) ||
            is_own(lessons, place)) {
            continue;
        }
        if (stands(lessons, place)) return false;
    }
    return true;
}

// Where a line of the picture goes: at the region's right end, half a glyph
// from the detector line, in the first row from the top that is clear of
// the labels; where the region is too narrow, just right of the detector
// line. Never nowhere while the screen has a free row.
ViewLine spot_for(LessonState& lessons, const char* text, const PixelBox& taken) {
    const int32_t width = line_width(text);
    int32_t x = region_right() - GLYPH_WIDTH / 2 - width + 1;
    if (x < FIELD_LEFT) x = std::max(model.detector_x, BARRIER_X) + GLYPH_WIDTH / 2 + 1;
    x = std::min(x, LAST_COLUMN + 1 - width);
    for (int32_t y = FIELD_TOP; y + LABEL_HEIGHT <= HINT_Y; y += LINE_STEP) {
        if (spot_free(lessons, x, y, width, taken)) return ViewLine{text, x, y};
    }
    return ViewLine{};
}

PixelBox box_of(const ViewLine& line) {
    if (line.x < 0) return PixelBox{};
    return PixelBox{line.x, line.y, line.x + line_width(line.text) - 1, line.y + LABEL_HEIGHT - 1};
}

// The note on too short waves and the key to the shades, in that order from
// the top; each printed again only where it moves or changes.
void place_lines(LessonState& lessons) {
    WaveViewState& wave = lessons.wave;
    const bool note_shown = wave.view == WaveView::WAVES && !waves_possible();
    ViewLine note;
    ViewLine key;
    if (wave.view != WaveView::OFF) {
        if (note_shown) note = spot_for(lessons, NOTE, PixelBox{});
        key = spot_for(lessons, waves_shown(lessons) ? WAVES_KEY : INTENSITY_KEY, box_of(note));
    }
    const bool note_same =
        note.x == wave.note.x && note.y == wave.note.y && note.text == wave.note.text;
    const bool key_same = key.x == wave.key.x && key.y == wave.key.y && key.text == wave.key.text;
    if (!note_same) erase_line(wave.note);
    if (!key_same) erase_line(wave.key);
    // A label's print wipes the heading's row and prints the heading again,
    // all but the first frame's stray pixel at (0, 0): kept as it was, so
    // that the picture off again is the picture without it.
    const ScreenContext* screen = active_screen();
    const uint8_t corner =
        screen != nullptr && screen->framebuffer != nullptr ? screen->framebuffer[0] : 0;
    if (!note_same && note.x >= 0) {
        print_at_pixel(note.x, note.y, screen_text(note.text));
        wave.note = note;
    }
    if (!key_same && key.x >= 0) {
        print_at_pixel(key.x, key.y, screen_text(key.text));
        wave.key = key;
    }
    if (screen != nullptr && screen->framebuffer != nullptr && screen->framebuffer[0] != corner)
        scene_box(0, 0, 0, 0, corner, RELATIVE_SECOND);
}

void release_lock(LessonState& lessons) {
    if (!lessons.wave.locked) return;
    lessons.wave.locked = false;
    gfx_unlock();
}

}  // namespace

void cycle_wave_view(LessonState& lessons) {
    WaveViewState& wave = lessons.wave;
    switch (wave.view) {
        case WaveView::OFF:
            wave.view = WaveView::WAVES;
            set_view_shades(lessons);
            follow_sources();
            break;
        case WaveView::WAVES:
            wave.view = WaveView::INTENSITY;
            break;
        case WaveView::INTENSITY:
            wave.view = WaveView::OFF;
            place_lines(lessons);
            clear_image();
            shown = Shown{};
            put_image(lessons);
            load_lesson_palette(lessons);  // the view being off, without its shades
            break;
    }
}

void wave_view_reset(LessonState& lessons) {
    release_lock(lessons);
    // A new run starts with the default colours.
    if (lessons.wave.view != WaveView::OFF) gfx_palette(-1, -1, -1, -1);
    shown = Shown{};
}

void wave_view_scene_cleared(LessonState& lessons) {
    lessons.wave.note = ViewLine{};
    lessons.wave.key = ViewLine{};
    lessons.wave.scene_cleared = true;
}

void wave_view_frame_begun(LessonState& lessons) {
    if (lessons.wave.view == WaveView::OFF) return;
    follow_sources();
    advance_field(FIELD_BUDGET);
    prepare_reference();
    // The frame's erasures and their repair by the picture are shown
    // together: the window never sees the region in between.
    gfx_lock();
    lessons.wave.locked = true;
}

void wave_view_frame_drawn(LessonState& lessons) {
    lessons.wave.phase = model.phase;
    if (lessons.wave.view != WaveView::OFF) paint_view(lessons, model.phase);
    release_lock(lessons);
}

void wave_view_after_key(LessonState& lessons) {
    if (lessons.wave.view == WaveView::OFF) return;
    // Nothing drew since the frame's picture: no key's command, no scene
    // cleared, the detector (which the pointer moves) where it was.
    const WaveViewState& wave = lessons.wave;
    if (!key_command_ran() && !wave.scene_cleared && wave.painted_x == model.detector_x &&
        wave.painted_offset == model.detector_offset) {
        return;
    }
    follow_sources();
    prepare_reference();
    place_lines(lessons);
    paint_view(lessons, lessons.wave.phase);
}
