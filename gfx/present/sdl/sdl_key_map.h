#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

// A key as the key code translation sees it.
struct SdlKey {
    int32_t scan;      // set-1 scan code, 0 for a key without one
    int32_t key_char;  // the character the key types without modifiers, 0 for none
    int32_t
        modifiers;  // Shift 0x10, Ctrl 0x08 (+0x04 right), Alt 0x02 (+0x01 right), 0x100 grey key
};

// A key event's key: SDL's scan code mapped to set 1 (grey keys carry the
// extended flag), with the modifier state of the event.
SdlKey sdl_key(const SDL_Keysym& keysym);

// The modifier bits of an SDL modifier state.
int32_t sdl_modifiers(uint16_t mod);

// Fills the 128 bytes of key_states from SDL's keyboard state: byte s is 1
// while a key of set-1 scan code s is down (a grey key and its keypad twin
// share one byte).
void sdl_refresh_key_states(uint8_t* key_states);
