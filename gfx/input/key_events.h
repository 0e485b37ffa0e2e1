#pragma once

#include <cstdint>

// The key path from the window to the key buffer. The window's presentation
// thread calls these with the screen lock held.

// A key went down (once more per auto-repeat): set-1 scan code, the
// character the key types without modifiers (0 for none) and the modifier
// bits of key_translation.h. Pushes the key's extended code, and the control
// characters (Enter, Tab, Backspace, Escape, Ctrl+letter) that arrive as no
// typed text. Keys with Alt but not Ctrl, and F10, are the window system's:
// nothing is pushed for them (Alt+F4 would be CLOSE_KEY). An auto-repeat
// (repeat = true) pushes a code only while no press of it waits unread: the
// window system repeats faster than a frame reads keys, and a held key that
// queued its repeats would run on after its release.
void key_down(int32_t scan, int32_t key_char, int32_t modifiers, bool repeat = false);

// Typed text (UTF-8): pushes its code page 437 bytes; text typed with the
// left Alt alone held belongs to a system key and is dropped. Text of an
// auto-repeat (repeat = true) follows the rule of key_down.
void key_text(const char* utf8, int32_t modifiers, bool repeat = false);

// The window's close button, or the process asked to end: one CLOSE_KEY.
void key_close_request();
