#include "gfx/present/web/web_internal.h"

#include <gtest/gtest.h>

namespace {

TEST(WebKeyMap, ScanCodesByPlaceOnTheKeyboard) {
    EXPECT_EQ(web_scan_code("KeyA"), 0x1E);
    EXPECT_EQ(web_scan_code("KeyE"), 0x12);
    EXPECT_EQ(web_scan_code("Digit1"), 0x02);
    EXPECT_EQ(web_scan_code("F12"), 0x58);
    // The grey keys share their codes with the keypad and carry the flag.
    EXPECT_EQ(web_scan_code("ArrowUp"), 0x148);
    EXPECT_EQ(web_scan_code("Numpad8"), 0x48);
    EXPECT_EQ(web_scan_code("NumpadEnter"), 0x11C);
    EXPECT_EQ(web_scan_code("ControlRight"), 0x11D);
    EXPECT_EQ(web_scan_code("Lang1"), 0);
    EXPECT_EQ(web_scan_code(""), 0);
    EXPECT_EQ(web_scan_code("KeyAA"), 0);
}

TEST(WebKeyMap, CharacterWithoutModifiersFollowsTheLayout) {
    EXPECT_EQ(web_key_char("KeyA", "a", false), 'a');
    EXPECT_EQ(web_key_char("KeyA", "A", true), 'a');
    // A German keyboard has z where a US one has y.
    EXPECT_EQ(web_key_char("KeyY", "z", false), 'z');
    EXPECT_EQ(web_key_char("Digit1", "!", true), '1');
    EXPECT_EQ(web_key_char("Enter", "Enter", false), 13);
    EXPECT_EQ(web_key_char("Tab", "Tab", true), 9);
    EXPECT_EQ(web_key_char("ArrowUp", "ArrowUp", false), 0);
    EXPECT_EQ(web_key_char("Lang1", "x", false), 0);
}

TEST(WebKeyMap, KeypadDigitsTypeOnlyWithNumLock) {
    EXPECT_EQ(web_key_char("Numpad8", "8", false), '8');
    EXPECT_EQ(web_key_char("Numpad8", "ArrowUp", false), 0);
    EXPECT_EQ(web_key_char("NumpadDecimal", "Delete", false), 0);
    EXPECT_EQ(web_key_char("NumpadEnter", "Enter", false), 13);
    EXPECT_EQ(web_key_char("NumpadDivide", "/", false), '/');
}

TEST(WebKeyMap, TypedTextIsOneCharacterWithoutCtrlOrSystemKey) {
    EXPECT_TRUE(web_typed_text("g", 0));
    EXPECT_TRUE(web_typed_text("G", PAGE_SHIFT));
    EXPECT_TRUE(web_typed_text("\xC3\xA4", 0));  // ä
    EXPECT_TRUE(web_typed_text("@", PAGE_CTRL | PAGE_ALT));
    EXPECT_FALSE(web_typed_text("g", PAGE_CTRL));
    EXPECT_FALSE(web_typed_text("g", PAGE_META));
    EXPECT_FALSE(web_typed_text("Enter", 0));
    EXPECT_FALSE(web_typed_text("gg", 0));
    EXPECT_FALSE(web_typed_text("", 0));
    EXPECT_FALSE(web_typed_text("\xC3", 0));  // a cut character
    EXPECT_FALSE(web_typed_text("\x7F", 0));
}

TEST(WebKeyMap, ModifierBits) {
    EXPECT_EQ(web_modifiers(0, true, true), 0);
    EXPECT_EQ(web_modifiers(PAGE_SHIFT, false, false), 0x10);
    EXPECT_EQ(web_modifiers(PAGE_CTRL, false, false), 0x08);
    EXPECT_EQ(web_modifiers(PAGE_CTRL, true, false), 0x0C);
    EXPECT_EQ(web_modifiers(PAGE_ALT, false, false), 0x02);
    EXPECT_EQ(web_modifiers(PAGE_ALT, false, true), 0x03);
    EXPECT_EQ(web_modifiers(PAGE_META, false, false), 0);
}

}  // namespace
