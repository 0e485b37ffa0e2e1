#pragma once

// The lesson tools: what a class needs beyond the program as it has always
// been, built above the simulation and reached by it only through its hooks
// (sim/hooks.h). The wavelength and the spacing each on their own, readouts
// at the detector, the curves of earlier settings kept, projector colours,
// the extra keys' help, and the detector under the pointer. Their state is
// one record, LessonState, that the program owns and hands to them: the
// hooks' context, and a parameter of every routine that reads or changes it.
// The reset hook renews it.
//
// Usage:
//   static LessonState lessons;
//   static const SimHooks hooks = {.context = &lessons, .reset = reset_lessons,
//                                  .keys = lesson_keys()};
//   install_sim_hooks(&hooks);  // the program fills every slot (app/program_parts.cpp)
//   simulation_start();         // the core calls them from then on
//   if (lessons.curves_kept) toggle_kept_curves(lessons);

#include <cstdint>
#include <span>
#include <string>

#include "lessons/lab_values.h"
#include "sim/hooks.h"
#include "sim/keys.h"
#include "sim/sim.h"

// The routines of the core's hooks.
void reset_lessons(void* context);
void lessons_scene_cleared(void* context);
void lessons_sample_drawn(void* context, int32_t y);
void lessons_frame_begun(void* context);
void lessons_frame_drawn(void* context);
void lessons_after_key(void* context);
std::span<const KeyCommand> lesson_keys();

// Readouts ("r"): path difference, phase difference, angle and intensity
// at the detector, its distance and height, the Fresnel number, and where
// the fringes are finer than the picture their spacing; printed when
// something they show changes. The path and phase difference are those of
// neighbouring slits, or of one opening's edges.

constexpr int32_t READOUT_LINES = 7;

// What the readouts show depends on: the setting and the detector's place.
struct ReadoutSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    int32_t detector_x = 0;
    int32_t detector_offset = 0;
    float wavelength = 0;
    float wave_number = 0;
    int32_t slit_width = 0;
    bool far_field = false;
    bool operator==(const ReadoutSetting&) const = default;
};

// On or off; stale once the screen lost them; the setting they were printed
// for; each line's printed row and width, erased before another line
// replaces it.
struct ReadoutState {
    bool shown = false;
    bool stale = false;
    ReadoutSetting setting = {};
    int32_t y[READOUT_LINES] = {};
    int32_t width[READOUT_LINES] = {};
};

// The texts of the readout lines as they are now; a line left out is empty.
void readout_texts(std::string (&lines)[READOUT_LINES]);

// The Fresnel number a^2 / (lambda D) of the setting in force, a half the
// height of all openings together, D the detector line's distance from the
// barrier (infinite on the barrier).
double fresnel_number();
// Whether the setting in force is one the program's own keys ("a", "g",
// "k" and the detector's keys) reach: up to eight point slits in the near
// field at the spacings and wavelengths of "a". Their picture stays as it
// always was.
bool specified_setting();
// Whether the label names the near field: outside those settings, in the
// near field, where N_F is above 0.3 (the principal maximum a tenth or more
// below the far field's).
bool near_field_noted();
// Where the fringes on the detector line are closer than this many rows, a
// setting outside the program's own shows on the curve the mean over one
// fringe rather than a point sample that would alias.
constexpr double FINEST_FRINGES = 4.0;
// The spacing in rows of the fringes on the detector line at row (between
// neighbouring slits' principal maxima, or a wide single slit's minima);
// infinite where the pattern has none.
double local_fringe_period(const SlitSetting& setting, double row);
// Whether the curve shows the mean at row y, and that mean; the curve
// hook's routine.
bool curve_averaged_at(int32_t y);
float lesson_curve_intensity(void* context, int32_t y, float intensity);

// The labels at the top left (the setting's, the model's, the readouts) are
// kept over the figures while any beyond the program's own shows: each is
// saved as printed and put back when a frame or a key has drawn.
constexpr int32_t MAX_KEPT_TEXTS = 12;
struct KeptTextBox {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
};
struct KeptTexts {
    int32_t count = 0;
    bool setting_labels = false;  // the spacing's and wavelength's among them
    KeptTextBox boxes[MAX_KEPT_TEXTS];
};

// Kept curves ("c"): while on, the samples of each setting (slit count,
// spacing, wavelength, detector line) are remembered, and a command that
// clears the screen draws them again: the current one in light red, up to
// four earlier ones in colours of their own. A legend names each curve
// shown, the current one last, on a box that the figures do not cross.
// A row's samples are drawn longest first, so that every curve's tip shows.

constexpr int32_t MAX_KEPT_CURVES = 4;
// Distinct from each other, from light red and from the figures; with the
// projector colours each has 3:1 against white too.
constexpr uint32_t KEPT_CURVE_COLOURS[MAX_KEPT_CURVES] = {COLOUR_CYAN, COLOUR_MAGENTA,
                                                          COLOUR_DARK_GREY, COLOUR_LIGHT_BLUE};

struct CurveSetting {
    int32_t slit_count = 0;
    int32_t slit_spacing = 0;
    float wavelength = 0;
    int32_t detector_x = 0;
    int32_t slit_width = 0;
    bool far_field = false;
    // A curve of the lab view: its values say it all.
    bool lab = false;
    LabValues lab_values = {};
    bool operator==(const CurveSetting&) const = default;
};

struct KeptCurve {
    CurveSetting setting;
    uint32_t colour = 0;
    CurveSample samples[CURVE_ROWS];
};

struct KeptCurves {
    int32_t count = 0;
    KeptCurve curves[MAX_KEPT_CURVES];  // oldest first
    // The samples of the setting in force, across every redraw that keeps it.
    CurveSetting current_setting;
    CurveSample current[CURVE_ROWS];
    int32_t longest = 0;  // pixels of the longest sample of any curve
};

// A curve's legend text, e.g. "3 Spalte Abstand 20 Wellenlänge 5 fern"; a
// width other than 0 is named, the spacing only where there are several
// slits, a detector line other than the one "i" places while the text stays
// short.
std::string kept_curve_label(const CurveSetting& setting);

// An inclusive rectangle of pixels.
struct PixelBox {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = -1;
    int32_t y1 = -1;
};

// The legend as drawn: its box (empty while it has no line), the current
// setting it names, and the pixels in it, as gfx_get writes them (a 32-byte
// header, rows padded to 16 bytes), so that a frame can put it back without
// building anything.
constexpr int32_t LEGEND_LINES = MAX_KEPT_CURVES + 1;
constexpr int32_t LEGEND_MAX_WIDTH = LEGEND_RIGHT + 1 - LEGEND_LEFT_LIMIT;
constexpr int32_t LEGEND_MAX_PITCH = (LEGEND_MAX_WIDTH + 15) / 16 * 16;
struct CurveLegend {
    PixelBox box;
    CurveSetting current;
    uint8_t pixels[32 + LEGEND_MAX_PITCH * LABEL_HEIGHT * LEGEND_LINES] = {};
};

// The extra keys' help lines as drawn: each line's box (its pixels are
// kept beside them, in extra_keys_help.cpp, like the legend's), so that a
// frame puts back what the figures crossed.
constexpr int32_t HELP_MAX_LINES = 12;
struct ShownHelp {
    int32_t lines = 0;  // 0: not on the screen
    PixelBox boxes[HELP_MAX_LINES];
};

// Where the figures were last drawn: chain and resultant, the detector
// line, the rays with the axis, the slit arrows.
struct FigureReach {
    bool known = false;
    PixelBox boxes[4];
};

// Projector colours ("p"): changes the palette entries of the figures to
// ones with at least 3:1 against white, whose slit-1 colour stays apart from
// the resultant's under red-green colour blindness; off loads the default
// palette again. Nothing is redrawn.
struct PaletteColour {
    uint32_t entry;
    int32_t red;
    int32_t green;
    int32_t blue;
};
// Dark enough for 2:1 against every shade of the wave picture's projector
// shades too; on the palette's grid of 64 levels a channel, so that the
// window shows them as they stand here.
constexpr PaletteColour PROJECTOR_COLOURS[] = {
    {COLOUR_CYAN, 28, 141, 149},
    {COLOUR_LIGHT_GREY, 125, 125, 125},
    {COLOUR_LIGHT_GREEN, 0, 145, 101},
    {COLOUR_LIGHT_RED, 234, 48, 8},
};

// The wave picture's shades from trough to crest (or dark to bright), in
// entries the figures never use; pale enough (luminance 0.8 and more) that
// every figure keeps most of its contrast. Set while the picture shows.
constexpr int32_t VIEW_SHADES = 4;
constexpr PaletteColour VIEW_SHADE_COLOURS[VIEW_SHADES] = {
    {2, 224, 234, 255},
    {11, 240, 244, 255},
    {13, 255, 247, 228},
    {14, 255, 236, 184},
};
// With projector colours the same entries in stronger shades of the same
// hues, which a washed-out projector still shows: the trough (dark) and the
// crest (bright) 1.6:1 against white, every figure colour 2:1 against each.
constexpr PaletteColour PROJECTOR_VIEW_SHADE_COLOURS[VIEW_SHADES] = {
    {2, 170, 202, 250},
    {11, 214, 226, 250},
    {13, 255, 238, 194},
    {14, 246, 190, 60},
};

// The wave picture ("f"): off, the waves at the frame's phase, or the
// intensity in space (lessons/wave_view.cpp; the field in wave_field.h).
enum class WaveView : int32_t { OFF, WAVES, INTENSITY };
// A line the picture printed: its German text and where it stands (x < 0:
// nowhere).
struct ViewLine {
    const char* text = nullptr;
    int32_t x = -1;
    int32_t y = 0;
};
struct WaveViewState {
    WaveView view = WaveView::OFF;
    // The frame in progress holds the screen lock (taken when it began).
    bool locked = false;
    // The phase of the frame last drawn: the chain on the screen has it.
    float phase = 0;
    // The note on too short waves and the key to the shades.
    ViewLine note;
    ViewLine key;
    // Since the picture was last put: the scene was cleared; where the
    // detector was then.
    bool scene_cleared = false;
    int32_t painted_x = 0;
    int32_t painted_offset = 0;
};

// Everything the lesson tools remember.
// The detector's tone ("l"): off, on, on with ticks at the turns of the light.
enum class ToneMode : uint8_t { off, tone, ticks };

struct ToneState {
    ToneMode mode = ToneMode::off;
    // The detector's row offset at the last frame: a tick looks from there.
    int32_t last_offset = 0;
};

// The lesson tools' line at the foot of the picture (no sound device, the
// prepared setting "v" opened): its text as the screen shows it while it
// stands (empty: none), the frames it still stands, the keys since it came
// (for single steps), and where it was printed.
constexpr int32_t FOOT_LINE_GLYPHS = 37;
struct FootLine {
    std::string text;
    int32_t frames = 0;
    int32_t keys = 0;
    int32_t x = 0;
    int32_t width = 0;
};

// Prepared settings ("v"): the lesson's experiments, or a teacher's own list
// (--settings FILE), which the program reads at its start and keeps beyond
// every run; the next one "v" opens.
struct Setting;
struct PreparedSettings {
    const Setting* own = nullptr;
    int32_t own_count = 0;
    int32_t next = 0;
};

// The picture in words for a window that carries them (the page's live
// region): what they tell (the setting and the detector's place) as last
// seen, the frames it has stood still since, whether words are owed for it,
// and the words last handed over.
constexpr int32_t DESCRIPTION_SETTLE_FRAMES = 10;
struct DescriptionState {
    ReadoutSetting seen;
    int32_t quiet_frames = 0;
    bool pending = false;
    std::string said;
};

// The lab view ("u"): the experiment in its own units (lab_values.h), with
// the wall seen edge on as the detector line, a ruler in millimetres, the
// wall's light in its colours and the whole curve. Its values and detector
// row are its own; the pixel view's state is kept while it shows and given
// back when it is left.
constexpr int32_t LAB_PANEL_LEFT = DETECTOR_HOME_X - INTENSITY_SHIFT + 1;
constexpr int32_t LAB_PANEL_RIGHT = CURVE_ORIGIN_X - 65;
constexpr int32_t LAB_PANEL_ROWS = DETECTOR_BOTTOM - DETECTOR_TOP + 1;
// The wall is complete once every distance from the axis to its ends is.
constexpr int32_t LAB_WALL_REACH = AXIS_Y - DETECTOR_TOP > DETECTOR_BOTTOM - AXIS_Y
                                       ? AXIS_Y - DETECTOR_TOP
                                       : DETECTOR_BOTTOM - AXIS_Y;
constexpr int32_t LAB_PANEL_PITCH = (LAB_PANEL_RIGHT - LAB_PANEL_LEFT + 1 + 15) / 16 * 16;
struct LabPixelView {
    SlitModel model;
    OpticsModel optics;
    WaveView wave_view = WaveView::OFF;
    CurveSample curve[CURVE_ROWS];
};
// Kept curves belong to a view: the pixel view's and the lab view's each
// have their own, and white light (whose wall takes the curves' colours)
// parks the lab view's until a line shines again. The active ones are the
// lesson state's; these wait.
struct ParkedCurves {
    bool kept = false;
    KeptCurves curves;
};
enum class CurveOwner : int32_t { pixel, lab, none };

struct LabState {
    bool on = false;
    LabValues values;
    int32_t detector_offset = 0;  // rows above the axis
    bool readouts = false;        // "r", which the pixel view takes back
    LabPixelView pixel;
    // The wall: the distances from the axis worked out so far (its light is
    // symmetric), and the panel of ruler and wall as drawn, put back where
    // the figures crossed it.
    int32_t offsets_done = 0;
    bool panel_saved = false;
    int32_t repaired_row = 0;  // the detector's, when the panel was last put back
    uint8_t panel[32 + LAB_PANEL_PITCH * LAB_PANEL_ROWS] = {};
    std::string readout_text;  // as printed, to print again only on a change
    bool keys_told = false;    // the window was last told of the lab's keys
    CurveOwner curve_owner = CurveOwner::pixel;
    ParkedCurves pixel_curves;
    ParkedCurves lab_curves;
};

struct LessonState {
    ReadoutState readouts;
    KeptTexts kept_texts;
    // The field's label names the near field (as drawn).
    bool near_field_label = false;
    // The extra keys' help lines ("h"), shown as the help menu is; while
    // they stand, kept whole over the figures.
    bool extra_keys_shown = false;
    ShownHelp help;
    bool curves_kept = false;
    bool projector_colours = false;
    KeptCurves kept;
    CurveLegend legend;
    FigureReach drawn_reach;
    WaveViewState wave;
    ToneState tone;
    FootLine foot;
    PreparedSettings prepared;
    DescriptionState description;
    LabState lab;
};

// The commands of the lesson keys, for the key table and for tests.
void step_wavelength(int32_t direction);
void step_spacing(int32_t direction);
// A grating's slit count along 1 to 8, 10, 12, 16, 20, 25, 32, 40, 50, as
// far as the slits fit on the barrier at the spacing in force.
void step_slit_count(int32_t direction);
// More than eight slits that no longer fit after a spacing grew: the most
// that do, never fewer than eight. True when the count changed (the caller
// redraws).
bool fit_slits_to_spacing();
// The slit width along 0 to 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 60; with
// more than one slit it stays below the spacing.
void step_slit_width(int32_t direction);
// A width the spacing or the slit count no longer allows: the widest entry
// that fits. True when it changed (the caller redraws).
bool fit_width_to_spacing();

// The labels of a width that is not 0 and of the far field (or the near
// field, where it is noted), under the setting's others; how many there are
// (the readouts start under them).
void draw_model_labels(LessonState& lessons);
int32_t model_label_count(LessonState& lessons);
// "t": the near field (the exact geometry) or the far field; the rays of
// the far field run parallel at the detector's angle.
void toggle_far_field();
void toggle_readouts(LessonState& lessons);
// "l": the tone on, with ticks, off; where no sound device opens, a line
// says so. The amplitude it has at the frame shown: the resultant's length
// over the total amplitude (all phasors in line), 0..1.
void cycle_tone(LessonState& lessons);
float tone_amplitude_now();
// The picture in words, in the language chosen (UTF-8): the setting, the
// detector's place, the intensity there and whether that is near a maximum
// (of which order) or a minimum, e.g. "2 Spalte im Abstand 20 Pix,
// Wellenlänge 5 Pix, Nahfeld. Detektor im Abstand 535 Pix, 30 Pix über der
// Achse. Intensität 2.3 von 4, zwischen Maximum und Minimum."
std::string picture_description();
// Whether words are owed after this frame: what they tell (now) changed and
// has since stood still for DESCRIPTION_SETTLE_FRAMES frames, or at once in
// single steps, where every frame stands until a key.
bool description_due(DescriptionState& state, const ReadoutSetting& now, bool stepping);
void toggle_extra_keys_help(LessonState& lessons);
void toggle_kept_curves(LessonState& lessons);
void toggle_projector_colours(LessonState& lessons);
// "f": off -> waves -> intensity in space -> off.
void cycle_wave_view(LessonState& lessons);
