#pragma once

// The contract between the screen and the window drivers. A driver is a
// WindowDriver record of routines, filled by name; it never sees the screen:
// it reads what to show through the present source (a PresentFrame snapshot
// under its own lock, which is the screen lock) and gives keys and the close
// request back through it. Every caller reaches a driver through the screen's
// one `driver` pointer; an empty slot is nullptr and means "not offered".
//
// Usage:
//   static const WindowDriver my_driver = {
//       .name = "Mine",
//       .init = [](const PresentSource* source, const char* title, int32_t width, int32_t height,
//                  int32_t depth, int32_t refresh_rate, int32_t flags) { return 0; },
//       .lock = [] {},  // the screen lock is the driver's lock
//       .unlock = [](bool rows_marked) {},
//   };
//
// Also here: the window flags, the key vocabulary (modifier bits, scan codes,
// the close code), the pixel converters, the search for what changed since
// the last presentation and the crisp scaler that drivers share.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// The flags a window driver is opened with: the screen's flags argument as the
// caller gave it, read here bit by bit.
constexpr int32_t WINDOW_FULLSCREEN = 1 << 0;
constexpr int32_t WINDOW_OPENGL = 1 << 1;
constexpr int32_t WINDOW_NO_MAXIMISE = 1 << 2;
constexpr int32_t WINDOW_BORDERLESS = 1 << 3;
constexpr int32_t WINDOW_COLOUR_KEY = 1 << 4;
constexpr int32_t WINDOW_ON_TOP = 1 << 5;
constexpr int32_t WINDOW_ALPHA = 1 << 6;
// All bits set: no window at all, the Null driver.
constexpr int32_t WINDOW_NONE = -1;

// ---------------------------------------------------------------------------
// The key vocabulary every driver and the key path share.
// ---------------------------------------------------------------------------

// Modifier bits a driver reports with a key, as the key code translation
// reads them.
constexpr int32_t KEY_RIGHT_ALT = 0x01;
constexpr int32_t KEY_ALT = 0x02;  // either Alt
constexpr int32_t KEY_RIGHT_CTRL = 0x04;
constexpr int32_t KEY_CTRL = 0x08;  // either Ctrl
constexpr int32_t KEY_SHIFT = 0x10;
constexpr int32_t KEY_EXTENDED = 0x100;  // a grey key (cursor block, keypad Enter and /)
constexpr int32_t KEY_ALT_BITS = KEY_ALT | KEY_RIGHT_ALT;
constexpr int32_t KEY_CTRL_BITS = KEY_CTRL | KEY_RIGHT_CTRL;

// Set-1 scan codes that the key path treats on their own.
constexpr int32_t SCAN_ENTER = 0x1C;  // keypad Enter: with KEY_EXTENDED
constexpr int32_t SCAN_CTRL = 0x1D;   // right Ctrl: with KEY_EXTENDED
constexpr int32_t SCAN_ALT = 0x38;    // right Alt: with KEY_EXTENDED
constexpr int32_t SCAN_F1 = 0x3B;
constexpr int32_t SCAN_F10 = 0x44;
constexpr int32_t SCAN_F11 = 0x57;
constexpr int32_t SCAN_F12 = 0x58;

// The window's close button, delivered as the key 255, "k".
constexpr int32_t CLOSE_KEY = 0x6BFF;

// What a key down means beyond the program's keys: Alt+Enter asks the
// window to toggle full screen, which only a driver can do.
enum class KeyRoute { program, window_fullscreen };

// What a window driver shows, as the current screen hands it over: the
// picture at the program's last present point once it has one, else the
// visible page as it is drawn. Every field is read and written under the
// driver's lock only.
struct PresentFrame {
    const uint8_t* pixels;  // the visible page, pitch bytes per row
    int32_t width;
    int32_t height;  // framebuffer rows
    int32_t pitch;
    int32_t depth;               // 1..8 (attributes), 16 (5-6-5) or 32 (0xAARRGGBB)
    int32_t line_repeat;         // window lines per framebuffer row
    uint8_t* dirty_rows;         // height x line_repeat bytes; 1 = row changed since shown
    const uint32_t* palette;     // 256 x 0x00BBGGRR
    uint32_t* conversion_table;  // 512 entries: 16-bit to 32-bit, low[v & 0xFF] | high[v >> 8]
    uint8_t* key_states;         // 128 bytes, one per scan code
};

// The routines through which a driver reaches the screen and the keyboard
// without knowing either. The composition file fills them; the driver calls
// every one of them with its lock held.
struct PresentSource {
    // Fills the frame of the current screen; false while no screen exists.
    bool (*frame)(PresentFrame* frame);
    // A key went down (again for every auto-repeat, with repeat set): its
    // set-1 scan code, the character the key types without modifiers (0 for
    // none) and the modifier bits of the key code translation, extended-key
    // flag included.
    // Answers what else the key means to the window (Alt+Enter).
    KeyRoute (*key_down)(int32_t scan, int32_t key_char, int32_t modifiers, bool repeat);
    // Text typed, as UTF-8, with the modifier bits held at the time; repeat
    // when an auto-repeat of its key typed it.
    void (*text_typed)(const char* utf8, int32_t modifiers, bool repeat);
    // The window's close button or the process asked to quit.
    void (*close_request)();
};

// The operations by which a screen is presented. An absent operation is nullptr.
struct WindowDriver {
    const char* name = nullptr;
    // Opens the window and starts presenting; 0 = accepted, anything else = refused.
    // source is how the driver reaches the screen and the keys from then on;
    // it outlives the driver.
    int32_t (*init)(const PresentSource* source, const char* title, int32_t width, int32_t height,
                    int32_t depth, int32_t refresh_rate, int32_t flags) = nullptr;
    void (*exit)() = nullptr;
    void (*lock)() = nullptr;
    // rows_marked: the screen marked rows since the last unlock, so there is
    // something new to show.
    void (*unlock)(bool rows_marked) = nullptr;
    void (*set_palette)(int32_t index, int32_t red, int32_t green, int32_t blue) = nullptr;
    void (*wait_vsync)() = nullptr;
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined) = nullptr;
    void (*set_mouse)(int32_t x, int32_t y, int32_t visibility, int32_t confinement) = nullptr;
    void (*set_title)(const char* title) = nullptr;
    // The program waits for a key before each frame (single steps), or runs
    // again: a driver whose window has room to say so (the page's status
    // line) says it in its own words, rather than reading it from a title
    // that may be in any language.
    void (*show_single_step)(bool stepping) = nullptr;
    // A window that carries a text alternative of its picture (the page's
    // words for screen readers) shows this description there, in UTF-8; the
    // program hands one over when what the picture says has changed.
    void (*describe)(const char* text) = nullptr;
    // The keys the picture answers to changed: a window with buttons for
    // them (the page) shows the set named, "" the program's first.
    void (*show_key_set)(const char* name) = nullptr;
    int32_t (*set_position)(int32_t x, int32_t y) = nullptr;
    const int32_t* (*list_modes)(int32_t depth, int32_t* count) = nullptr;
    void (*flip)() = nullptr;
    void (*poll)() = nullptr;
};

// Presents nothing: every screen is accepted, lock and unlock are empty.
extern const WindowDriver null_driver;

// The window drivers in the order they are tried (the null driver is not among them).
std::span<const WindowDriver* const> window_drivers();

// Opens a screen through the drivers as the QXGFX setting (nullptr: absent)
// and the flags choose; answers the driver that accepted, or nullptr.
const WindowDriver* open_window_driver(std::span<const WindowDriver* const> drivers,
                                       const PresentSource* source, const char* setting,
                                       const char* title, int32_t width, int32_t height,
                                       int32_t depth, int32_t refresh_rate, int32_t flags);

// Why the last open_window_driver found no driver, in a few words for a
// message ("" after a success).
const char* window_failure_reason();

// A driver that refuses a screen says why here (the text is copied).
void note_window_failure(const char* reason);

// A rectangle of pixels: columns x .. x + w - 1, rows y .. y + h - 1.
struct PresentRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
};

// Converts the framebuffer pixels of each rectangle into display pixels,
// line_repeat display lines per framebuffer row, whether rows are marked or
// not. destination is the display's pixel (0, 0): a rectangle lands at
// column rect.x of display line rect.y x line_repeat.
using PixelConverter = void (*)(const PresentFrame& frame, std::span<const PresentRect> rects,
                                uint8_t* destination, int32_t destination_pitch);

// The converter from a framebuffer depth (1..8 attributes, 16, 32) to a
// display depth (8, 15, 16, 24, 32) in red-high (0x00RRGGBB) or red-low
// (0x00BBGGRR) component order; nullptr where none exists, and a driver
// must then refuse the screen. From a 16-bit framebuffer to 24 or 32 bits the
// converter reads conversion_table, which fill_conversion_table prepares.
PixelConverter select_converter(int32_t source_depth, int32_t display_depth, bool red_low);

// The two 256-entry tables turning a 5-6-5 pixel v into the 32-bit display
// pixel low[v & 0xFF] | high[v >> 8]; every component in the top bits of its
// byte.
void fill_conversion_table(uint32_t* table, bool red_low);

// ---------------------------------------------------------------------------
// What changed since the last presentation.
// ---------------------------------------------------------------------------

// A pass shows at most this many rectangles; more changes than that share
// the rectangle they enlarge least.
constexpr int32_t MAX_CHANGED_RECTS = 48;

// What a driver's window shows, kept in the framebuffer's own pixels: the
// screen marks rows it drew into, and many marked rows were drawn again in
// the colours they had, so a pass compares the marked rows with this copy
// and shows only the pixels that really differ.
struct ShownPicture {
    std::vector<uint8_t> pixels;  // width x height x pixel_bytes, as last shown
    int32_t width = 0;
    int32_t height = 0;  // framebuffer rows
    int32_t pixel_bytes = 0;
    // What the last take_changes found, in framebuffer pixels.
    PresentRect changed[MAX_CHANGED_RECTS];
    int32_t changed_count = 0;
};

// Takes the frame's marked rows over into the copy and leaves in `changed`
// the rectangles in which they differ from what was shown; all of the
// picture with repaint and on a frame of a new shape (the copy is then made
// anew: the only allocation). Clears the marks. Answers changed_count.
int32_t take_changes(ShownPicture& shown, const PresentFrame& frame, bool repaint);

// A framebuffer rectangle in display lines (line_repeat lines per row).
inline PresentRect display_rect(const PresentRect& rect, int32_t line_repeat) {
    return PresentRect{rect.x, rect.y * line_repeat, rect.w, rect.h * line_repeat};
}

// The picture shown in a rectangle of another size, crisp: every target
// pixel takes the source pixel under its centre, so a projector shows the
// 1-pixel lines of the picture as sharp blocks rather than blurred ones. The
// map is built once per size; scaling a span of rows then allocates nothing.
struct ScaleMap {
    int32_t source_w = 0;
    int32_t source_h = 0;
    int32_t target_w = 0;
    int32_t target_h = 0;
    int32_t pixel_bytes = 0;
    std::vector<int32_t> column_offsets;  // per target column: byte offset of its source pixel
    std::vector<int32_t> line_sources;    // per target line: its source row
    std::vector<int32_t> first_lines;     // per source row, and one more: its first target line
    std::vector<int32_t> first_columns;  // per source column, and one more: its first target column
};

// The source row or column under the centre of target position i.
int32_t nearest_source(int32_t i, int32_t source_size, int32_t target_size);

// Prepares scaling a source_w x source_h picture of pixel_bytes per pixel
// (1 to 4) to target_w x target_h; sizes must be positive.
void build_scale_map(ScaleMap& map, int32_t source_w, int32_t source_h, int32_t target_w,
                     int32_t target_h, int32_t pixel_bytes);

// The target lines [*line_begin, *line_end) that show source rows
// first_row..last_row.
void scaled_lines(const ScaleMap& map, int32_t first_row, int32_t last_row, int32_t* line_begin,
                  int32_t* line_end);

// The target rectangle that shows a source rectangle: every target pixel
// whose source pixel lies in it (empty where a reduction skips all of it).
PresentRect scaled_rect(const ScaleMap& map, const PresentRect& source_rect);

// Writes the target pixels of a source rectangle from the source and
// answers where they are (scaled_rect). source and target point at the
// pictures' first pixels.
PresentRect scale_rect(const ScaleMap& map, const uint8_t* source, int32_t source_pitch,
                       uint8_t* target, int32_t target_pitch, const PresentRect& source_rect);

// Writes the whole width of the target lines that show source rows
// first_row..last_row.
void scale_rows(const ScaleMap& map, const uint8_t* source, int32_t source_pitch, uint8_t* target,
                int32_t target_pitch, int32_t first_row, int32_t last_row);
