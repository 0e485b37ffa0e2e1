#include "gfx/input/input.h"
#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "lessons/prepared_settings.h"
#include "lessons/setting_text.h"
#include "sim/keys.h"

// The lesson tools' rows of the key table: keys the program ignored before
// they came, each with its command and the places that describe it.

namespace {

// A command of the lesson state as a key's routine, which is handed the
// state the hooks were installed with.
template <void (*command)(LessonState&)>
void on_lessons(void* context) {
    command(lesson_state(context));
}
template <void (*command)()>
void on_model(void*) {
    command();
}

void wavelength_up(void*) {
    step_wavelength(1);
}
void wavelength_down(void*) {
    step_wavelength(-1);
}
void spacing_up(void*) {
    step_spacing(1);
}
void spacing_down(void*) {
    step_spacing(-1);
}
void wider(void*) {
    step_slit_width(1);
}
void narrower(void*) {
    step_slit_width(-1);
}
void grating_up(void*) {
    step_slit_count(1);
}
void grating_down(void*) {
    step_slit_count(-1);
}

constexpr const char* WAVELENGTH_HELP =
    "+, -                          wavelength alone one step larger, smaller";
constexpr const char* SPACING_HELP =
    "Page Up, Page Down            slit spacing alone one step larger, smaller";
constexpr const char* READOUTS_HELP =
    "r                             readouts at the detector on, off";
constexpr const char* KEPT_HELP =
    "c                             keep the curves of earlier settings on, off";
constexpr const char* PROJECTOR_HELP =
    "p                             projector colours (3:1 against white) on, off";
constexpr const char* WIDTH_HELP =
    "b, B                          slit width one step wider, narrower (0 is point slits)";
constexpr const char* FIELD_HELP =
    "t                             near field (the exact geometry) or far field";
constexpr const char* GRATING_HELP =
    "G, K                          a grating: more slits, fewer (to 50, as many as fit)";
constexpr const char* WAVE_HELP =
    "f                             the wave picture: waves, intensity in space, off";
constexpr const char* TONE_HELP =
    "l                             the detector's tone: on, with ticks at maxima and minima, off";
constexpr const char* EXTRA_HELP = "h                             help lines of these keys on, off";
constexpr const char* SETTING_HELP =
    "x                             the setting as text on standard output (see --setting)";
constexpr const char* PREPARED_HELP =
    "v                             the next experiment's setting (or of --settings FILE)";

constexpr KeyCommand KEYS[] = {
    {.key = "+",
     .handle = wavelength_up,
     .extension = true,
     .label = "+",
     .screen_help = EXTRA_KEYS_LINES[5],
     .option_help = WAVELENGTH_HELP,
     .page_button = "+"},
    {.key = "-",
     .handle = wavelength_down,
     .extension = true,
     .label = "-",
     .screen_help = EXTRA_KEYS_LINES[5],
     .option_help = WAVELENGTH_HELP,
     .page_button = "-"},
    {.key = KEY_PAGE_UP,
     .handle = spacing_up,
     .extension = true,
     .label = "Bild auf",
     .screen_help = EXTRA_KEYS_LINES[6],
     .option_help = SPACING_HELP,
     .page_button = "PageUp"},
    {.key = KEY_PAGE_DOWN,
     .handle = spacing_down,
     .extension = true,
     .label = "Bild ab",
     .screen_help = EXTRA_KEYS_LINES[6],
     .option_help = SPACING_HELP,
     .page_button = "PageDown"},
    {.key = "r",
     .handle = on_lessons<toggle_readouts>,
     .extension = true,
     .label = "r",
     .screen_help = EXTRA_KEYS_LINES[7],
     .option_help = READOUTS_HELP,
     .page_button = "r"},
    {.key = "c",
     .handle = on_lessons<toggle_kept_curves>,
     .extension = true,
     .label = "c",
     .screen_help = EXTRA_KEYS_LINES[8],
     .option_help = KEPT_HELP,
     .page_button = "c"},
    {.key = "p",
     .handle = on_lessons<toggle_projector_colours>,
     .extension = true,
     .label = "p",
     .screen_help = EXTRA_KEYS_LINES[9],
     .option_help = PROJECTOR_HELP,
     .page_button = "p"},
    {.key = "b",
     .handle = wider,
     .extension = true,
     .label = "b",
     .screen_help = EXTRA_KEYS_LINES[3],
     .option_help = WIDTH_HELP,
     .page_button = "b"},
    {.key = "B",
     .handle = narrower,
     .extension = true,
     .label = "B",
     .screen_help = EXTRA_KEYS_LINES[3],
     .option_help = WIDTH_HELP,
     .page_button = "B"},
    {.key = "t",
     .handle = on_model<toggle_far_field>,
     .extension = true,
     .label = "t",
     .screen_help = EXTRA_KEYS_LINES[2],
     .option_help = FIELD_HELP,
     .page_button = "t"},
    {.key = "G",
     .handle = grating_up,
     .extension = true,
     .label = "G",
     .screen_help = EXTRA_KEYS_LINES[4],
     .option_help = GRATING_HELP,
     .page_button = "G"},
    {.key = "K",
     .handle = grating_down,
     .extension = true,
     .label = "K",
     .screen_help = EXTRA_KEYS_LINES[4],
     .option_help = GRATING_HELP,
     .page_button = "K"},
    {.key = "f",
     .handle = on_lessons<cycle_wave_view>,
     .extension = true,
     .label = "f",
     .screen_help = EXTRA_KEYS_LINES[1],
     .option_help = WAVE_HELP,
     .page_button = "f"},
    {.key = "l",
     .handle = on_lessons<cycle_tone>,
     .extension = true,
     .label = "l",
     .screen_help = EXTRA_KEYS_LINES[0],
     .option_help = TONE_HELP,
     .page_button = "l"},
    // A page has no standard output: no button.
    {.key = "x",
     .handle = on_lessons<print_setting>,
     .extension = true,
     .label = "x",
     .screen_help = EXTRA_KEYS_LINES[10],
     .option_help = SETTING_HELP},
    {.key = "v",
     .handle = on_lessons<open_next_prepared>,
     .extension = true,
     .label = "v",
     .screen_help = EXTRA_KEYS_LINES[8],
     .option_help = PREPARED_HELP},
    {.key = "h",
     .handle = on_lessons<toggle_extra_keys_help>,
     .extension = true,
     .label = "h",
     .screen_help = EXTRA_KEYS_LINES[10],
     .option_help = EXTRA_HELP,
     .page_button = "h"},
};

}  // namespace

std::span<const KeyCommand> lesson_keys() {
    return KEYS;
}
