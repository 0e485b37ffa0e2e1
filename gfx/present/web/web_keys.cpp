#include "gfx/present/web/web.h"

#include <array>
#include <bitset>
#include <cstring>
#include <string>

#include "gfx/present/present.h"
#include "gfx/present/web/web_internal.h"

namespace {

constexpr int32_t EXTENDED = KEY_EXTENDED;
constexpr int32_t RIGHT_CTRL = SCAN_CTRL | EXTENDED;
constexpr int32_t RIGHT_ALT = SCAN_ALT | EXTENDED;
constexpr int32_t F1 = SCAN_F1;
constexpr int32_t F10 = SCAN_F10;
constexpr int32_t F11 = SCAN_F11;
constexpr int32_t F12 = SCAN_F12;
constexpr int32_t FIELD_BYTES = 32;

// Which keys are down, by scan code with the extended flag: the browser
// tells left from right Ctrl and Alt only by the keys' own events.
std::bitset<512> g_held;

std::array<char, 2 * FIELD_BYTES> g_fields{};

void note_key_state(int32_t mapped, bool down) {
    g_held[static_cast<size_t>(mapped)] = down;
    PresentFrame frame{};
    if (web_source().frame == nullptr || !web_source().frame(&frame)) return;
    // A grey key and its keypad twin share one byte, as on the desktop.
    const int32_t scan = mapped & 0x7F;
    frame.key_states[scan] =
        g_held[static_cast<size_t>(scan)] || g_held[static_cast<size_t>(scan | EXTENDED)] ? 1 : 0;
}

// The function keys stay the browser's (reload, full screen, developer
// tools), and so does anything pressed with Ctrl, Alt or the system key.
bool belongs_to_program(int32_t mapped, int32_t page_flags) {
    const int32_t scan = mapped & 0xFF;
    if (mapped == 0 || (scan >= F1 && scan <= F10) || scan == F11 || scan == F12) return false;
    return (page_flags & (PAGE_CTRL | PAGE_ALT | PAGE_META)) == 0;
}

const PresentSource* g_source = nullptr;

}  // namespace

void web_use_source(const PresentSource* source) {
    g_source = source;
}

const PresentSource& web_source() {
    static constexpr PresentSource none{};
    return g_source != nullptr ? *g_source : none;
}

bool web_key_event(bool down, std::string_view code, std::string_view key, int32_t page_flags) {
    const int32_t mapped = web_scan_code(code);
    if (mapped != 0) note_key_state(mapped, down);
    if (!down) return belongs_to_program(mapped, page_flags);
    const int32_t modifiers =
        web_modifiers(page_flags, g_held[RIGHT_CTRL], g_held[RIGHT_ALT]) | (mapped & EXTENDED);
    const bool repeat = (page_flags & PAGE_REPEAT) != 0;
    if (mapped != 0 && web_source().key_down != nullptr) {
        web_source().key_down(mapped & 0xFF,
                              web_key_char(code, key, (page_flags & PAGE_SHIFT) != 0), modifiers,
                              repeat);
    }
    if (web_typed_text(key, page_flags) && web_source().text_typed != nullptr) {
        const std::string text(key);
        web_source().text_typed(text.c_str(), modifiers, repeat);
    }
    return belongs_to_program(mapped, page_flags) || web_typed_text(key, page_flags);
}

void web_focus_changed() {
    g_held.reset();
    PresentFrame frame{};
    if (web_source().frame != nullptr && web_source().frame(&frame)) {
        std::memset(frame.key_states, 0, 128);
    }
}

char* web_key_fields() {
    return g_fields.data();
}

int32_t web_key_input(int32_t down, int32_t page_flags) {
    // The page writes at most 31 bytes and a zero into each field; a field
    // without its zero is cut at the field's end all the same.
    const std::string_view code(g_fields.data(), strnlen(g_fields.data(), FIELD_BYTES));
    const char* key_field = g_fields.data() + FIELD_BYTES;
    const std::string_view key(key_field, strnlen(key_field, FIELD_BYTES));
    return web_key_event(down != 0, code, key, page_flags) ? 1 : 0;
}
