#include "gfx/present/web/web_internal.h"

#include "gfx/present/present.h"

// The key code tables are indexed by the scan codes of the PC keyboard, where
// the grey cursor block shares its codes with the keypad and is told apart by
// the extended flag. The browser's key names are those places, so one table
// turns them into scan codes on every keyboard layout.

namespace {

constexpr int32_t EXTENDED = KEY_EXTENDED;

struct CodeRow {
    std::string_view code;
    int16_t scan;
    char unshifted;  // what the key types on a US keyboard, 0 for nothing
};

constexpr CodeRow CODE_MAP[] = {
    {"Escape", 0x01, 27},
    {"Digit1", 0x02, '1'},
    {"Digit2", 0x03, '2'},
    {"Digit3", 0x04, '3'},
    {"Digit4", 0x05, '4'},
    {"Digit5", 0x06, '5'},
    {"Digit6", 0x07, '6'},
    {"Digit7", 0x08, '7'},
    {"Digit8", 0x09, '8'},
    {"Digit9", 0x0A, '9'},
    {"Digit0", 0x0B, '0'},
    {"Minus", 0x0C, '-'},
    {"Equal", 0x0D, '='},
    {"Backspace", 0x0E, 8},
    {"Tab", 0x0F, 9},
    {"KeyQ", 0x10, 'q'},
    {"KeyW", 0x11, 'w'},
    {"KeyE", 0x12, 'e'},
    {"KeyR", 0x13, 'r'},
    {"KeyT", 0x14, 't'},
    {"KeyY", 0x15, 'y'},
    {"KeyU", 0x16, 'u'},
    {"KeyI", 0x17, 'i'},
    {"KeyO", 0x18, 'o'},
    {"KeyP", 0x19, 'p'},
    {"BracketLeft", 0x1A, '['},
    {"BracketRight", 0x1B, ']'},
    {"Enter", 0x1C, 13},
    {"ControlLeft", 0x1D, 0},
    {"KeyA", 0x1E, 'a'},
    {"KeyS", 0x1F, 's'},
    {"KeyD", 0x20, 'd'},
    {"KeyF", 0x21, 'f'},
    {"KeyG", 0x22, 'g'},
    {"KeyH", 0x23, 'h'},
    {"KeyJ", 0x24, 'j'},
    {"KeyK", 0x25, 'k'},
    {"KeyL", 0x26, 'l'},
    {"Semicolon", 0x27, ';'},
    {"Quote", 0x28, '\''},
    {"Backquote", 0x29, '`'},
    {"ShiftLeft", 0x2A, 0},
    {"Backslash", 0x2B, '\\'},
    {"KeyZ", 0x2C, 'z'},
    {"KeyX", 0x2D, 'x'},
    {"KeyC", 0x2E, 'c'},
    {"KeyV", 0x2F, 'v'},
    {"KeyB", 0x30, 'b'},
    {"KeyN", 0x31, 'n'},
    {"KeyM", 0x32, 'm'},
    {"Comma", 0x33, ','},
    {"Period", 0x34, '.'},
    {"Slash", 0x35, '/'},
    {"ShiftRight", 0x36, 0},
    {"NumpadMultiply", 0x37, '*'},
    {"AltLeft", 0x38, 0},
    {"Space", 0x39, ' '},
    {"CapsLock", 0x3A, 0},
    {"F1", 0x3B, 0},
    {"F2", 0x3C, 0},
    {"F3", 0x3D, 0},
    {"F4", 0x3E, 0},
    {"F5", 0x3F, 0},
    {"F6", 0x40, 0},
    {"F7", 0x41, 0},
    {"F8", 0x42, 0},
    {"F9", 0x43, 0},
    {"F10", 0x44, 0},
    {"NumLock", 0x45 | EXTENDED, 0},
    {"ScrollLock", 0x46, 0},
    {"Numpad7", 0x47, '7'},
    {"Numpad8", 0x48, '8'},
    {"Numpad9", 0x49, '9'},
    {"NumpadSubtract", 0x4A, '-'},
    {"Numpad4", 0x4B, '4'},
    {"Numpad5", 0x4C, '5'},
    {"Numpad6", 0x4D, '6'},
    {"NumpadAdd", 0x4E, '+'},
    {"Numpad1", 0x4F, '1'},
    {"Numpad2", 0x50, '2'},
    {"Numpad3", 0x51, '3'},
    {"Numpad0", 0x52, '0'},
    {"NumpadDecimal", 0x53, '.'},
    {"IntlBackslash", 0x56, '\\'},
    {"F11", 0x57, 0},
    {"F12", 0x58, 0},
    {"NumpadEnter", 0x1C | EXTENDED, 13},
    {"ControlRight", 0x1D | EXTENDED, 0},
    {"NumpadDivide", 0x35 | EXTENDED, '/'},
    {"AltRight", 0x38 | EXTENDED, 0},
    {"Home", 0x47 | EXTENDED, 0},
    {"ArrowUp", 0x48 | EXTENDED, 0},
    {"PageUp", 0x49 | EXTENDED, 0},
    {"ArrowLeft", 0x4B | EXTENDED, 0},
    {"ArrowRight", 0x4D | EXTENDED, 0},
    {"End", 0x4F | EXTENDED, 0},
    {"ArrowDown", 0x50 | EXTENDED, 0},
    {"PageDown", 0x51 | EXTENDED, 0},
    {"Insert", 0x52 | EXTENDED, 0},
    {"Delete", 0x53 | EXTENDED, 127},
    {"MetaLeft", 0x5B | EXTENDED, 0},
    {"MetaRight", 0x5C | EXTENDED, 0},
    {"ContextMenu", 0x5D | EXTENDED, 0},
};

const CodeRow* row_of(std::string_view code) {
    for (const CodeRow& row : CODE_MAP) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

// The keypad keys that type their digit or point only with Num Lock on.
bool types_with_num_lock(std::string_view code) {
    return code == "NumpadDecimal" || (code.size() == 7 && code.starts_with("Numpad"));
}

// One character of UTF-8 and nothing more: its length in bytes, else 0.
int32_t single_character_length(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<uint8_t>(text[0]);
    int32_t length = 0;
    if (lead < 0x80) {
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
    }
    return static_cast<int32_t>(text.size()) == length ? length : 0;
}

}  // namespace

int32_t web_scan_code(std::string_view code) {
    const CodeRow* row = row_of(code);
    return row != nullptr ? row->scan : 0;
}

int32_t web_key_char(std::string_view code, std::string_view key, bool shift) {
    const CodeRow* row = row_of(code);
    if (row == nullptr) return 0;
    if (types_with_num_lock(code)) {
        // With Num Lock off the keypad's digits move the cursor and type
        // nothing; the page tells by what the key did.
        return single_character_length(key) == 1 ? row->unshifted : 0;
    }
    if (single_character_length(key) != 1) return row->unshifted;
    const char typed = key[0];
    // The layout's own letter: Y and Z trade places on a German keyboard.
    if (typed >= 'A' && typed <= 'Z') return typed - 'A' + 'a';
    if (typed >= 'a' && typed <= 'z') return typed;
    return shift ? row->unshifted : typed;
}

bool web_typed_text(std::string_view key, int32_t page_flags) {
    if (single_character_length(key) == 0) return false;
    if (static_cast<uint8_t>(key[0]) < 32 || key[0] == 127) return false;
    if ((page_flags & PAGE_META) != 0) return false;
    return (page_flags & PAGE_CTRL) == 0 || (page_flags & PAGE_ALT) != 0;
}

int32_t web_modifiers(int32_t page_flags, bool right_ctrl, bool right_alt) {
    int32_t bits = 0;
    if ((page_flags & PAGE_SHIFT) != 0) bits |= KEY_SHIFT;
    if ((page_flags & PAGE_CTRL) != 0) bits |= KEY_CTRL | (right_ctrl ? KEY_RIGHT_CTRL : 0);
    if ((page_flags & PAGE_ALT) != 0) bits |= KEY_ALT | (right_alt ? KEY_RIGHT_ALT : 0);
    return bits;
}
