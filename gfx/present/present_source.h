#pragma once

#include <cstdint>

// What a window driver shows, as the current screen hands it over. Every
// field is read and written under the driver's lock only.
struct PresentFrame {
    const uint8_t* pixels;  // the visible page, pitch bytes per row
    int32_t width;
    int32_t height;  // framebuffer rows
    int32_t pitch;
    int32_t depth;               // 1..8 (attributes), 16 (5-6-5) or 32 (0xAARRGGBB)
    int32_t line_repeat;         // window lines per framebuffer row
    uint8_t* dirty_rows;         // height x line_repeat bytes; 1 = row changed since shown
    const uint32_t* palette;     // 256 x 0x00BBGGRR
    uint32_t* conversion_table;  // 512 entries: 16-bit to 32-bit, low[v & 0xFF] | high[v >> 8]
    uint8_t* key_states;         // 128 bytes, one per scan code
};

// The routines through which a driver reaches the screen and the keyboard
// without knowing either. The composition file fills them; the driver calls
// every one of them with its lock held.
struct PresentSource {
    // Fills the frame of the current screen; false while no screen exists.
    bool (*frame)(PresentFrame* frame);
    // A key went down (again for every auto-repeat, with repeat set): its
    // set-1 scan code, the character the key types without modifiers (0 for
    // none) and the modifier bits of the key code translation, extended-key
    // flag included.
    void (*key_down)(int32_t scan, int32_t key_char, int32_t modifiers, bool repeat);
    // Text typed, as UTF-8, with the modifier bits held at the time; repeat
    // when an auto-repeat of its key typed it.
    void (*text_typed)(const char* utf8, int32_t modifiers, bool repeat);
    // The window's close button or the process asked to quit.
    void (*close_request)();
};

extern const PresentSource present_source;
