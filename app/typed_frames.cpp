#include "app/typed_frames.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "gfx/input/input.h"
#include "sim/sim.h"

namespace {

// The cursor keys and Page Up / Page Down as the window reports them: grey
// keys with their set-1 scan codes.
struct NamedKey {
    const char* name;
    int32_t scan;
};
constexpr NamedKey NAMED_KEYS[] = {{"{up}", 0x48},    {"{down}", 0x50}, {"{left}", 0x4B},
                                   {"{right}", 0x4D}, {"{pgup}", 0x49}, {"{pgdn}", 0x51}};

// The detector point's rows: "9" puts it on the top one, and the cursor
// keys stop at the bottom one.
constexpr int32_t TOP_ROW = 0;
constexpr int32_t BOTTOM_ROW = 479;

void type_key(const std::string& key) {
    for (const NamedKey& named : NAMED_KEYS) {
        if (key == named.name) {
            key_down(named.scan, 0, KEY_EXTENDED);
            return;
        }
    }
    key_text(key.c_str(), 0);
}

// The keys still to type, for the single-step wait, which cannot wait for a
// key nobody will press.
std::vector<std::string> pending_keys;
size_t next_key = 0;

bool type_next_key() {
    if (next_key >= pending_keys.size()) return false;
    type_key(pending_keys[next_key++]);
    return true;
}

}  // namespace

std::string split_keys(const std::string& text, std::vector<std::string>* keys) {
    size_t i = 0;
    while (i < text.size()) {
        size_t length = 1;
        for (const NamedKey& key : NAMED_KEYS) {
            if (text.compare(i, std::strlen(key.name), key.name) == 0)
                length = std::strlen(key.name);
        }
        if (length == 1) {
            while (i + length < text.size() && (text[i + length] & 0xC0) == 0x80)
                ++length;
        }
        keys->push_back(text.substr(i, length));
        i += length;
    }
    for (const std::string& key : *keys) {
        // "e" would end the program before the picture is taken.
        if (key == "e") return "--keys cannot contain \"e\", which ends the program";
    }
    return "";
}

void type_keys(std::vector<std::string> keys) {
    pending_keys = std::move(keys);
    next_key = 0;
    set_step_feed(type_next_key);
}

bool run_typed_frame() {
    if (!model.stepping) type_next_key();
    run_frame();
    handle_key();
    return !(model.stepping && next_key >= pending_keys.size());
}

std::vector<std::string> sweep_keys() {
    std::vector<std::string> keys;
    if (model.stepping) keys.push_back("w");
    if (!model.intensity_shown) keys.push_back("i");
    keys.push_back("9");
    keys.insert(keys.end(), BOTTOM_ROW - TOP_ROW, "{down}");
    return keys;
}
