#include <algorithm>

#include "gfx/text/text_internal.h"

void write_text16(const uint16_t* units, int32_t length, int32_t /*flags*/) {
    if (units == nullptr || length <= 0) return;
    TextTarget target;
    TextWindow window;
    if (!open_text_window(window, target)) return;
    // One lock and one marking of rows for the whole text, as for 8-bit text;
    // converting piece by piece needs no memory beyond the stack.
    uint8_t bytes[TEXT_RUN_LIMIT];
    while (length > 0) {
        const int32_t count = std::min(length, TEXT_RUN_LIMIT);
        for (int32_t i = 0; i < count; ++i)
            bytes[i] = units[i] < 256 ? static_cast<uint8_t>(units[i]) : '?';
        interpret_text(window, bytes, count, true);
        units += count;
        length -= count;
    }
    close_text_window(window);
}
