#include "gfx/input/input.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "tests/support/gfx_state.h"

namespace {

using test_support::RecordedTime;

size_t g_push_at_pause = SIZE_MAX;

// A test may push a key during a given pause.
void push_during_pause(size_t count) {
    if (count == g_push_at_pause) key_push('x');
}

class Keys : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        g_push_at_pause = SIZE_MAX;
        RecordedTime::on_pause = push_during_pause;
    }
};

TEST_F(Keys, SixteenKeysLoseTheFirst) {
    for (int32_t i = 0; i < 16; ++i)
        key_push('a' + i);
    for (int32_t i = 1; i < 16; ++i)
        EXPECT_EQ(gfx_inkey(), std::string(1, char('a' + i)));
    EXPECT_EQ(gfx_inkey(), "");
    EXPECT_EQ(gfx_inkey(), "");
}

// The close button must survive keys typed faster than they are read.
TEST_F(Keys, AFloodDropsKeysButNotTheCloseRequest) {
    key_push('a');
    key_push(CLOSE_KEY);
    for (int32_t i = 0; i < 40; ++i)
        key_push('0' + i % 10);
    EXPECT_EQ(key_pop(), CLOSE_KEY);
    int32_t held = 0;
    while (key_pop() != 0)
        ++held;
    EXPECT_EQ(held, 14);
}

TEST_F(Keys, CodesBecomeTexts) {
    const std::string ff(1, '\xFF');
    key_push('g');
    key_push(0x48FF);     // cursor up
    key_push(CLOSE_KEY);  // close button
    key_push(0x84);       // a-umlaut in code page 437
    key_push(0x4800);     // codes without the marker go through the second-code list
    key_push(256);
    key_push(257);
    EXPECT_EQ(gfx_inkey(), "g");
    EXPECT_EQ(gfx_inkey(), ff + "H");
    EXPECT_EQ(gfx_inkey(), ff + "k");
    EXPECT_EQ(gfx_inkey(), "\x84");
    EXPECT_EQ(gfx_inkey(), ff + char(68));
    EXPECT_EQ(gfx_inkey(), ff + "k");
    EXPECT_EQ(gfx_inkey(), ff + "H");
    EXPECT_EQ(gfx_inkey(), "");
}

TEST_F(Keys, HitAndSeenFlag) {
    EXPECT_EQ(key_hit(), 0);
    key_push('q');
    EXPECT_EQ(key_hit(), 1);
    EXPECT_EQ(key_buffer.key_seen_flag.load(), 1);  // key_hit leaves the flag alone
    EXPECT_EQ(key_pop(), 'q');
    EXPECT_EQ(key_buffer.key_seen_flag.load(), 0);
    EXPECT_EQ(key_hit(), 0);
}

TEST_F(Keys, GetkeyPausesOnceEvenForAWaitingKey) {
    key_push('z');
    EXPECT_EQ(gfx_getkey(), 'z');
    EXPECT_EQ(pauses(), std::vector<int32_t>{20});
    g_push_at_pause = 3;
    EXPECT_EQ(gfx_getkey(), 'x');
    EXPECT_EQ(pauses(), (std::vector<int32_t>{20, 20, 20, 20}));
}

TEST_F(Keys, HeldKeys) {
    active_screen()->key_states[0x48] = 1;
    EXPECT_EQ(gfx_multikey(0x48), -1);
    EXPECT_EQ(gfx_multikey(0x50), 0);
    EXPECT_EQ(gfx_multikey(128), 0);
    EXPECT_EQ(gfx_multikey(-1), 0);
}

TEST_F(Keys, LongPausesLookForKeysEvery50ms) {
    sleep_ms(120);
    EXPECT_EQ(pauses(), (std::vector<int32_t>{50, 50, 20}));

    RecordedTime::pauses.clear();
    g_push_at_pause = 1;  // a key during the first 50 ms ends the wait at the next check
    sleep_ms(500);
    EXPECT_EQ(pauses(), std::vector<int32_t>{50});
    EXPECT_EQ(key_hit(), 1);  // the key itself stays for the reader

    RecordedTime::pauses.clear();
    g_push_at_pause = SIZE_MAX;
    sleep_ms(1);  // short pauses ignore the keyboard
    EXPECT_EQ(pauses(), std::vector<int32_t>{1});
    EXPECT_EQ(gfx_inkey(), "x");

    RecordedTime::pauses.clear();
    g_push_at_pause = 3;
    sleep_ms(-1);
    EXPECT_EQ(pauses(), (std::vector<int32_t>{50, 50, 50}));

    RecordedTime::pauses.clear();
    sleep_ms(0);  // nothing to wait for on the graphics screen
    EXPECT_TRUE(pauses().empty());
}

TEST_F(Keys, WithoutScreenNoKeysAreRead) {
    key_push('a');
    gfx_screen(0, 0, 0, 0, 0);
    EXPECT_EQ(gfx_inkey(), "");
    EXPECT_EQ(key_hit(), 0);
    EXPECT_EQ(gfx_getkey(), 0);
    // The buffer outlives screens: the key is still there for the next one.
    ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    EXPECT_EQ(gfx_inkey(), "a");
}

}  // namespace
