#include "gfx/input/input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t NONE = -1;

struct Translation {
    const char* what;
    int32_t ch, scan, key_char, modifiers, code;
};

const Translation TRANSLATIONS[] = {
    {"a", 'a', 0x1E, 'a', 0, 'a'},
    {"Shift+a", 'A', 0x1E, 'a', KEY_SHIFT, 'A'},
    {"Alt+a", 'a', 0x1E, 'a', KEY_ALT, 0x1EFF},
    {"Tab", 9, 0x0F, 9, 0, 9},
    {"Shift+Tab", 9, 0x0F, 9, KEY_SHIFT, 0x0FFF},
    {"keypad 8, Num Lock off", 0, 0x48, 0, 0, 0x48FF},
    {"keypad 8, Num Lock on", '8', 0x48, '8', 0, '8'},
    {"Ctrl+keypad 5", 0, 0x4C, 0, KEY_CTRL, 0x8FFF},
    {"grey Up", 0, 0x48, 0, KEY_EXTENDED, 0x48FF},
    {"grey Down", 0, 0x50, 0, KEY_EXTENDED, 0x50FF},
    {"grey Left", 0, 0x4B, 0, KEY_EXTENDED, 0x4BFF},
    {"grey Right", 0, 0x4D, 0, KEY_EXTENDED, 0x4DFF},
    {"right Ctrl+grey Up", 0, 0x48, 0, KEY_EXTENDED | KEY_CTRL | KEY_RIGHT_CTRL, 0x8DFF},
    {"Alt+grey Delete", 0, 0x53, 0, KEY_EXTENDED | KEY_ALT, 0xA3FF},
    {"keypad /", 0, 0x35, 0, KEY_EXTENDED, '/'},
    {"Alt+keypad Enter", 0, 0x1C, 0, KEY_EXTENDED | KEY_ALT, 0xA6FF},
    {"grey key without a row", 0, 0x37, 0, KEY_EXTENDED, NONE},
    {"Alt+F4", 0, 0x3E, 0, KEY_ALT, CLOSE_KEY},
    {"Shift+F1", 0, 0x3B, 0, KEY_SHIFT, 0x54FF},
    {"Ctrl+F12", 0, 0x58, 0, KEY_CTRL, 0x8AFF},
    {"Ctrl+1 types nothing", 0, 0x02, '1', KEY_CTRL, NONE},
    {"Ctrl+a", 1, 0x1E, 'a', KEY_CTRL, 1},
    {"beyond the table", 0, 0x59, 0, 0, NONE},
    {"beyond the table, typing", 'x', 0x70, 'x', 0, 'x'},
};

TEST(TranslateKey, CodesOfTheKeyboard) {
    for (const Translation& t : TRANSLATIONS) {
        EXPECT_EQ(translate_key(t.ch, t.scan, t.key_char, t.modifiers), t.code) << t.what;
    }
}

TEST(TranslateKey, FunctionKeysWithoutModifiers) {
    const int32_t scans[] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                             0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
    const int32_t codes[] = {0x3BFF, 0x3CFF, 0x3DFF, 0x3EFF, 0x3FFF, 0x40FF,
                             0x41FF, 0x42FF, 0x43FF, 0x44FF, 0x85FF, 0x86FF};
    for (int32_t i = 0; i < 12; ++i)
        EXPECT_EQ(translate_key(0, scans[i], 0, 0), codes[i]) << "F" << i + 1;
}

// The key path into the key buffer, as the window's thread drives it.
class KeyPath : public ::testing::Test {
protected:
    void SetUp() override { key_buffer_clear(); }
    void TearDown() override { key_buffer_clear(); }

    static std::vector<int32_t> pushed() {
        std::vector<int32_t> codes;
        while (key_hit_raw())
            codes.push_back(key_pop());
        return codes;
    }
    static bool key_hit_raw() { return key_buffer.head != key_buffer.tail; }
};

TEST_F(KeyPath, ShiftTabGivesTheExtendedCodeThenTheTab) {
    key_down(0x0F, 9, KEY_SHIFT);
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x0FFF, 9}));
}

TEST_F(KeyPath, ControlCharactersArePushedAtKeyDown) {
    key_down(0x1C, 13, 0);             // Enter
    key_down(0x1C, 13, KEY_CTRL);      // Ctrl+Enter
    key_down(0x01, 27, 0);             // Escape
    key_down(0x1E, 'a', KEY_CTRL);     // Ctrl+A
    key_down(0x1C, 13, KEY_EXTENDED);  // keypad Enter
    key_down(0x1E, 'a', 0);            // a: comes as text, not here
    EXPECT_EQ(pushed(), (std::vector<int32_t>{13, 10, 27, 1, 13}));
}

TEST_F(KeyPath, KeypadEightWithAndWithoutNumLock) {
    key_down(0x48, 0, 0);
    key_down(0x48, '8', 0);  // types "8", which arrives as text
    key_text("8", 0);
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x48FF, '8'}));
}

TEST_F(KeyPath, SystemKeysPushNothing) {
    key_down(0x44, 0, 0);                   // F10
    key_down(0x3E, 0, KEY_ALT);             // Alt+F4
    key_down(0x1E, 'a', KEY_ALT);           // Alt+A
    key_text("a", KEY_ALT);                 // its text
    key_down(0x3B, 0, KEY_ALT | KEY_CTRL);  // Ctrl+Alt+F1 is no system key
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x68FF}));
}

TEST_F(KeyPath, TextCloseAndRepeats) {
    key_text("\xC3\xA4\xE2\x82\xAC!", 0);               // ä, euro (dropped), !
    key_text("@", KEY_ALT | KEY_RIGHT_ALT | KEY_CTRL);  // AltGr
    key_close_request();
    key_down(0x48, 0, KEY_EXTENDED);  // held: every repeat pushes once
    key_down(0x48, 0, KEY_EXTENDED);
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x84, '!', '@', CLOSE_KEY, 0x48FF, 0x48FF}));
}

}  // namespace

namespace {

// An auto-repeat enters the buffer only while no press of its key waits
// unread; first presses always enter.
struct RepeatCase {
    const char* what;
    std::vector<int32_t> waiting;  // pushed before, by first presses
    bool text;                     // the repeat types text rather than a key code
    std::vector<int32_t> expected;
};

const RepeatCase REPEATS[] = {
    {"grey Up into an empty buffer", {}, false, {0x48FF}},
    {"grey Up while one waits", {0x48FF}, false, {0x48FF}},
    {"grey Up while another key waits", {'g'}, false, {'g', 0x48FF}},
    {"grey Up behind the one that waits", {0x48FF, 'g'}, false, {0x48FF, 'g'}},
    {"text into an empty buffer", {}, true, {'8'}},
    {"text while its character waits", {'8'}, true, {'8'}},
    {"text while another character waits", {'9'}, true, {'9', '8'}},
};

TEST_F(KeyPath, AutoRepeatEntersOnlyWhileItsKeyIsNotWaiting) {
    for (const RepeatCase& c : REPEATS) {
        key_buffer_clear();
        for (int32_t code : c.waiting)
            key_push(code);
        if (c.text) {
            key_text("8", 0, true);
        } else {
            key_down(0x48, 0, KEY_EXTENDED, true);
        }
        EXPECT_EQ(pushed(), c.expected) << c.what;
    }
}

TEST_F(KeyPath, HeldKeyLeavesAtMostOnePressAfterItsRelease) {
    // A frame reads one key while the window system repeats three times.
    key_down(0x48, 0, KEY_EXTENDED);
    int32_t read = 0;
    for (int32_t frame = 0; frame < 10; ++frame) {
        read += key_pop() != 0 ? 1 : 0;
        for (int32_t i = 0; i < 3; ++i)
            key_down(0x48, 0, KEY_EXTENDED, true);
    }
    EXPECT_EQ(read, 10);
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x48FF}));  // released: one frame more
    // A tap is never lost, even while a repeat of the same key waits.
    key_down(0x48, 0, KEY_EXTENDED, true);
    key_down(0x48, 0, KEY_EXTENDED);
    EXPECT_EQ(pushed(), (std::vector<int32_t>{0x48FF, 0x48FF}));
}

}  // namespace
