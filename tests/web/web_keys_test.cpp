#include "gfx/present/web/web.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/present/web/web_internal.h"
#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"

namespace {

// The page's key events on the way through the same key path as the
// desktop's, into the key buffer of a screen without a window.
class WebKeys : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        setenv("QXGFX", "null", 1);
        ASSERT_EQ(gfx_screen(12, 8, 0, 0, 0), 0);
        web_use_source(gfx_present_source());
        web_focus_changed();
    }

    static bool press(const char* code, const char* key, int32_t flags = 0) {
        const bool ours = web_key_event(true, code, key, flags);
        web_key_event(false, code, key, flags);
        return ours;
    }

    static std::string typed() {
        std::string all;
        for (std::string key = gfx_inkey(); !key.empty(); key = gfx_inkey())
            all += key + "|";
        return all;
    }
};

TEST_F(WebKeys, LettersAndCommandsArriveAsTheirCharacters) {
    press("KeyG", "g");
    press("KeyE", "e");
    press("KeyA", "A", PAGE_SHIFT);
    EXPECT_EQ(typed(), "g|e|A|");
}

TEST_F(WebKeys, CursorKeysAndTheKeypadGiveExtendedCodes) {
    press("ArrowUp", "ArrowUp");
    press("ArrowLeft", "ArrowLeft");
    press("Numpad8", "ArrowUp");  // Num Lock off
    press("Numpad8", "8");        // Num Lock on
    EXPECT_EQ(typed(), "\xFFH|\xFFK|\xFFH|8|");
}

TEST_F(WebKeys, ControlKeysAndOtherLayouts) {
    press("Enter", "Enter");
    press("Escape", "Escape");
    press("Quote", "\xC3\xA4");  // ä on a German keyboard
    press("KeyA", "a", PAGE_CTRL);
    press("Tab", "Tab", PAGE_SHIFT);
    EXPECT_EQ(typed(), "\r|\x1B|\x84|\x01|\xFF\x0F|\t|");
}

TEST_F(WebKeys, SystemKeysAndUnknownKeysPushNothing) {
    press("KeyX", "x", PAGE_ALT);
    press("F10", "F10");
    press("Lang1", "Lang1");
    press("", "");
    press("MediaPlayPause", "MediaPlayPause");
    EXPECT_EQ(typed(), "");
}

TEST_F(WebKeys, TextFromAKeyWithoutAPlaceStillArrives) {
    press("", "\xC3\xA9");  // é from an on-screen keyboard
    EXPECT_EQ(typed(), "\x82|");
}

TEST_F(WebKeys, KeyUpPushesNothingAndAutoRepeatPushesAgain) {
    web_key_event(true, "KeyG", "g", 0);
    web_key_event(true, "KeyG", "g", 0);
    web_key_event(false, "KeyG", "g", 0);
    EXPECT_EQ(typed(), "g|g|");
}

TEST_F(WebKeys, MarkedRepeatsWaitForTheirKeyToBeRead) {
    web_key_event(true, "ArrowUp", "ArrowUp", 0);
    web_key_event(true, "ArrowUp", "ArrowUp", PAGE_REPEAT);
    web_key_event(true, "KeyG", "g", 0);
    web_key_event(true, "KeyG", "g", PAGE_REPEAT);
    EXPECT_EQ(typed(), "\xFFH|g|");
    web_key_event(true, "KeyG", "g", PAGE_REPEAT);  // nothing waits: it enters
    EXPECT_EQ(typed(), "g|");
}

TEST_F(WebKeys, AFloodKeepsTheNewestFifteen) {
    for (int i = 0; i < 200; ++i)
        press("KeyX", "x");
    press("KeyG", "g");
    std::string expected;
    for (int i = 0; i < 14; ++i)
        expected += "x|";
    EXPECT_EQ(typed(), expected + "g|");
}

TEST_F(WebKeys, HeldKeysAndTheFocus) {
    web_key_event(true, "ArrowUp", "ArrowUp", 0);
    EXPECT_EQ(gfx_multikey(0x48), -1);
    // The grey key and its keypad twin share one scan code.
    web_key_event(true, "Numpad8", "ArrowUp", 0);
    web_key_event(false, "ArrowUp", "ArrowUp", 0);
    EXPECT_EQ(gfx_multikey(0x48), -1);
    web_key_event(false, "Numpad8", "ArrowUp", 0);
    EXPECT_EQ(gfx_multikey(0x48), 0);

    web_key_event(true, "KeyG", "g", 0);
    EXPECT_EQ(gfx_multikey(0x22), -1);
    web_focus_changed();
    EXPECT_EQ(gfx_multikey(0x22), 0);
}

TEST_F(WebKeys, ThePageKeepsItsOwnKeys) {
    EXPECT_TRUE(press("KeyG", "g"));
    EXPECT_TRUE(press("ArrowDown", "ArrowDown"));
    EXPECT_TRUE(press("Tab", "Tab"));
    EXPECT_FALSE(press("F5", "F5"));
    EXPECT_FALSE(press("KeyR", "r", PAGE_CTRL));
    EXPECT_FALSE(press("KeyL", "l", PAGE_META));
    EXPECT_FALSE(press("Lang1", "Lang1"));
}

TEST_F(WebKeys, TheFieldsThePageFills) {
    char* fields = web_key_fields();
    std::strcpy(fields, "KeyG");
    std::strcpy(fields + 32, "g");
    EXPECT_EQ(web_key_input(1, 0), 1);
    // Fields without their zero end at the field's end.
    std::memset(fields, 'K', 64);
    EXPECT_EQ(web_key_input(1, 0), 0);
    EXPECT_EQ(typed(), "g|");
}

TEST_F(WebKeys, WithoutAScreenKeysStillDoNoHarm) {
    gfx_screen(0, 0, 0, SCREEN_FLAG_TEARDOWN, 0);
    press("ArrowUp", "ArrowUp");
    web_focus_changed();
    SUCCEED();
}

}  // namespace
