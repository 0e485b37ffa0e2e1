#include <cstdio>

#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"
#include "runtime/runtime.h"

namespace {

constexpr int32_t SCREEN_DEVICE = 0;
constexpr int32_t LINE_END_FLAGS = 1 | 4;

bool wants_line_end(int32_t flags) {
    return (flags & LINE_END_FLAGS) != 0;
}

// Through the screen while one is open; the text console takes the bytes as
// they are.
void put_bytes(const uint8_t* bytes, int32_t length) {
    if (console_hooks.write_text != nullptr) {
        console_hooks.write_text(bytes, length, 0);
    } else if (length > 0) {
        std::fwrite(bytes, 1, static_cast<size_t>(length), stdout);
    }
}

}  // namespace

void gfx_print(int32_t device, StringDescriptor* text, int32_t flags) {
    if (device == SCREEN_DEVICE) {
        if (text != nullptr && text->data != nullptr && text->length > 0) {
            put_bytes(text->data, text->length);
        }
        if (wants_line_end(flags)) {
            static constexpr uint8_t LINE_END[] = {'\r', '\n'};
            put_bytes(LINE_END, 2);
        }
    }
    string_release_temp(text);
}

void gfx_print_int(int32_t device, int32_t value, int32_t flags) {
    if (device != SCREEN_DEVICE) return;
    // "-2147483648\r\n" is the longest text: 13 bytes.
    char text[14];
    const int length =
        std::snprintf(text, sizeof(text), wants_line_end(flags) ? "% d\r\n" : "% d", value);
    put_bytes(reinterpret_cast<const uint8_t*>(text), length);
}
