#include "gfx/input/input.h"

#include <algorithm>

#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

KeyBuffer key_buffer;

namespace {

// Second codes of the extended keys that arrive without the 0xFF marker:
// close, up, down, left, right, Insert, Delete, Home, End, Page Up, Page Down, F1..F10.
constexpr uint8_t EXTENDED_SECOND_CODES[21] = {107, 72, 80, 75, 77, 82, 83, 71, 79, 73, 81,
                                               59,  60, 61, 62, 63, 64, 65, 66, 67, 68};

static_assert((KEY_BUFFER_SLOTS & (KEY_BUFFER_SLOTS - 1)) == 0, "the ring wraps by a mask");

constexpr int32_t slot_after(int32_t slot, int32_t steps = 1) {
    return (slot + steps) & (KEY_BUFFER_SLOTS - 1);
}

// Runs fn under the screen lock when a screen exists.
template <typename Fn>
auto locked(Fn fn) {
    ScreenContext* screen = active_screen();
    if (screen != nullptr) screen_lock(*screen);
    auto result = fn();
    if (screen != nullptr) screen_unlock(*screen);
    return result;
}

constexpr int32_t GETKEY_STEP_MS = 20;

bool screen_key_waiting() {
    return screen_key_hit() != 0;
}

}  // namespace

void key_push(int32_t code) {
    KeyBuffer& b = key_buffer;
    b.codes[b.head] = code;
    if (slot_after(b.head) == b.tail) {
        // Full: the oldest key goes, unless it is a close request. Keys typed
        // faster than the program reads them would otherwise push the close
        // button out, and the window could not be closed during a key flood.
        if (b.codes[b.tail] == CLOSE_KEY) b.codes[slot_after(b.tail)] = CLOSE_KEY;
        b.tail = slot_after(b.head, 2);
    }
    b.head = slot_after(b.head);
    b.key_seen_flag.store(1);
    key_wake_signal();
}

void key_push_repeat(int32_t code) {
    const KeyBuffer& b = key_buffer;
    for (int32_t i = b.tail; i != b.head; i = slot_after(i)) {
        if (b.codes[i] == code) return;
    }
    key_push(code);
}

int32_t key_pop() {
    return locked([] {
        KeyBuffer& b = key_buffer;
        int32_t code = 0;
        if (b.tail != b.head) {
            code = b.codes[b.tail];
            b.tail = slot_after(b.tail);
        }
        b.key_seen_flag.store(0);
        return code;
    });
}

bool take_key_seen() {
    return locked([] { return key_buffer.key_seen_flag.exchange(0) != 0; });
}

void key_buffer_clear() {
    locked([] {
        key_buffer.head = 0;
        key_buffer.tail = 0;
        key_buffer.key_seen_flag.store(0);
        return 0;
    });
}

std::string screen_inkey() {
    const int32_t code = key_pop();
    if (code == 0) return {};
    if (code >= 1 && code <= 255) return std::string(1, static_cast<char>(code));
    std::string text(1, static_cast<char>(255));
    if ((code & 0xFF) == 0xFF) {
        text += static_cast<char>((code >> 8) & 0xFF);
    } else {
        // Negative codes cannot come from the window; treat them like the largest.
        const int64_t index = code < 256 ? 20 : std::min<int64_t>(int64_t{code} - 256, 20);
        text += static_cast<char>(EXTENDED_SECOND_CODES[index]);
    }
    return text;
}

// Between looks the wait sleeps until a key is pushed; played out through a
// pause seam it is the 20 ms poll it replaces.
int32_t screen_getkey() {
    for (;;) {
        const int32_t code = key_pop();
        sleep_ms(20);
        if (code != 0) return code;
        wait_for_key(-1, screen_key_waiting, GETKEY_STEP_MS);
    }
}

int32_t screen_key_hit() {
    return locked([] { return key_buffer.head != key_buffer.tail ? 1 : 0; });
}

int32_t screen_multikey(int32_t scan) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || scan < 0 || scan >= KEY_STATE_COUNT) return 0;
    return locked([&] { return screen->key_states[scan] != 0 ? -1 : 0; });
}

std::string gfx_inkey() {
    return console_hooks.inkey != nullptr ? console_hooks.inkey() : "";
}

int32_t gfx_getkey() {
    return console_hooks.getkey != nullptr ? console_hooks.getkey() : 0;
}

int32_t key_hit() {
    return console_hooks.key_hit != nullptr ? console_hooks.key_hit() : 0;
}

int32_t gfx_multikey(int32_t scan) {
    return console_hooks.multikey != nullptr ? console_hooks.multikey(scan) : 0;
}
