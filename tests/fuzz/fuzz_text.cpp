// Text with any bytes on any grid: writing, printing, locating, text views
// and clearing in any order. The cursor stays on the grid, and bytes other
// than the control characters land in the cells at the cursor, one column
// each, as the rules say.

#include <cstring>
#include <vector>

#include "gfx/draw/draw_internal.h"
#include "gfx/text/text.h"
#include "runtime/runtime.h"
#include "tests/fuzz/screen_setup.h"

namespace {

bool is_control(uint8_t byte) {
    return byte == 7 || byte == 8 || byte == 9 || byte == 10 || byte == 13;
}

// A line of ordinary bytes that fits on the cursor's row lands there.
void check_plain_write(FuzzInput& in, const ScreenContext& screen) {
    const TextGrid grid = text_grid(screen);
    if (grid.columns <= 1 || grid.bottom < grid.top) return;
    const int32_t row = take_range(in, grid.top, grid.bottom);
    const int32_t column = take_range(in, 0, grid.columns - 2);
    const int32_t length = take_range(in, 0, grid.columns - 1 - column);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    for (uint8_t& byte : bytes) {
        byte = take_u8(in);
        if (is_control(byte)) byte = '#';
    }
    if (gfx_locate(row + 1, column + 1, 0) != ((row + 1) << 8 | (column + 1))) {
        FUZZ_CHECK(false);
    }
    write_text(bytes.data(), length, 0);
    const int32_t page = refresh_draw_context().work_page;
    const TextCell* cells = screen.text_cells[static_cast<size_t>(page)].get() +
                            static_cast<size_t>(row) * screen.text_columns;
    for (int32_t i = 0; i < length; ++i)
        FUZZ_CHECK(cells[column + i].code == bytes[static_cast<size_t>(i)]);
    FUZZ_CHECK(gfx_cursor_row() == row + 1);
    FUZZ_CHECK(gfx_cursor_column() == column + length + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    ScreenContext* screen = fuzz_screen(in);
    if (screen == nullptr) return 0;
    for (int op = 0; op < 64 && input_left(in); ++op) {
        const uint8_t kind = take_u8(in);
        const int32_t flags = take_u8(in) & 7;
        switch (kind % 8) {
            case 0:
            case 1: {
                // Any bytes, control characters included, of any length.
                const int32_t length = take_range(in, 0, 300);
                const size_t left = in.size - in.position;
                const std::vector<uint8_t> bytes(
                    in.data + in.position, in.data + in.position + std::min<size_t>(length, left));
                in.position += bytes.size();
                if (kind % 8 == 0) {
                    write_text(bytes.data(), static_cast<int32_t>(bytes.size()), flags);
                } else {
                    gfx_print(take_range(in, -1, 1),
                              string_temp(bytes.data(), static_cast<int32_t>(bytes.size())), flags);
                }
                break;
            }
            case 2: {
                std::vector<uint16_t> units(take_range(in, 0, 20));
                for (uint16_t& unit : units)
                    unit = static_cast<uint16_t>(take_bits(in, 2));
                write_text16(units.data(), static_cast<int32_t>(units.size()), flags);
                break;
            }
            case 3: {
                const int32_t row = (kind & 0x80) != 0 ? take_i32(in) : take_range(in, -1, 70);
                gfx_locate(row, take_range(in, -1, 170), take_range(in, -1, 1));
                break;
            }
            case 4: {
                const int32_t first = (kind & 0x80) != 0 ? take_i32(in) : take_range(in, -1, 70);
                gfx_view_print(first, take_range(in, -1, 70));
                break;
            }
            case 5:
                gfx_cls((kind & 0x80) != 0 ? CLS_DEFAULT : take_range(in, -1, 3));
                break;
            case 6:
                gfx_print_int(0, take_i32(in), flags);
                break;
            default:
                check_plain_write(in, *screen);
        }
        const TextGrid grid = text_grid(*screen);
        if (grid.columns > 0 && grid.rows > 0) {
            FUZZ_CHECK(gfx_cursor_row() >= 1 && gfx_cursor_row() <= screen->text_rows);
            FUZZ_CHECK(gfx_cursor_column() >= 1 && gfx_cursor_column() <= screen->text_columns);
        }
    }
    return 0;
}
