#pragma once

#include <cstdint>
#include <string>

// The routines through which the console's text and key operations run. All
// slots are empty while no graphics screen exists (the text console answers);
// a new screen fills them with its own routines and tearing it down empties
// them again. A slot the screen does not serve stays empty.
struct ConsoleHooks {
    std::string (*inkey)();                                                      // 0
    int32_t (*getkey)();                                                         // 1
    int32_t (*key_hit)();                                                        // 2
    void (*cls)(int32_t mode);                                                   // 3
    void (*set_text_colours)(uint32_t foreground, uint32_t background);          // 4
    int32_t (*locate)(int32_t row, int32_t column, int32_t cursor);              // 5
    int32_t (*set_text_grid)(int32_t columns, int32_t rows);                     // 6
    int32_t (*cursor_column)();                                                  // 7
    int32_t (*cursor_row)();                                                     // 8
    int32_t (*cursor_position)();                                                // 9
    void (*text_size)(int32_t* columns, int32_t* rows);                          // 10
    void (*write_text)(const uint8_t* bytes, int32_t length, int32_t flags);     // 11
    void (*write_text16)(const uint16_t* units, int32_t length, int32_t flags);  // 12
    std::string (*read_line)();                                                  // 13
    int32_t (*multikey)(int32_t scan);                                           // 14
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined);  // 15
    int32_t (*set_mouse)(int32_t x, int32_t y, int32_t visibility,
                         int32_t confinement);                               // 16
    int32_t (*port_in)(int32_t port);                                        // 17
    void (*port_out)(int32_t port, int32_t value);                           // 18
    void (*view_changed)();                                                  // 19
    std::string (*line_input)(const uint8_t* prompt, int32_t length);        // 20
    std::u16string (*line_input16)(const uint16_t* prompt, int32_t length);  // 21
    int32_t (*read_cell)(int32_t row, int32_t column, int32_t colours);      // 22
    void (*pause)(int32_t ms);                                               // 23
    int32_t (*is_redirected)();                                              // 24
    int32_t (*copy_page)(int32_t source, int32_t destination);               // 25
    int32_t (*set_pages)(int32_t work, int32_t visible);                     // 26
};

constexpr int32_t CONSOLE_HOOK_COUNT = 27;
static_assert(sizeof(ConsoleHooks) == CONSOLE_HOOK_COUNT * sizeof(void (*)()));

// The process-wide slots.
extern ConsoleHooks console_hooks;

// The graphics screen's routines, as gfx_screen installs them.
extern const ConsoleHooks screen_console_hooks;

void fill_console_hooks();
void empty_console_hooks();
