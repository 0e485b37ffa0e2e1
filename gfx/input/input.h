#pragma once

// The keyboard and the pointer: the key buffer and its services (gfx_inkey,
// gfx_getkey, gfx_multikey), the key path from a window's key events to key
// codes, and the mouse services.
//
// Usage:
//   std::string key = gfx_inkey();    // "", one character, or 255 and a code
//   bool up = key == KEY_UP;
//   key_down(0x48, 0, KEY_EXTENDED);  // a driver's key event, lock held

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/present/present.h"

constexpr int32_t KEY_BUFFER_SLOTS = 16;

// Converts UTF-8 text to code page 437, the program's character set: ASCII
// stays, every other character becomes its code page 437 byte, and a
// character without one (or a malformed sequence) is dropped. Writes at most
// capacity bytes to out and answers how many it wrote. Typed text and the
// program's translated texts reach the screen this way.
int32_t utf8_to_cp437(const char* utf8, uint8_t* out, int32_t capacity);

// Extended keys as gfx_inkey gives them: 255 and the second code.
inline constexpr std::string_view KEY_UP = "\xFFH";
inline constexpr std::string_view KEY_DOWN = "\xFFP";
inline constexpr std::string_view KEY_LEFT = "\xFFK";
inline constexpr std::string_view KEY_RIGHT = "\xFFM";
inline constexpr std::string_view KEY_PAGE_UP = "\xFFI";
inline constexpr std::string_view KEY_PAGE_DOWN = "\xFFQ";
inline constexpr std::string_view KEY_CLOSE = "\xFFk";

// Ring of key codes written by the window code and read by the program.
// At most 15 codes are held; a 16th drops the oldest.
struct KeyBuffer {
    int32_t codes[KEY_BUFFER_SLOTS] = {};
    int32_t head = 0;
    int32_t tail = 0;
    std::atomic<int32_t> key_seen_flag{0};
};

extern KeyBuffer key_buffer;

// Window side: appends a code (the caller holds the screen lock).
void key_push(int32_t code);
// Window side, for an auto-repeat: appends the code only while no press of it
// waits unread, so that a held key queues at most one repeat and stops with
// its release (the caller holds the screen lock).
void key_push_repeat(int32_t code);
// Takes the oldest code under the screen lock; 0 when the buffer is empty.
int32_t key_pop();
// 1 when a code is waiting.
int32_t key_hit();
// The oldest key as text: "" for none, one character, or 255 and a second code.
std::string gfx_inkey();
// Waits for a key and answers its code (0 without a screen).
int32_t gfx_getkey();
// Waits until a key is in the buffer, for at most ms milliseconds (-1: no
// limit), and answers whether one is (as key_hit sees it, so never without a
// screen). It sleeps until a key push wakes it; the caller must not hold the
// screen lock, which the window needs to deliver the key. A driver that
// presents only while the program pauses (the page's) presents first.
// Through a pause seam it is played out as a poll in 1 ms steps.
bool key_wait(int32_t ms);
// -1 while the key of that scan code is held, else 0.
int32_t gfx_multikey(int32_t scan);

// Reads and clears the key-seen flag under the screen lock.
bool take_key_seen();

// Empties the buffer (a fresh process starts so).
void key_buffer_clear();

// The screen's own routines behind the console hooks.
std::string screen_inkey();
int32_t screen_getkey();
int32_t screen_key_hit();
int32_t screen_multikey(int32_t scan);
// sleep_ms on the graphics screen: a key press cuts waits of 100 ms or more short.
void screen_sleep(int32_t n);

// The key path from the window to the key buffer. The window's presentation
// thread calls these with the screen lock held.

// A key went down (once more per auto-repeat): set-1 scan code, the
// character the key types without modifiers (0 for none) and the modifier
// bits of the driver contract. Pushes the key's extended code, and the
// control characters (Enter, Tab, Backspace, Escape, Ctrl+letter) that arrive
// as no typed text. Keys with Alt but not Ctrl, and F10, are the window
// system's: nothing is pushed for them (Alt+F4 would be CLOSE_KEY), and
// Alt+Enter answers KeyRoute::window_fullscreen, the window's full-screen
// toggle. An auto-repeat (repeat = true) pushes a code only while no press of
// it waits unread: the window system repeats faster than a frame reads keys,
// and a held key that queued its repeats would run on after its release.
KeyRoute key_down(int32_t scan, int32_t key_char, int32_t modifiers, bool repeat = false);

// Typed text (UTF-8): pushes its code page 437 bytes; text typed with the
// left Alt alone held belongs to a system key and is dropped. Text of an
// auto-repeat (repeat = true) follows the rule of key_down.
void key_text(const char* utf8, int32_t modifiers, bool repeat = false);

// The window's close button, or the process asked to end: one CLOSE_KEY.
void key_close_request();

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

// The mouse through the screen's window (console hook slots 15 and 16).

// x, y in window pixels, wheel position, buttons (1 left, 2 right, 4 middle)
// and whether the pointer is confined; -1 in all five and result 1 while the
// window is inactive, the pointer is outside it or no window shows the screen.
int32_t screen_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined);

// The mouse as a program reads it: through the console's mouse slot, which
// a screen fills with screen_get_mouse; -1 in all five and result 1 without
// a screen. Any pointer argument may be nullptr.
int32_t gfx_getmouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* confined);

// Moves the pointer when x >= 0 (clamped to the window), shows (> 0) or hides
// (0) it and confines (> 0) or releases (0) it; negative leaves either as it
// is. Result 0, or 1 when no window shows the screen.
int32_t screen_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t confinement);
