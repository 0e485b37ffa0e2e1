#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int32_t KEY_BUFFER_SLOTS = 16;
// The window's close button, delivered as the key 255, "k".
constexpr int32_t CLOSE_KEY = 0x6BFF;

// Extended keys as gfx_inkey gives them: 255 and the second code.
inline constexpr std::string_view KEY_UP = "\xFFH";
inline constexpr std::string_view KEY_DOWN = "\xFFP";
inline constexpr std::string_view KEY_LEFT = "\xFFK";
inline constexpr std::string_view KEY_RIGHT = "\xFFM";
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
