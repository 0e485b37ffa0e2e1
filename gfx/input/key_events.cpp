#include "gfx/input/input.h"

namespace {

constexpr int32_t ALT_BITS = KEY_ALT_BITS;
constexpr int32_t CTRL_BITS = KEY_CTRL_BITS;

bool alt_without_ctrl(int32_t modifiers) {
    return (modifiers & ALT_BITS) != 0 && (modifiers & CTRL_BITS) == 0;
}

bool is_system_key(int32_t scan, int32_t modifiers) {
    return alt_without_ctrl(modifiers) || scan == SCAN_F10;
}

// The character a key down types. Printable characters come again as typed
// text; the control characters this answers do not, so the key path pushes
// them itself. With Ctrl and Alt together (AltGr) the text carries the
// character.
int32_t typed_character(int32_t key_char, int32_t modifiers) {
    const bool ctrl = (modifiers & CTRL_BITS) != 0;
    const bool alt = (modifiers & ALT_BITS) != 0;
    switch (key_char) {
        case 9:
            return 9;
        case 13:
            return ctrl ? 10 : 13;
        case 8:
            return ctrl ? 127 : 8;
        case 27:
            return 27;
        default:
            break;
    }
    if (ctrl && alt) return 0;
    if (ctrl) {
        if (key_char >= 'a' && key_char <= 'z') return key_char - 'a' + 1;
        if (key_char >= '[' && key_char <= ']') return key_char - '[' + 27;
        return 0;
    }
    return key_char >= 32 && key_char < 127 ? key_char : 0;
}

bool is_control_character(int32_t ch) {
    return (ch >= 1 && ch < 32) || ch == 127;
}

}  // namespace

KeyRoute key_down(int32_t scan, int32_t key_char, int32_t modifiers, bool repeat) {
    // Alt+Enter belongs to the window, never to the program.
    if (scan == SCAN_ENTER && alt_without_ctrl(modifiers)) return KeyRoute::window_fullscreen;
    if (is_system_key(scan, modifiers)) return KeyRoute::program;
    const auto push = repeat ? key_push_repeat : key_push;
    const int32_t ch = typed_character(key_char, modifiers);
    const int32_t code = translate_key(ch, scan, key_char, modifiers);
    if (code > 255) push(code);
    if (is_control_character(ch)) push(ch);
    return KeyRoute::program;
}

void key_text(const char* utf8, int32_t modifiers, bool repeat) {
    if ((modifiers & KEY_ALT) != 0 && (modifiers & (KEY_RIGHT_ALT | CTRL_BITS)) == 0) return;
    const auto push = repeat ? key_push_repeat : key_push;
    uint8_t bytes[64];
    const int32_t count = utf8_to_cp437(utf8, bytes, sizeof bytes);
    for (int32_t i = 0; i < count; ++i)
        push(bytes[i]);
}

void key_close_request() {
    key_push(CLOSE_KEY);
}
