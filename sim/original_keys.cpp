#include <cstdlib>
#include <iterator>

#include "gfx/input/input.h"
#include "sim/detector.h"
#include "sim/keys.h"
#include "sim/labels.h"
#include "sim/scene.h"
#include "sim/sim.h"
#include "sim/spacing_cycle.h"
#include "sim/texts.h"

// The keys the program has always had, each with its command and the places
// that describe it: the help menu's line, the --help line, the page's button.

namespace {

// The point's keys: "8" and "2" pass the top and bottom rows, which the
// cursor keys stop at; at those rows they hold the phase once more.
void detector_up(void*) {
    move_detector_point(model.detector_offset + 1);
    if (model.detector_offset == model.axis_y) step_phase_back();
}
void detector_down(void*) {
    move_detector_point(model.detector_offset - 1);
    if (model.detector_offset == OFFSET_BOTTOM) step_phase_back();
}
void cursor_up(void*) {
    if (model.detector_offset < model.axis_y) move_detector_point(model.detector_offset + 1);
}
void cursor_down(void*) {
    if (model.detector_offset > OFFSET_BOTTOM) move_detector_point(model.detector_offset - 1);
}
void detector_to_top(void*) {
    place_detector_point(OFFSET_TOP);
}
void detector_to_bottom(void*) {
    place_detector_point(OFFSET_BOTTOM);
}
void detector_to_axis(void*) {
    place_detector_point(0);
}

void line_left(void*) {
    move_detector_line(model.detector_x - 1);
}
void line_right(void*) {
    move_detector_line(model.detector_x + 1);
}
void line_onto_barrier(void*) {
    move_detector_line(model.barrier_x);
}
void line_home(void*) {
    move_detector_line(DETECTOR_HOME_X);
}

void set_slit_count(int32_t count) {
    model.slit_count = count;
    model.slit_amplitude =
        static_cast<float>(static_cast<double>(model.total_amplitude) / static_cast<double>(count));
    redraw_scene();
}
void more_slits(void*) {
    if (model.slit_count < MAX_SLITS) set_slit_count(model.slit_count + 1);
}
void fewer_slits(void*) {
    if (model.slit_count > 1) set_slit_count(model.slit_count - 1);
}

// One step of the cycle 20/5 -> 100/25 -> 2/0.5 -> 20/5 (spacing_cycle.h).
void next_spacing(void*) {
    const WaveValues next = next_spacing_values(
        {model.slit_spacing, model.wavelength, model.wave_number}, model.two_pi);
    model.slit_spacing = next.spacing;
    model.wavelength = next.wavelength;
    model.wave_number = next.wave_number;
    redraw_scene();
}

void toggle_intensity(void*) {
    const int32_t shift = model.intensity_shown ? INTENSITY_SHIFT : -INTENSITY_SHIFT;
    model.detector_x += shift;
    model.detector_distance += shift;
    model.intensity_shown = !model.intensity_shown;
    redraw_scene();
}

void show_help_menu() {
    int32_t y = MENU_TOP;
    for (const char* line : help_menu_lines()) {
        print_at_pixel(MENU_X, y, screen_text(line));
        y += LINE_STEP;
    }
}

void toggle_menu(void*) {
    if (model.menu_shown) {
        redraw_scene();
        model.menu_shown = false;
    } else {
        show_help_menu();
        model.menu_shown = true;
    }
}

void start_stepping(void*) {
    model.stepping = true;
}

// Through the exit handlers, which close the window and join its thread.
void end_program(void*) {
    std::exit(0);
}

// The last line lies over the hint "[m] -> Menü einblenden", which it must
// cover in every language.
constexpr const char* MENU_LINES[] = {
    N_("[Pfeiltasten]  ->  Detektor bewegen. (num. Tastenblock)"),
    N_("[g]/[k] -> größere/kleinere Spaltanzahl"),
    N_("[s]/[w] -> Programmablauf schrittweise / weiter"),
    N_("[a] -> Abstand Spalte und Wellenlänge ändern"),
    N_("[i] -> Intensität ein / ausblenden"),
    N_("[e] -> Ende"),
    N_("[m] -> Menü ausblenden"),
};

// The --help lines, in the order the table lists their keys.
constexpr const char* MOVE_HELP =
    "cursor keys, keypad 8 2 4 6   move the detector point and the detector line";
constexpr const char* PLACE_HELP =
    "9, 3, 5                       detector point to the top row, the bottom row, the axis";
constexpr const char* LINE_HELP =
    "7, 1                          detector line onto the barrier, back to x 560";
constexpr const char* COUNT_HELP =
    "g, k                          one slit more, one fewer (1 to 8)";
constexpr const char* STEP_HELP =
    "s, w                          single steps (each key a frame), resume";
constexpr const char* SPACING_HELP =
    "a                             next slit spacing and wavelength";
constexpr const char* INTENSITY_HELP =
    "i                             intensity curve at the right edge on, off";
constexpr const char* MENU_HELP = "m                             help lines on, off";
constexpr const char* END_HELP =
    "e                             quit (so does the window's close button)";

constexpr KeyCommand KEYS[] = {
    {.key = "8",
     .handle = detector_up,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP},
    {.key = "2",
     .handle = detector_down,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP},
    {.key = "4",
     .handle = line_left,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP},
    {.key = "6",
     .handle = line_right,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP},
    {.key = KEY_UP,
     .handle = cursor_up,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP,
     .page_button = "ArrowUp"},
    {.key = KEY_DOWN,
     .handle = cursor_down,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP,
     .page_button = "ArrowDown"},
    {.key = KEY_LEFT,
     .handle = line_left,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP,
     .page_button = "ArrowLeft"},
    {.key = KEY_RIGHT,
     .handle = line_right,
     .label = "Pfeiltasten",
     .screen_help = MENU_LINES[0],
     .option_help = MOVE_HELP,
     .page_button = "ArrowRight"},
    {.key = "9", .handle = detector_to_top, .label = "9", .option_help = PLACE_HELP},
    {.key = "3", .handle = detector_to_bottom, .label = "3", .option_help = PLACE_HELP},
    {.key = "5", .handle = detector_to_axis, .label = "5", .option_help = PLACE_HELP},
    {.key = "7", .handle = line_onto_barrier, .label = "7", .option_help = LINE_HELP},
    {.key = "1", .handle = line_home, .label = "1", .option_help = LINE_HELP},
    {.key = "g",
     .handle = more_slits,
     .label = "g",
     .screen_help = MENU_LINES[1],
     .option_help = COUNT_HELP,
     .page_button = "g"},
    {.key = "k",
     .handle = fewer_slits,
     .label = "k",
     .screen_help = MENU_LINES[1],
     .option_help = COUNT_HELP,
     .page_button = "k"},
    {.key = "s",
     .handle = start_stepping,
     .turn = KeyTurn::BEFORE_WAIT,
     .label = "s",
     .screen_help = MENU_LINES[2],
     .option_help = STEP_HELP,
     .page_button = "s"},
    // The wait itself takes "w" (see handle_key).
    {.key = "w",
     .label = "w",
     .screen_help = MENU_LINES[2],
     .option_help = STEP_HELP,
     .page_button = "w"},
    {.key = "a",
     .handle = next_spacing,
     .label = "a",
     .screen_help = MENU_LINES[3],
     .option_help = SPACING_HELP,
     .page_button = "a"},
    {.key = "i",
     .handle = toggle_intensity,
     .label = "i",
     .screen_help = MENU_LINES[4],
     .option_help = INTENSITY_HELP,
     .page_button = "i"},
    {.key = "m",
     .handle = toggle_menu,
     .label = "m",
     .screen_help = MENU_LINES[6],
     .option_help = MENU_HELP,
     .page_button = "m"},
    {.key = "e",
     .handle = end_program,
     .turn = KeyTurn::LAST,
     .label = "e",
     .screen_help = MENU_LINES[5],
     .option_help = END_HELP,
     .page_button = "e"},
    {.key = KEY_CLOSE, .handle = end_program, .turn = KeyTurn::LAST},
};

}  // namespace

std::span<const KeyCommand> original_keys() {
    return KEYS;
}

std::span<const char* const> help_menu_lines() {
    return MENU_LINES;
}
