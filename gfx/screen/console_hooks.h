#pragma once

#include <cstdint>
#include <string>

// The routines through which the console's text and key operations run. All
// slots are empty while no graphics screen exists (the text console answers);
// a new screen fills them with its own routines and tearing it down empties
// them again. A slot the screen does not serve stays empty.
struct ConsoleHooks {
    std::string (*inkey)() = nullptr;                                                      // 0
    int32_t (*getkey)() = nullptr;                                                         // 1
    int32_t (*key_hit)() = nullptr;                                                        // 2
    void (*cls)(int32_t mode) = nullptr;                                                   // 3
    void (*set_text_colours)(uint32_t foreground, uint32_t background) = nullptr;          // 4
    int32_t (*locate)(int32_t row, int32_t column, int32_t cursor) = nullptr;              // 5
    int32_t (*set_text_grid)(int32_t columns, int32_t rows) = nullptr;                     // 6
    int32_t (*cursor_column)() = nullptr;                                                  // 7
    int32_t (*cursor_row)() = nullptr;                                                     // 8
    int32_t (*cursor_position)() = nullptr;                                                // 9
    void (*text_size)(int32_t* columns, int32_t* rows) = nullptr;                          // 10
    void (*write_text)(const uint8_t* bytes, int32_t length, int32_t flags) = nullptr;     // 11
    void (*write_text16)(const uint16_t* units, int32_t length, int32_t flags) = nullptr;  // 12
    std::string (*read_line)() = nullptr;                                                  // 13
    int32_t (*multikey)(int32_t scan) = nullptr;                                           // 14
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined) = nullptr;  // 15
    int32_t (*set_mouse)(int32_t x, int32_t y, int32_t visibility,
                         int32_t confinement) = nullptr;                               // 16
    int32_t (*port_in)(int32_t port) = nullptr;                                        // 17
    void (*port_out)(int32_t port, int32_t value) = nullptr;                           // 18
    void (*view_changed)() = nullptr;                                                  // 19
    std::string (*line_input)(const uint8_t* prompt, int32_t length) = nullptr;        // 20
    std::u16string (*line_input16)(const uint16_t* prompt, int32_t length) = nullptr;  // 21
    int32_t (*read_cell)(int32_t row, int32_t column, int32_t colours) = nullptr;      // 22
    void (*pause)(int32_t ms) = nullptr;                                               // 23
    int32_t (*is_redirected)() = nullptr;                                              // 24
    int32_t (*copy_page)(int32_t source, int32_t destination) = nullptr;               // 25
    int32_t (*set_pages)(int32_t work, int32_t visible) = nullptr;                     // 26
};

constexpr int32_t CONSOLE_HOOK_COUNT = 27;
static_assert(sizeof(ConsoleHooks) == CONSOLE_HOOK_COUNT * sizeof(void (*)()));

// The process-wide slots.
extern ConsoleHooks console_hooks;

// Fills every slot from a screen's table (the pause slot also becomes the
// routine sleep_ms hands over to), or empties them all again.
void install_console_hooks(const ConsoleHooks& hooks);
void empty_console_hooks();
