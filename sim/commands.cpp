#include "sim/sim.h"

#include <cstdlib>
#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "runtime/runtime.h"
#include "sim/sim_internal.h"

namespace {

// The detector point's limits for the cursor keys: the top and bottom rows.
constexpr int32_t OFFSET_TOP = AXIS_Y;
constexpr int32_t OFFSET_BOTTOM = AXIS_Y - 479;
constexpr int32_t INTENSITY_SHIFT = 80;
constexpr int32_t MENU_X = 30;

// Moves the detector point by one row; the rays and the resultant follow.
void move_detector_point(int32_t step) {
    erase_rays();
    erase_resultant();
    model.detector_offset += step;
    step_phase_back();
    draw_rays();
}

// Puts the detector point on a fixed row; the next frame draws the rest.
void place_detector_point(int32_t offset) {
    redraw_scene();
    erase_rays();
    model.detector_offset = offset;
    step_phase_back();
}

void set_slit_count(int32_t count) {
    model.slit_count = count;
    model.slit_amplitude =
        static_cast<float>(static_cast<double>(model.total_amplitude) / static_cast<double>(count));
    redraw_scene();
}

// One step of the cycle 20/5 -> 100/25 -> 2/0.5 -> 20/5; any other spacing
// goes to 20/5. The divisors are double constants, the factors single ones;
// each result is stored as single.
void next_spacing() {
    const double k = model.wave_number;
    const double lambda = model.wavelength;
    switch (model.slit_spacing) {
        case 2:
            model.slit_spacing = 20;
            model.wave_number = static_cast<float>(k / 10.0);
            model.wavelength = static_cast<float>(10.0f * lambda);
            break;
        case 20:
            model.slit_spacing = 100;
            model.wave_number = static_cast<float>(k / 5.0);
            model.wavelength = static_cast<float>(5.0f * lambda);
            break;
        case 100:
            model.slit_spacing = 2;
            model.wave_number = static_cast<float>(50.0f * k);
            model.wavelength = static_cast<float>(lambda / 50.0);
            break;
        default:
            // A spacing stepped on its own: back to the pair the program
            // starts with, where the cycle takes over again.
            model.slit_spacing = 20;
            model.wavelength = 5.0f;
            model.wave_number = static_cast<float>(static_cast<double>(model.two_pi) / 5.0);
            break;
    }
    redraw_scene();
}

// Moves the detector line sideways: erase it with the axis, rays and
// resultant, move, recompute the paths and draw the line again.
void move_detector_line(const std::string& key) {
    scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_WHITE);
    scene_line(model.barrier_x, model.axis_y, model.detector_x, model.axis_y, COLOUR_WHITE);
    erase_rays();
    erase_resultant();
    if (key == "4" || key == KEY_LEFT) model.detector_x -= 1;
    if (key == "6" || key == KEY_RIGHT) model.detector_x += 1;
    if (key == "7") model.detector_x = model.barrier_x;
    if (key == "1") model.detector_x = DETECTOR_HOME_X;
    model.detector_distance = model.detector_x - model.barrier_x;
    compute_path_lengths();
    step_phase_back();
    scene_line(model.detector_x, DETECTOR_TOP, model.detector_x, DETECTOR_BOTTOM, COLOUR_RED);
}

void toggle_intensity() {
    const int32_t shift = model.intensity_shown ? INTENSITY_SHIFT : -INTENSITY_SHIFT;
    model.detector_x += shift;
    model.detector_distance += shift;
    model.intensity_shown = !model.intensity_shown;
    redraw_scene();
}

// Single-step mode: each key press advances one frame, and "w" as the key
// that ends a wait leaves the mode. The wait sleeps until a key is pushed,
// so that it neither takes a whole core nor wakes a thousand times a second,
// and it sleeps without the lock that the window thread needs to deliver the
// very key awaited.
StepFeed step_feed = nullptr;

std::string wait_for_step() {
    std::string key;
    for (;;) {
        key = gfx_inkey();
        if (!key.empty()) break;
        if (step_feed == nullptr) {
            key_wait(-1);
        } else if (!step_feed()) {
            return key;
        }
    }
    if (key == "w") model.stepping = false;
    return key;
}

// The window's title says when the program waits for a key per frame, which
// the picture does not show.
void show_stepping() {
    if (model.stepping == model.stepping_shown) return;
    model.stepping_shown = model.stepping;
    // The title is UTF-8: an en dash.
    const std::string title =
        gfx_window_title() + (model.stepping ? " \xE2\x80\x93 Einzelschritt" : "");
    gfx_set_title(title.c_str());
    gfx_show_single_step(model.stepping);
}

}  // namespace

void step_phase_back() {
    model.phase = static_cast<float>(static_cast<double>(model.phase) -
                                     static_cast<double>(model.phase_step));
}

StepFeed set_step_feed(StepFeed feed) {
    const StepFeed before = step_feed;
    step_feed = feed;
    return before;
}

void handle_key() {
    std::string key = gfx_inkey();
    if (key == "s") model.stepping = true;
    show_stepping();
    if (model.stepping) key = wait_for_step();

    if (key == "8" || (key == KEY_UP && model.detector_offset < model.axis_y)) {
        move_detector_point(1);
    }
    if (key == "8" && model.detector_offset == model.axis_y) step_phase_back();
    if (key == "2" || (key == KEY_DOWN && model.detector_offset > OFFSET_BOTTOM)) {
        move_detector_point(-1);
    }
    if (key == "2" && model.detector_offset == OFFSET_BOTTOM) step_phase_back();
    if (key == "9") place_detector_point(OFFSET_TOP);
    if (key == "3") place_detector_point(OFFSET_BOTTOM);
    if (key == "5") place_detector_point(0);
    if (key == "g" && model.slit_count < MAX_SLITS) set_slit_count(model.slit_count + 1);
    if (key == "k" && model.slit_count > 1) set_slit_count(model.slit_count - 1);
    if (key == "a") next_spacing();
    if (key == "4" || key == "6" || key == "7" || key == "1" || key == KEY_RIGHT ||
        key == KEY_LEFT) {
        move_detector_line(key);
    }
    if (key == "m") {
        if (model.menu_shown) {
            redraw_scene();
            model.menu_shown = false;
        } else {
            show_help_menu();
            model.menu_shown = true;
        }
    }
    if (key == "i") toggle_intensity();
    if (key == "+") step_wavelength(1);
    if (key == "-") step_wavelength(-1);
    if (key == KEY_PAGE_UP) step_spacing(1);
    if (key == KEY_PAGE_DOWN) step_spacing(-1);
    if (key == "r") toggle_readouts();
    if (key == "h") toggle_extra_keys_help();
    if (key == "c") toggle_kept_curves();
    if (key == "p") toggle_projector_colours();
    follow_pointer();
    update_readouts();
    show_stepping();
    // Ends through the exit handlers, which close the window and join its thread.
    if (key == "e" || key == KEY_CLOSE) std::exit(0);
}

void show_help_menu() {
    static const char* const LINES[] = {
        "[Pfeiltasten]  ->  Detektor bewegen. (num. Tastenblock)",
        // Two literals, since \xE1e would read as one escape.
        ("[g]/[k] -> gr\x94\xE1"
         "ere/kleinere Spaltanzahl"),
        "[s]/[w] -> Programmablauf schrittweise / weiter",
        "[a] -> Abstand Spalte und Wellenl\x84nge \x84ndern",
        "[i] -> Intensit\x84t ein / ausblenden",
        "[e] -> Ende",
        "[m] -> Men\x81 ausblenden",
    };
    int32_t y = 375;
    for (const char* line : LINES) {
        print_at_pixel(MENU_X, y, line);
        y += 15;
    }
}
