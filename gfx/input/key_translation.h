#pragma once

#include <cstdint>

// Modifier bits of a key press.
constexpr int32_t KEY_RIGHT_ALT = 0x01;
constexpr int32_t KEY_ALT = 0x02;  // either Alt
constexpr int32_t KEY_RIGHT_CTRL = 0x04;
constexpr int32_t KEY_CTRL = 0x08;  // either Ctrl
constexpr int32_t KEY_SHIFT = 0x10;
constexpr int32_t KEY_EXTENDED = 0x100;  // a grey key (cursor block, keypad Enter and /)

// The codes of one key per modifier column: above 255 a second code << 8,
// 1..255 a character, 0 none.
struct KeyColumns {
    uint16_t normal;
    uint16_t shift;
    uint16_t ctrl;
    uint16_t alt;
};

constexpr int32_t SCAN_CODE_ROWS = 89;
// Scan codes 0..88 of the PC keyboard (set 1, US layout).
extern const KeyColumns ScanCodeTable[SCAN_CODE_ROWS];

struct EnhancedKey {
    uint8_t scan;
    KeyColumns codes;
};
constexpr int32_t ENHANCED_KEY_ROWS = 12;
// The grey keys, which share their scan codes with keypad keys.
extern const EnhancedKey EnhancedKeyTable[ENHANCED_KEY_ROWS];

// The key code of a key press: ch is the character it types (0 for none),
// key_char the character the key types without modifiers. Answers a
// character, an extended code (second code << 8 | 0xFF) or -1 for nothing.
int32_t translate_key(int32_t ch, int32_t scan, int32_t key_char, int32_t modifiers);
