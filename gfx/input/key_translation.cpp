#include "gfx/input/input.h"

// The codes are those the PC BIOS keyboard service gives, so that programs
// written against it find the same second codes here.

const KeyColumns ScanCodeTable[SCAN_CODE_ROWS] = {
    {0, 0, 0, 0},                      // 0x00
    {27, 27, 27, 0x0100},              // 0x01 Escape
    {'1', '!', 0, 0x7800},             // 0x02
    {'2', '@', 0x0300, 0x7900},        // 0x03
    {'3', '#', 0, 0x7A00},             // 0x04
    {'4', '$', 0, 0x7B00},             // 0x05
    {'5', '%', 0, 0x7C00},             // 0x06
    {'6', '^', 30, 0x7D00},            // 0x07
    {'7', '&', 0, 0x7E00},             // 0x08
    {'8', '*', 0, 0x7F00},             // 0x09
    {'9', '(', 0, 0x8000},             // 0x0A
    {'0', ')', 0, 0x8100},             // 0x0B
    {'-', '_', 31, 0x8200},            // 0x0C
    {'=', '+', 0, 0x8300},             // 0x0D
    {8, 8, 127, 0x0E00},               // 0x0E Backspace
    {9, 0x0F00, 0x9400, 0xA500},       // 0x0F Tab
    {'q', 'Q', 17, 0x1000},            // 0x10
    {'w', 'W', 23, 0x1100},            // 0x11
    {'e', 'E', 5, 0x1200},             // 0x12
    {'r', 'R', 18, 0x1300},            // 0x13
    {'t', 'T', 20, 0x1400},            // 0x14
    {'y', 'Y', 25, 0x1500},            // 0x15
    {'u', 'U', 21, 0x1600},            // 0x16
    {'i', 'I', 9, 0x1700},             // 0x17
    {'o', 'O', 15, 0x1800},            // 0x18
    {'p', 'P', 16, 0x1900},            // 0x19
    {'[', '{', 27, 0x1A00},            // 0x1A
    {']', '}', 29, 0x1B00},            // 0x1B
    {13, 13, 10, 0x1C00},              // 0x1C Enter
    {0, 0, 0, 0},                      // 0x1D Ctrl
    {'a', 'A', 1, 0x1E00},             // 0x1E
    {'s', 'S', 19, 0x1F00},            // 0x1F
    {'d', 'D', 4, 0x2000},             // 0x20
    {'f', 'F', 6, 0x2100},             // 0x21
    {'g', 'G', 7, 0x2200},             // 0x22
    {'h', 'H', 8, 0x2300},             // 0x23
    {'j', 'J', 10, 0x2400},            // 0x24
    {'k', 'K', 11, 0x2500},            // 0x25
    {'l', 'L', 12, 0x2600},            // 0x26
    {';', ':', 0, 0x2700},             // 0x27
    {'\'', '"', 0, 0x2800},            // 0x28
    {'`', '~', 0, 0x2900},             // 0x29
    {0, 0, 0, 0},                      // 0x2A left Shift
    {'\\', '|', 28, 0x2B00},           // 0x2B
    {'z', 'Z', 26, 0x2C00},            // 0x2C
    {'x', 'X', 24, 0x2D00},            // 0x2D
    {'c', 'C', 3, 0x2E00},             // 0x2E
    {'v', 'V', 22, 0x2F00},            // 0x2F
    {'b', 'B', 2, 0x3000},             // 0x30
    {'n', 'N', 14, 0x3100},            // 0x31
    {'m', 'M', 13, 0x3200},            // 0x32
    {',', '<', 0, 0x3300},             // 0x33
    {'.', '>', 0, 0x3400},             // 0x34
    {'/', '?', 0, 0x3500},             // 0x35
    {0, 0, 0, 0},                      // 0x36 right Shift
    {'*', '*', 0x9600, 0x3700},        // 0x37 keypad *
    {0, 0, 0, 0},                      // 0x38 Alt
    {' ', ' ', ' ', ' '},              // 0x39 Space
    {0, 0, 0, 0},                      // 0x3A Caps Lock
    {0x3B00, 0x5400, 0x5E00, 0x6800},  // 0x3B F1
    {0x3C00, 0x5500, 0x5F00, 0x6900},  // 0x3C F2
    {0x3D00, 0x5600, 0x6000, 0x6A00},  // 0x3D F3
    {0x3E00, 0x5700, 0x6100, 0x6B00},  // 0x3E F4
    {0x3F00, 0x5800, 0x6200, 0x6C00},  // 0x3F F5
    {0x4000, 0x5900, 0x6300, 0x6D00},  // 0x40 F6
    {0x4100, 0x5A00, 0x6400, 0x6E00},  // 0x41 F7
    {0x4200, 0x5B00, 0x6500, 0x6F00},  // 0x42 F8
    {0x4300, 0x5C00, 0x6600, 0x7000},  // 0x43 F9
    {0x4400, 0x5D00, 0x6700, 0x7100},  // 0x44 F10
    {0, 0, 0, 0},                      // 0x45 Num Lock
    {0, 0, 0, 0},                      // 0x46 Scroll Lock
    {0x4700, '7', 0x7700, 0},          // 0x47 keypad 7 / Home
    {0x4800, '8', 0x8D00, 0},          // 0x48 keypad 8 / Up
    {0x4900, '9', 0x8400, 0},          // 0x49 keypad 9 / Page Up
    {'-', '-', 0x8E00, 0x4A00},        // 0x4A keypad -
    {0x4B00, '4', 0x7300, 0},          // 0x4B keypad 4 / Left
    {0x4C00, '5', 0x8F00, 0x4C00},     // 0x4C keypad 5
    {0x4D00, '6', 0x7400, 0},          // 0x4D keypad 6 / Right
    {'+', '+', 0x9000, 0x4E00},        // 0x4E keypad +
    {0x4F00, '1', 0x7500, 0},          // 0x4F keypad 1 / End
    {0x5000, '2', 0x9100, 0},          // 0x50 keypad 2 / Down
    {0x5100, '3', 0x7600, 0},          // 0x51 keypad 3 / Page Down
    {0x5200, '0', 0x9200, 0},          // 0x52 keypad 0 / Insert
    {0x5300, '.', 0x9300, 0},          // 0x53 keypad . / Delete
    {0, 0, 0, 0},                      // 0x54
    {0, 0, 0, 0},                      // 0x55
    {0, 0, 0, 0},                      // 0x56
    {0x8500, 0x8700, 0x8900, 0x8B00},  // 0x57 F11
    {0x8600, 0x8800, 0x8A00, 0x8C00},  // 0x58 F12
};

const EnhancedKey EnhancedKeyTable[ENHANCED_KEY_ROWS] = {
    {0x1C, {13, 13, 10, 0xA600}},              // keypad Enter
    {0x35, {'/', '?', 0x9500, 0xA400}},        // keypad /
    {0x47, {0x4700, 0x4700, 0x7700, 0x9700}},  // Home
    {0x48, {0x4800, 0x4800, 0x8D00, 0x9800}},  // Up
    {0x49, {0x4900, 0x4900, 0x8400, 0x9900}},  // Page Up
    {0x4B, {0x4B00, 0x4B00, 0x7300, 0x9B00}},  // Left
    {0x4D, {0x4D00, 0x4D00, 0x7400, 0x9D00}},  // Right
    {0x4F, {0x4F00, 0x4F00, 0x7500, 0x9F00}},  // End
    {0x50, {0x5000, 0x5000, 0x9100, 0xA000}},  // Down
    {0x51, {0x5100, 0x5100, 0x7600, 0xA100}},  // Page Down
    {0x52, {0x5200, 0x5200, 0x9200, 0xA200}},  // Insert
    {0x53, {0x5300, 0x5300, 0x9300, 0xA300}},  // Delete
};

namespace {

enum class Column { normal, shift, ctrl, alt };

Column column_of(int32_t modifiers) {
    if ((modifiers & (KEY_ALT | KEY_RIGHT_ALT)) != 0) return Column::alt;
    if ((modifiers & (KEY_CTRL | KEY_RIGHT_CTRL)) != 0) return Column::ctrl;
    if ((modifiers & KEY_SHIFT) != 0) return Column::shift;
    return Column::normal;
}

int32_t entry(const KeyColumns& codes, Column column) {
    switch (column) {
        case Column::shift:
            return codes.shift;
        case Column::ctrl:
            return codes.ctrl;
        case Column::alt:
            return codes.alt;
        default:
            return codes.normal;
    }
}

int32_t extended(int32_t code) {
    return (code & 0xFF00) | 0xFF;
}

int32_t swap_case(int32_t c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    return c;
}

int32_t translate_grey_key(int32_t scan, Column column) {
    for (const EnhancedKey& key : EnhancedKeyTable) {
        if (key.scan != scan) continue;
        const int32_t code = entry(key.codes, column);
        if (column == Column::normal) return code <= 255 ? code : extended(code);
        if (code == 0) return -1;
        return code <= 255 ? code : extended(code);
    }
    return -1;
}

}  // namespace

int32_t translate_key(int32_t ch, int32_t scan, int32_t key_char, int32_t modifiers) {
    const Column column = column_of(modifiers);
    if (ch == 0 && (modifiers & KEY_EXTENDED) != 0) return translate_grey_key(scan, column);
    if (scan >= 0 && scan < SCAN_CODE_ROWS) {
        // Unmodified, a key that types a character is that character.
        const int32_t d =
            column == Column::normal && ch != 0 ? key_char : entry(ScanCodeTable[scan], column);
        // A key that types nothing, or its plain character, stands for its
        // extended code when it has one.
        if (d > 255 && (ch == key_char || ch == swap_case(key_char))) return extended(d);
    }
    return ch != 0 ? ch : -1;
}
