#include "gfx/present/sdl/sdl_internal.h"

#include <array>

#include <cstring>
#include "gfx/present/present.h"

// SDL numbers keys by their USB usage; the key code tables and key_states
// are indexed by the scan codes of the PC keyboard (set 1), where the grey
// cursor block shares its codes with the keypad and is told apart by the
// extended flag.

namespace {

constexpr int32_t EXTENDED = KEY_EXTENDED;
constexpr int32_t KEY_STATE_BYTES = 128;

struct MapRow {
    SDL_Scancode sdl;
    int16_t scan;
};

constexpr MapRow SCAN_MAP[] = {
    {SDL_SCANCODE_ESCAPE, 0x01},
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, 0x0B},
    {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11},
    {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16},
    {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20},
    {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23},
    {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26},
    {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C},
    {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30},
    {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45 | EXTENDED},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, 0x1C | EXTENDED},
    {SDL_SCANCODE_RCTRL, 0x1D | EXTENDED},
    {SDL_SCANCODE_KP_DIVIDE, 0x35 | EXTENDED},
    {SDL_SCANCODE_RALT, 0x38 | EXTENDED},
    {SDL_SCANCODE_HOME, 0x47 | EXTENDED},
    {SDL_SCANCODE_UP, 0x48 | EXTENDED},
    {SDL_SCANCODE_PAGEUP, 0x49 | EXTENDED},
    {SDL_SCANCODE_LEFT, 0x4B | EXTENDED},
    {SDL_SCANCODE_RIGHT, 0x4D | EXTENDED},
    {SDL_SCANCODE_END, 0x4F | EXTENDED},
    {SDL_SCANCODE_DOWN, 0x50 | EXTENDED},
    {SDL_SCANCODE_PAGEDOWN, 0x51 | EXTENDED},
    {SDL_SCANCODE_INSERT, 0x52 | EXTENDED},
    {SDL_SCANCODE_DELETE, 0x53 | EXTENDED},
    {SDL_SCANCODE_LGUI, 0x5B | EXTENDED},
    {SDL_SCANCODE_RGUI, 0x5C | EXTENDED},
    {SDL_SCANCODE_APPLICATION, 0x5D | EXTENDED},
};

// Set-1 code (with the extended flag) per SDL scan code, 0 for none.
constexpr std::array<int16_t, SDL_NUM_SCANCODES> SCAN_BY_SDL = [] {
    std::array<int16_t, SDL_NUM_SCANCODES> table{};
    for (const MapRow& row : SCAN_MAP)
        table[row.sdl] = row.scan;
    return table;
}();

// SDL names keypad keys by what is printed on them, not by the character they
// type; with Num Lock off the digit keys type nothing and act as cursor keys.
int32_t keypad_char(SDL_Scancode sdl, bool num_lock) {
    switch (sdl) {
        case SDL_SCANCODE_KP_DIVIDE:
            return '/';
        case SDL_SCANCODE_KP_MULTIPLY:
            return '*';
        case SDL_SCANCODE_KP_MINUS:
            return '-';
        case SDL_SCANCODE_KP_PLUS:
            return '+';
        case SDL_SCANCODE_KP_ENTER:
            return 13;
        case SDL_SCANCODE_KP_PERIOD:
            return num_lock ? '.' : 0;
        case SDL_SCANCODE_KP_0:
            return num_lock ? '0' : 0;
        default:
            if (sdl >= SDL_SCANCODE_KP_1 && sdl <= SDL_SCANCODE_KP_9) {
                return num_lock ? '1' + (sdl - SDL_SCANCODE_KP_1) : 0;
            }
            return -1;  // not a keypad key
    }
}

}  // namespace

int32_t sdl_modifiers(uint16_t mod) {
    int32_t bits = 0;
    if ((mod & KMOD_SHIFT) != 0) bits |= KEY_SHIFT;
    if ((mod & KMOD_CTRL) != 0) bits |= KEY_CTRL;
    if ((mod & KMOD_RCTRL) != 0) bits |= KEY_RIGHT_CTRL;
    if ((mod & KMOD_ALT) != 0) bits |= KEY_ALT;
    if ((mod & KMOD_RALT) != 0) bits |= KEY_RIGHT_ALT;
    return bits;
}

SdlKey sdl_key(const SDL_Keysym& keysym) {
    const SDL_Scancode sdl = keysym.scancode;
    const int32_t mapped = sdl >= 0 && sdl < SDL_NUM_SCANCODES ? SCAN_BY_SDL[sdl] : 0;
    int32_t key_char = keypad_char(sdl, (keysym.mod & KMOD_NUM) != 0);
    if (key_char < 0) key_char = keysym.sym >= 1 && keysym.sym <= 127 ? keysym.sym : 0;
    return SdlKey{.scan = mapped & 0xFF,
                  .key_char = key_char,
                  .modifiers = sdl_modifiers(keysym.mod) | (mapped & EXTENDED)};
}

void sdl_refresh_key_states(uint8_t* key_states) {
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    uint8_t fresh[KEY_STATE_BYTES] = {};
    for (const MapRow& row : SCAN_MAP) {
        if (row.sdl < count && held[row.sdl] != 0) fresh[row.scan & 0x7F] = 1;
    }
    std::memcpy(key_states, fresh, sizeof fresh);
}
