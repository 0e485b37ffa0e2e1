#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "lessons/lab_values.h"
#include "lessons/lab_wall.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "optics/lab_light.h"
#include "sim/figures.h"
#include "sim/labels.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/texts.h"

// The lab view ("u"). The core draws its figures as ever, from a sketch of
// the slits (as many as the lab has, closer where there are many) and the
// light of the lab setting, which the optics give the chain, the resultant
// and the curve. Beside the detector line, which stands for the wall seen
// edge on, a ruler in millimetres and the wall itself: a dark strip with
// the light on it in its colours, worked out a few rows a frame. The panel
// of both is saved once complete and put back wherever the figures left
// white, so that the chain passes over it.

namespace {

constexpr int32_t LAB_DETECTOR_X = DETECTOR_HOME_X - INTENSITY_SHIFT;
constexpr int32_t WALL_LEFT = LAB_PANEL_RIGHT - 39;  // 40 columns
constexpr int32_t RULER_TEXT_X = LAB_PANEL_LEFT + 9;
constexpr int32_t TICK = 6;
// The labels and readouts stand left of the detector line.
constexpr int32_t TEXT_RIGHT = LAB_DETECTOR_X - 1;
// Palette entries the wall borrows: the wave picture's, then the kept
// curves' (which white light alone needs).
constexpr int32_t WALL_ENTRIES[WALL_SLOTS] = {2, 11, 13, 14, 5, 8, 9};
// The wall's work a frame may take, in instructions, and roughly what a
// distance from the axis costs: all wavelengths step along the slits
// together (a dozen to two dozen instructions a slit and wavelength, in 32
// lanes; wide openings some fifty, and each wavelength's lanes start at
// four turns of its own).
constexpr int32_t FRAME_WORK = 800000;
int32_t row_work(const LabSetting& setting, int32_t wavelengths) {
    const int32_t slits = setting.slit_count;
    if (setting.width_mm > 0) return slits * 50 * 32 + 1700 * wavelengths + 3000;
    if (slits < 3) return 150 * slits * wavelengths + 2000;
    return slits * (24 * 32 + 100) + 250 * wavelengths + 3000;
}

// Fringes finer than FINEST_FRINGES rows show the mean over one, from this
// many places.
constexpr int32_t MEAN_SAMPLES = 8;
// Where the notes stand, above the menu's hint.
constexpr int32_t FINE_NOTE_Y = 415;
constexpr int32_t SKETCH_NOTE_Y = 445;
constexpr int32_t GRATING_NOTE_Y = 430;

// gfx_get's block: a 32-byte header, then the rows.
constexpr ptrdiff_t PANEL_HEADER = 32;
constexpr PixelBox PANEL{LAB_PANEL_LEFT, DETECTOR_TOP, LAB_PANEL_RIGHT, DETECTOR_BOTTOM};

double place_of_row(const LabState& lab, int32_t y) {
    return (model.axis_y - y) * lab_scale_mm(lab.values);
}

// The sketch: at most eight openings, the pixel view's 20 rows apart;
// a grating of more shows three dots beyond the outer ones.
int32_t sketch_spacing(int32_t slits) {
    return std::min(20, (BARRIER_BOTTOM - BARRIER_TOP - 10) / std::clamp(slits, 1, MAX_SLITS));
}

// The model and optics the lab values make: the sketch and the light.
void apply_lab(LabState& lab) {
    const LabSetting setting = lab_setting_of(lab.values);
    model.slit_count = setting.slit_count;
    model.slit_spacing = sketch_spacing(setting.slit_count);
    model.slit_amplitude =
        static_cast<float>(static_cast<double>(model.total_amplitude) / setting.slit_count);
    model.detector_x = LAB_DETECTOR_X;
    model.detector_distance = model.detector_x - model.barrier_x;
    model.intensity_shown = true;
    optics_model = OpticsModel{.lab = true,
                               .lab_setting = setting,
                               .lab_scale_mm = lab_scale_mm(lab.values),
                               .sketch_slits = MAX_SLITS};
    lab.offsets_done = 0;
    lab.panel_saved = false;
    lab.readout_text.clear();
}

void set_wall_colours(const LabState& lab) {
    const WallColours colours = wall_colours(lab.values);
    for (int32_t i = 0; i < colours.count; ++i) {
        gfx_palette(WALL_ENTRIES[i], colours.colour[i].red, colours.colour[i].green,
                    colours.colour[i].blue);
    }
}

int32_t print_label(LessonState& lessons, int32_t y, const std::string& text) {
    print_at_pixel(LABEL_X, y, text);
    const auto width = static_cast<int32_t>(text.size()) * GLYPH_WIDTH;
    keep_text(lessons, LABEL_X, y, width);
    return width;
}

std::string wavelength_label(const LabValues& values) {
    const LabWavelengths light = lab_wavelengths(values);
    if (values.lines == LabLines::white)
        return std::string(screen_text("Weißlicht, 400 bis 700 nm"));
    std::string lines;
    for (int32_t i = 0; i < light.count; ++i) {
        const std::string number = lab_number_text(light.nanometres[i]);
        if (i > 0) lines += " / ";
        lines += light.count > 1 && i == light.followed ? "[" + number + "]" : number;
    }
    return fill_in(screen_text("Wellenlänge = %s nm"), {lines});
}

// The labels at the top left, over the pixel view's.
void draw_lab_labels(LessonState& lessons) {
    const LabValues& values = lessons.lab.values;
    // The pixel labels' rows, blank.
    scene_box(LABEL_X, SPACING_LABEL_Y, TEXT_RIGHT - LABEL_X, 3 * LINE_STEP + 15 - 1, background(),
              RELATIVE_SECOND);
    lessons.kept_texts.setting_labels = true;  // the pixel view's are not to come back
    int32_t y = SPACING_LABEL_Y;
    print_label(lessons, y, wavelength_label(values));
    y += WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;
    print_label(lessons, y,
                lab_grating(values)
                    ? fill_in(screen_text("Gitter = %s Linien/mm"), {lab_spacing_text(values)})
                    : fill_in(screen_text("Spaltabstand = %s mm"), {lab_spacing_text(values)}));
    y += WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;
    const LabSetting setting = lab_setting_of(values);
    if (setting.width_mm > 0) {
        char width[16];
        std::snprintf(width, sizeof width, "%.2f", setting.width_mm);
        print_label(lessons, y, fill_in(screen_text("Spaltbreite = %s mm"), {width}));
        y += WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;
    }
    print_label(lessons, y,
                fill_in(screen_text("Schirm = %s m, 1 Pix = %s mm"),
                        {lab_number_text(setting.wall_m), lab_number_text(lab_scale_mm(values))}));
    print_at_pixel(LABEL_X, SKETCH_NOTE_Y, screen_text("Skizze nicht maßstäblich"));
    if (lab_fringe_period_mm(setting, 0.0) < FINEST_FRINGES * lab_scale_mm(values)) {
        print_at_pixel(LABEL_X, FINE_NOTE_Y, screen_text("Streifen zu fein: [z] zeigt sie"));
    }
    if (lab_grating(values)) {
        // A laser lights hundreds of a real grating's lines, the picture
        // at most 50.
        print_at_pixel(LABEL_X, GRATING_NOTE_Y,
                       fill_in(screen_text("Nur %s Spalte: Maxima breiter als im Versuch"),
                               {lab_number_text(setting.slit_count)}));
    }
}

// More slits than the sketch shows: three dots beyond each outer opening,
// clear of its turning arrow.
void draw_sketch_dots() {
    const int32_t shown = barrier_slits();
    if (shown >= model.slit_count) return;
    const int32_t half_span = (shown - 1) * model.slit_spacing / 2;
    for (const int32_t away : {12, 16, 20}) {
        for (const int32_t y : {model.axis_y - half_span - away, model.axis_y + half_span + away})
            scene_box(model.barrier_x - 6, y, model.barrier_x - 5, y + 1, COLOUR_BROWN);
    }
}

int32_t label_rows(const LabValues& values) {
    return lab_setting_of(values).width_mm > 0 ? 4 : 3;
}

// A tick every so many millimetres that the labels stand 40 rows or more
// apart.
double tick_step_mm(double scale) {
    for (const double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 200.0, 500.0,
                              1000.0, 2000.0, 5000.0}) {
        if (step / scale >= 40.0) return step;
    }
    return 10000.0;
}

void draw_ruler(const LabState& lab) {
    const double scale = lab_scale_mm(lab.values);
    const double step = tick_step_mm(scale);
    const auto reach = static_cast<int32_t>(std::floor(AXIS_Y * scale / step));
    for (int32_t i = -reach; i <= reach; ++i) {
        const auto y = static_cast<int32_t>(std::lround(model.axis_y - i * step / scale));
        if (y < DETECTOR_TOP || y > DETECTOR_BOTTOM) continue;
        scene_line(LAB_PANEL_LEFT, y, LAB_PANEL_LEFT + TICK, y, COLOUR_BLACK);
        if (y - 7 < DETECTOR_TOP || y + 8 > DETECTOR_BOTTOM) continue;
        // A label has two characters at least.
        print_at_pixel(RULER_TEXT_X, y - 7, i == 0 ? "0 mm" : lab_number_text(i * step) + " ");
    }
    // Half steps, shorter.
    for (int32_t i = -2 * reach - 1; i <= 2 * reach + 1; i += 2) {
        const auto y = static_cast<int32_t>(std::lround(model.axis_y - i * step / 2.0 / scale));
        if (y < DETECTOR_TOP || y > DETECTOR_BOTTOM) continue;
        scene_line(LAB_PANEL_LEFT, y, LAB_PANEL_LEFT + TICK / 2, y, COLOUR_BLACK);
    }
}

// The panel put back wherever the figures left the background.
void onto_background(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                     int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    const auto white = static_cast<uint8_t>(background());
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* from = source + static_cast<ptrdiff_t>(row) * source_pitch;
        uint8_t* to = target + static_cast<ptrdiff_t>(row) * target_pitch;
        for (int32_t x = 0; x < width; ++x) {
            if (to[x] == white) to[x] = from[x];
        }
    }
}

// Rows first..last of the panel (from its top), put back where the figures
// left the background.
void put_panel_rows(const LabState& lab, int32_t first, int32_t last) {
    first = std::max(first, 0);
    last = std::min(last, LAB_PANEL_ROWS - 1);
    if (!lab.panel_saved || first > last) return;
    gfx_put(nullptr, static_cast<float>(PANEL.x0), static_cast<float>(PANEL.y0 + first), lab.panel,
            0, first, PANEL.x1 - PANEL.x0, last, 0, 0, onto_background, 0, nullptr, nullptr);
}

// The wall's rows worked out this frame: as many as the frame's share of
// work allows, their light dithered into the saved panel and their curve
// samples (of the line the chain follows) drawn. The slits lie
// symmetrically about the axis, and so does the light: each distance from
// the axis is worked out once, for the row above it and the row below.
void fill_wall(LessonState& lessons) {
    LabState& lab = lessons.lab;
    if (!lab.panel_saved || lab.offsets_done > LAB_WALL_REACH) return;
    const LabSetting setting = lab_setting_of(lab.values);
    const bool fine_anywhere =
        lab_fringe_period_mm(setting, 0.0) < FINEST_FRINGES * lab_scale_mm(lab.values);
    // Fine fringes of one slit take the mean of several places; of several,
    // their period's mean costs no more than one place.
    const int32_t samples_anywhere = fine_anywhere && setting.slit_count == 1 ? MEAN_SAMPLES : 1;
    const int32_t count = std::max(
        1, FRAME_WORK / (samples_anywhere * row_work(setting, lab_wavelengths(lab.values).count)));
    const int32_t end = std::min(LAB_WALL_REACH + 1, lab.offsets_done + count);
    for (int32_t offset = lab.offsets_done; offset < end; ++offset) {
        const double place = offset * lab_scale_mm(lab.values);
        // Fringes closer than FINEST_FRINGES rows: the mean over one of them.
        const double period = lab_fringe_period_mm(setting, place);
        const bool fine = period < FINEST_FRINGES * lab_scale_mm(lab.values);
        const int32_t samples = fine ? MEAN_SAMPLES : 1;
        const WallRow row = wall_row(lab.values, place, fine ? period : 0.0, samples);
        const auto followed = static_cast<float>(row.followed);
        for (const int32_t y : {model.axis_y - offset, model.axis_y + offset}) {
            if (y < DETECTOR_TOP || y > DETECTOR_BOTTOM || (offset == 0 && y > model.axis_y)) {
                continue;
            }
            const int32_t r = y - DETECTOR_TOP;
            uint8_t* pixels =
                lab.panel + PANEL_HEADER + static_cast<ptrdiff_t>(r) * LAB_PANEL_PITCH;
            for (int32_t x = WALL_LEFT; x <= LAB_PANEL_RIGHT; ++x) {
                const int32_t slot = wall_slot_at(row, x, y);
                pixels[x - LAB_PANEL_LEFT] =
                    static_cast<uint8_t>(slot < 0 ? COLOUR_BLACK : WALL_ENTRIES[slot]);
            }
            put_panel_rows(lab, r, r);
            draw_sample(y, followed);
        }
    }
    lab.offsets_done = end;
}

// The chain and the resultant reach this far from the detector point; the
// panel is put back around where they were and are.
constexpr int32_t FIGURE_REACH = 82;
void repair_panel(LabState& lab) {
    const int32_t now = detector_y() - DETECTOR_TOP;
    const int32_t before = lab.repaired_row;
    if (std::abs(now - before) <= 2 * FIGURE_REACH + 1) {
        put_panel_rows(lab, std::min(now, before) - FIGURE_REACH,
                       std::max(now, before) + FIGURE_REACH);
    } else {
        put_panel_rows(lab, before - FIGURE_REACH, before + FIGURE_REACH);
        put_panel_rows(lab, now - FIGURE_REACH, now + FIGURE_REACH);
    }
    lab.repaired_row = now;
}

// The readouts' lines, under the labels, LINE_GAP rows apart.
constexpr int32_t LAB_READOUT_LINES = 6;
constexpr int32_t LINE_GAP = WAVELENGTH_LABEL_Y - SPACING_LABEL_Y;
int32_t readout_row(const LabValues& values, int32_t line) {
    return SPACING_LABEL_Y + (label_rows(values) + line) * LINE_GAP;
}

void erase_lab_readouts(LessonState& lessons) {
    LabState& lab = lessons.lab;
    for (int32_t i = 0; i < LAB_READOUT_LINES; ++i)
        drop_kept_text(lessons, LABEL_X, readout_row(lab.values, i));
    scene_box(LABEL_X, readout_row(lab.values, 0), TEXT_RIGHT - LABEL_X,
              LAB_READOUT_LINES * LINE_GAP - 1, background(), RELATIVE_SECOND);
    lab.readout_text.clear();
}

void print_lab_readouts(LessonState& lessons) {
    LabState& lab = lessons.lab;
    const LabSetting setting = lab_setting_of(lab.values);
    const double scale = lab_scale_mm(lab.values);
    const double place = place_of_row(lab, detector_y());
    const double path = lab_path_difference_nm(setting, place);
    const double waves = path / setting.wavelength_nm;
    double phase = std::fmod(waves * 360.0, 360.0);
    if (phase < 0) phase += 360.0;
    const double intensity = lab_light(setting, place, 0.0).intensity;
    char number[64];
    std::string lines[LAB_READOUT_LINES];
    std::snprintf(number, sizeof number, "%.2f", waves);
    std::string nm = lab_number_text(std::round(path * 10) / 10);
    if (nm.find('.') == std::string::npos) nm += ".0";
    lines[0] = fill_in(screen_text("Gangunterschied = %s Wellenlängen = %s nm"), {number, nm});
    std::snprintf(number, sizeof number, "%.1f", phase);
    lines[1] = fill_in(screen_text("Phasendifferenz = %s°"), {number});
    lines[2] = fill_in(screen_text("Winkel = %s°"), {lab_angle_text(lab_angle(setting, place))});
    std::snprintf(number, sizeof number, "%.2f", place);
    lines[3] = fill_in(screen_text("Ort = %s mm"), {number});
    std::snprintf(number, sizeof number, "%.1f", intensity);
    lines[4] = fill_in(screen_text("Intensität = %s von 64"), {number});
    if (int32_t order = 0; lab_order_at(setting, place, scale, order)) {
        lines[4] += fill_in(screen_text(", Ordnung %s"), {std::to_string(std::abs(order))});
    }
    std::snprintf(number, sizeof number, "%.3g", lab_fresnel_number(setting));
    lines[5] = fill_in(screen_text("Fresnel-Zahl N_F = %s"), {number});
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    if (all == lab.readout_text) return;
    erase_lab_readouts(lessons);
    for (int32_t i = 0; i < LAB_READOUT_LINES; ++i)
        print_label(lessons, readout_row(lab.values, i), lines[i]);
    lab.readout_text = all;
}

}  // namespace

bool lab_view_on(const LessonState& lessons) {
    return lessons.lab.on;
}

// The kept curves of the view that shows are the lesson state's; the
// others wait (see ParkedCurves). Before a redraw, which draws them.
void place_kept_curves(LessonState& lessons) {
    LabState& lab = lessons.lab;
    CurveOwner wanted = CurveOwner::pixel;
    if (lab.on) wanted = lab.values.lines == LabLines::white ? CurveOwner::none : CurveOwner::lab;
    if (wanted == lab.curve_owner) return;
    ParkedCurves* const places[] = {&lab.pixel_curves, &lab.lab_curves, nullptr};
    if (ParkedCurves* parked = places[static_cast<int32_t>(lab.curve_owner)]) {
        parked->kept = lessons.curves_kept;
        parked->curves = lessons.kept;
    }
    lessons.curves_kept = false;
    lessons.kept = KeptCurves{};
    if (const ParkedCurves* back = places[static_cast<int32_t>(wanted)]) {
        lessons.curves_kept = back->kept;
        lessons.kept = back->curves;
    }
    lab.curve_owner = wanted;
}

void toggle_lab_view(LessonState& lessons) {
    LabState& lab = lessons.lab;
    if (!lab.on) {
        lab.pixel.model = model;
        lab.pixel.optics = optics_model;
        lab.pixel.wave_view = lessons.wave.view;
        // One switch of the readouts for both views.
        lab.readouts = lessons.readouts.shown;
        std::copy(std::begin(curve_samples), std::end(curve_samples), lab.pixel.curve);
        lab.on = true;
        lessons.wave.view = WaveView::OFF;
        lessons.readouts.shown = false;
        model.detector_offset = lab.detector_offset;
        apply_lab(lab);
        place_kept_curves(lessons);
        load_lesson_palette(lessons);
        redraw_scene();
        return;
    }
    lab.detector_offset = model.detector_offset;
    lab.on = false;
    const float phase = model.phase;
    model = lab.pixel.model;
    model.phase = phase;
    optics_model = lab.pixel.optics;
    lessons.wave.view = lab.pixel.wave_view;
    lessons.readouts.shown = lab.readouts;
    place_kept_curves(lessons);
    load_lesson_palette(lessons);
    redraw_scene();
    for (int32_t y = 0; y < CURVE_ROWS; ++y) {
        if (lab.pixel.curve[y].taken) draw_sample(y, lab.pixel.curve[y].intensity);
    }
}

void set_lab_colours(const LessonState& lessons) {
    if (lessons.lab.on) set_wall_colours(lessons.lab);
}

void lab_changed(LessonState& lessons) {
    apply_lab(lessons.lab);
    place_kept_curves(lessons);
    load_lesson_palette(lessons);
    redraw_scene();
}

void toggle_lab_readouts(LessonState& lessons) {
    LabState& lab = lessons.lab;
    lab.readouts = !lab.readouts;
    if (lab.readouts) {
        print_lab_readouts(lessons);
    } else {
        erase_lab_readouts(lessons);
    }
}

void lab_scene_cleared(LessonState& lessons) {
    draw_lab_labels(lessons);
    draw_sketch_dots();
    // The panel is saved before any figure crosses it: the ruler on the
    // background, into which the wall's rows then go.
    draw_ruler(lessons.lab);
    save_block(PANEL, lessons.lab.panel);
    lessons.lab.panel_saved = true;
    lessons.lab.offsets_done = 0;
    lessons.lab.readout_text.clear();
    if (lessons.lab.readouts) print_lab_readouts(lessons);
}

void lab_frame_drawn(LessonState& lessons) {
    fill_wall(lessons);
    repair_panel(lessons.lab);
}

void tell_key_set(LessonState& lessons) {
    if (lessons.lab.keys_told == lessons.lab.on) return;
    lessons.lab.keys_told = lessons.lab.on;
    gfx_show_key_set(lessons.lab.on ? "lab" : "");
}

void lab_after_key(LessonState& lessons) {
    if (lessons.lab.readouts) print_lab_readouts(lessons);
    repair_panel(lessons.lab);
}

void lab_key(LessonState& lessons, LabKey key) {
    LabValues& values = lessons.lab.values;
    LabStep step = LabStep::moved;
    switch (key) {
        case LabKey::lines:
            step_lab_lines(values);
            break;
        case LabKey::finer:
        case LabKey::coarser:
            step = step_lab_value(values, LabList::scale, key == LabKey::finer ? -1 : +1);
            // The kept curves' rows stood for other millimetres: they start
            // afresh.
            if (step == LabStep::moved && lessons.curves_kept) lessons.kept = KeptCurves{};
            break;
        case LabKey::keep_curves:
            if (values.lines == LabLines::white) {
                show_foot_line(lessons, std::string(screen_text("Kurven ruhen bei Weißlicht")));
            } else {
                toggle_kept_curves(lessons);
            }
            return;
        case LabKey::longer:
            step = step_lab_value(values, LabList::wavelength, +1);
            break;
        case LabKey::shorter:
            step = step_lab_value(values, LabList::wavelength, -1);
            break;
        case LabKey::wider_spacing:
            step = step_lab_value(values, LabList::spacing, +1);
            break;
        case LabKey::narrower_spacing:
            step = step_lab_value(values, LabList::spacing, -1);
            break;
        case LabKey::wider:
            step = step_lab_value(values, LabList::width, +1);
            break;
        case LabKey::narrower:
            step = step_lab_value(values, LabList::width, -1);
            break;
        case LabKey::more_slits:
            step = step_lab_slits_by_one(values, +1);
            break;
        case LabKey::fewer_slits:
            step = step_lab_slits_by_one(values, -1);
            break;
        case LabKey::more_grating:
            step = step_lab_value(values, LabList::slit_count, +1);
            break;
        case LabKey::fewer_grating:
            step = step_lab_value(values, LabList::slit_count, -1);
            break;
        case LabKey::farther:
            step = step_lab_value(values, LabList::wall, +1);
            break;
        case LabKey::nearer:
            step = step_lab_value(values, LabList::wall, -1);
            break;
    }
    if (step == LabStep::no_width_with_grating) {
        show_foot_line(lessons, std::string(screen_text("Gitter: keine Spaltbreite")));
    }
    if (step == LabStep::moved) lab_changed(lessons);
}

void lab_key_idle(LessonState& lessons, std::string_view label) {
    show_foot_line(lessons, fill_in(screen_text("[%s] wirkt im Laborbild nicht"), {label}));
}

ReadoutSetting lab_description_key(const LessonState& lessons) {
    // What the lab view's words tell, as the fields the words' timing compares.
    const LabValues& v = lessons.lab.values;
    return ReadoutSetting{
        .slit_count = v.slit_count,
        .slit_spacing = v.spacing * 16 + v.width,
        .detector_x = v.wall * 16 + v.scale,
        .detector_offset = model.detector_offset,
        .wavelength = static_cast<float>(v.wavelength),
        .wave_number = static_cast<float>(static_cast<int32_t>(v.lines) * 4 + v.followed),
        .far_field = true,
    };
}
