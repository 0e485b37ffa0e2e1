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

// The lab view's keys: its own, and those it takes over while it shows.
bool in_lab_view(void* context) {
    return lab_view_on(lesson_state(context));
}
template <LabKey key>
void on_lab(void* context) {
    LessonState& lessons = lesson_state(context);
    if (lab_view_on(lessons)) lab_key(lessons, key);
}
// The keys that do nothing in the lab view, by their labels.
constexpr std::string_view IDLE_IN_LAB[] = {"i", "t", "f", "a", "7", "1"};
template <size_t index>
void idle_in_lab(void* context) {
    lab_key_idle(lesson_state(context), IDLE_IN_LAB[index]);
}
template <LabKey key>
constexpr KeyCommand lab_claim(std::string_view name) {
    return KeyCommand{.key = name, .handle = on_lab<key>, .claims = in_lab_view};
}
template <size_t index>
constexpr KeyCommand idle_claim() {
    return KeyCommand{
        .key = IDLE_IN_LAB[index], .handle = idle_in_lab<index>, .claims = in_lab_view};
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
constexpr const char* LAB_HELP =
    "u                             the lab view: the experiment in nm, mm and m, on a wall";
constexpr const char* LAB_LIGHT_HELP =
    "q                             lab view: one line, two, three, white light";
constexpr const char* LAB_SCALE_HELP =
    "z, Z                          lab view: the wall's scale finer, coarser";
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
    {.key = "u",
     .handle = on_lessons<toggle_lab_view>,
     .extension = true,
     .label = "u",
     .screen_help = EXTRA_KEYS_LINES[9],
     .option_help = LAB_HELP,
     .page_button = "u"},
    {.key = "q",
     .handle = on_lab<LabKey::lines>,
     .extension = true,
     .label = "q",
     .option_help = LAB_LIGHT_HELP,
     .page_button = "q"},
    {.key = "z",
     .handle = on_lab<LabKey::finer>,
     .extension = true,
     .label = "z",
     .option_help = LAB_SCALE_HELP,
     .page_button = "z"},
    {.key = "Z",
     .handle = on_lab<LabKey::coarser>,
     .extension = true,
     .label = "Z",
     .option_help = LAB_SCALE_HELP,
     .page_button = "Z"},
    // Taken over while the lab view shows.
    lab_claim<LabKey::longer>("+"),
    lab_claim<LabKey::shorter>("-"),
    lab_claim<LabKey::wider_spacing>(KEY_PAGE_UP),
    lab_claim<LabKey::narrower_spacing>(KEY_PAGE_DOWN),
    lab_claim<LabKey::wider>("b"),
    lab_claim<LabKey::narrower>("B"),
    lab_claim<LabKey::more_slits>("g"),
    lab_claim<LabKey::fewer_slits>("k"),
    lab_claim<LabKey::more_grating>("G"),
    lab_claim<LabKey::fewer_grating>("K"),
    lab_claim<LabKey::farther>("6"),
    lab_claim<LabKey::farther>(KEY_RIGHT),
    lab_claim<LabKey::nearer>("4"),
    lab_claim<LabKey::nearer>(KEY_LEFT),
    {.key = "r", .handle = on_lessons<toggle_lab_readouts>, .claims = in_lab_view},
    idle_claim<0>(),
    idle_claim<1>(),
    idle_claim<2>(),
    idle_claim<3>(),
    idle_claim<4>(),
    idle_claim<5>(),
    lab_claim<LabKey::keep_curves>("c"),
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
