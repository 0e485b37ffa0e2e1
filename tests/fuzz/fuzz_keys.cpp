// The key path with any event sequence: translate_key answers only what a
// key code can be, and the key buffer keeps its ring rules: at most 15 codes,
// a 16th drops the oldest, codes come out in the order they went in, and an
// auto-repeat enters only while no press of its code waits.

#include <algorithm>
#include <deque>
#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool valid_code(int32_t code) {
    if (code >= 1 && code <= 255) return true;
    return (code & 0xFF) == 0xFF && code >> 8 >= 1 && code >> 8 <= 255;
}

std::deque<int32_t> ring_contents() {
    std::deque<int32_t> codes;
    for (int32_t i = key_buffer.tail; i != key_buffer.head; i = (i + 1) & (KEY_BUFFER_SLOTS - 1))
        codes.push_back(key_buffer.codes[i]);
    return codes;
}

void push_model(std::deque<int32_t>& model, int32_t code) {
    model.push_back(code);
    if (model.size() < KEY_BUFFER_SLOTS) return;
    // Full: the oldest goes, but a close request stays.
    model.erase(model.begin() + (model.front() == CLOSE_KEY ? 1 : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool screen_made = [] {
        setenv("QXGFX", "null", 1);
        return gfx_screen(13, 0, 1, -1, 0) == 0;
    }();
    FUZZ_CHECK(screen_made);
    FuzzInput in{data, size};
    key_buffer_clear();
    std::deque<int32_t> model;
    while (input_left(in)) {
        const uint8_t op = take_u8(in);
        const int32_t scan = (op & 0x80) != 0 ? take_i32(in) : take_u8(in);
        const int32_t key_char = take_u8(in);
        const int32_t modifiers = static_cast<int32_t>(take_bits(in, 2));
        const bool repeat = (op & 0x40) != 0;
        switch (op % 7) {
            case 0: {
                const int32_t code = translate_key(take_u8(in), scan, key_char, modifiers);
                FUZZ_CHECK(code == -1 || valid_code(code));
                break;
            }
            case 1: {
                key_down(scan, key_char, modifiers, repeat);
                break;
            }
            case 2: {
                char text[5] = {};
                for (int i = 0; i < 4; ++i)
                    text[i] = static_cast<char>(take_u8(in));
                key_text(text, modifiers, repeat);
                break;
            }
            case 3:
                key_close_request();
                push_model(model, CLOSE_KEY);
                break;
            case 4: {
                const int32_t code = take_i32(in);
                if (!repeat) {
                    key_push(code);
                    push_model(model, code);
                } else {
                    key_push_repeat(code);
                    if (std::find(model.begin(), model.end(), code) == model.end())
                        push_model(model, code);
                }
                break;
            }
            case 5: {
                const int32_t expected = model.empty() ? 0 : model.front();
                FUZZ_CHECK(key_pop() == expected);
                if (!model.empty()) model.pop_front();
                break;
            }
            default: {
                const std::string key = gfx_inkey();
                FUZZ_CHECK(key.size() <= 2);
                if (key.size() == 2) FUZZ_CHECK(static_cast<uint8_t>(key[0]) == 0xFF);
                if (!model.empty()) model.pop_front();
            }
        }
        if (op % 7 == 1 || op % 7 == 2) {
            // What the window side pushed: valid codes only (the others
            // were there before).
            const std::deque<int32_t> now = ring_contents();
            for (int32_t code : now)
                FUZZ_CHECK(valid_code(code) ||
                           std::find(model.begin(), model.end(), code) != model.end());
            model = now;
        }
        const std::deque<int32_t> now = ring_contents();
        FUZZ_CHECK(now.size() <= KEY_BUFFER_SLOTS - 1);
        FUZZ_CHECK(now == model);
    }
    return 0;
}
