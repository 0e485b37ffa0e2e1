#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"

namespace {

using Palette = test_support::GfxTest;

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

ScreenContext& screen(int32_t mode, int32_t depth = 0) {
    EXPECT_EQ(gfx_screen(mode, depth, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
    ScreenContext& s = *active_screen();
    std::memset(s.dirty_rows.get(), 0, s.height);
    return s;
}

bool all_rows_dirty(const ScreenContext& s) {
    for (int32_t y = 0; y < s.height; ++y) {
        if (s.dirty_rows[y] != 1) return false;
    }
    return true;
}

TEST_F(Palette, DefaultColours) {
    ScreenContext& s = screen(12);
    EXPECT_EQ(s.palette[14], rgb(255, 255, 85));
    EXPECT_EQ(s.palette[16], 0u);  // a 16-colour screen loads 16 attributes
    const uint32_t grey[16] = {0,   20,  32,  44,  56,  68,  80,  97,
                               113, 129, 145, 161, 182, 202, 226, 255};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(s.master_palette[16 + i], grey[i] * 0x010101);
    EXPECT_EQ(s.master_palette[32], rgb(0, 0, 255));    // block 0 starts blue,
    EXPECT_EQ(s.master_palette[44], rgb(255, 255, 0));  // passes yellow
    EXPECT_EQ(s.master_palette[113], rgb(113, 28, 0));  // block 3, entry 9
    EXPECT_EQ(s.master_palette[247], rgb(44, 48, 64));  // last of block 8
    EXPECT_EQ(s.master_palette[248], 0u);

    // 64 colours: bits 2/5 red, 1/4 green, 0/3 blue; mode 9 maps 6 to 20.
    ScreenContext& s9 = screen(9);
    EXPECT_EQ(s9.master_palette[9], rgb(0, 0, 255));
    EXPECT_EQ(s9.master_palette[38], rgb(255, 170, 0));
    EXPECT_EQ(s9.palette[6], rgb(170, 85, 0));
    EXPECT_EQ(s9.palette[8], rgb(85, 85, 85));

    EXPECT_EQ(screen(2).palette[1], rgb(255, 255, 255));  // attribute 1 shows entry 15

    ScreenContext& s1 = screen(1);
    EXPECT_EQ(s1.palette[1], rgb(85, 255, 255));  // set 0: 0, 11, 13, 15
    const std::pair<int32_t, uint32_t> sets[] = {
        {-2, rgb(255, 255, 85)}, {-3, rgb(170, 170, 170)},     {-4, rgb(170, 85, 0)},
        {-9, rgb(170, 85, 0)},   {INT32_MIN, rgb(170, 85, 0)}, {5, rgb(255, 255, 255)}};
    for (const auto& [index, attribute_3] : sets) {
        reset_palette(index);
        EXPECT_EQ(s1.palette[3], attribute_3) << index;
    }
}

TEST_F(Palette, SettingAttributes) {
    ScreenContext& s = screen(12);
    gfx_palette(3, 255, 128, 0);
    EXPECT_EQ(s.palette[3], rgb(255, 129, 0));
    EXPECT_TRUE(all_rows_dirty(s));
    set_palette_entry(300, 0x3F0020);
    EXPECT_EQ(s.palette[44], rgb(129, 0, 255));
    gfx_palette(-1, 0, 0, 0);
    EXPECT_EQ(s.palette[3], rgb(0, 170, 170));

    // Other default palettes take an entry number.
    ScreenContext& s9 = screen(9);
    gfx_palette(2, 63, -1, -1);
    EXPECT_EQ(s9.colour_map[2], 63);
    EXPECT_EQ(s9.palette[2], rgb(255, 255, 255));
    set_palette_entry(40, 63);  // no attribute 40 on a 16-colour screen
    EXPECT_EQ(s9.palette[40], 0u);
}

std::vector<uint32_t> g_heard;

TEST_F(Palette, DriverHearsEveryChangeUnderTheLock) {
    ScreenContext& s = screen(12);
    g_heard.clear();
    static const WindowDriver listening_driver{
        .name = "listening",
        .set_palette =
            [](int32_t i, int32_t r, int32_t g, int32_t b) {
                EXPECT_NE(active_screen()->screen_flags & SCREEN_LOCKED, 0u);
                g_heard.push_back(static_cast<uint32_t>(i) << 24 | rgb(r, g, b));
            },
    };
    const WindowDriver* before = s.driver;
    s.driver = &listening_driver;
    gfx_palette(3, 255, 128, 0);
    reset_palette(-1);
    s.driver = before;
    ASSERT_EQ(g_heard.size(), 17u);
    EXPECT_EQ(g_heard[0], 3u << 24 | rgb(255, 129, 0));
    EXPECT_EQ(g_heard[15], 14u << 24 | rgb(255, 255, 85));
    EXPECT_EQ(s.screen_flags & SCREEN_LOCKED, 0u);
}

TEST_F(Palette, NothingWithoutAScreenOrAboveEightBits) {
    gfx_palette(3, 255, 0, 0);
    set_palette_entry(3, 63);
    reset_palette(-1);
    palette_port_out(0x3C9, 63);
    EXPECT_EQ(palette_port_in(0x3C9), 255);

    ScreenContext& s = screen(18, 32);
    const std::vector<uint32_t> before(s.palette.get(), s.palette.get() + 256);
    gfx_palette(3, 255, 0, 0);
    set_palette_entry(4, 63);
    palette_port_out(0x3C8, 5);
    for (int c = 0; c < 3; ++c)
        palette_port_out(0x3C9, 63);
    EXPECT_EQ(std::vector<uint32_t>(s.palette.get(), s.palette.get() + 256), before);
    EXPECT_EQ(s.dirty_rows[0], 0);
}

TEST_F(Palette, PaletteRegisterPorts) {
    ScreenContext& s = screen(12);
    palette_port_out(0x3C8, 5);
    for (int c : {63, 32, 0})
        palette_port_out(0x3C9, c);
    EXPECT_EQ(s.palette[5], rgb(255, 129, 0));
    EXPECT_TRUE(all_rows_dirty(s));
    palette_port_out(0x3C7, 5);
    std::vector<int32_t> read;
    for (int c = 0; c < 6; ++c)
        read.push_back(palette_port_in(0x3C9));
    EXPECT_EQ(read, (std::vector<int32_t>{63, 32, 0, 42, 21, 0}));  // then attribute 6
    EXPECT_EQ(palette_port_in(0x3DA), 8);
    EXPECT_EQ(palette_port_in(0x60), 255);

    // A 64-colour entry changes every attribute that shows it, times 4.
    ScreenContext& s9 = screen(9);
    palette_port_out(0x3C8, 20);
    for (int c : {63, 0, 0})
        palette_port_out(0x3C9, c);
    EXPECT_EQ(s9.palette[6], rgb(252, 0, 0));

    // Without an index map, entry 0 is attribute 0's alone.
    ScreenContext& s11 = screen(11);
    palette_port_out(0x3C8, 0);
    for (int c : {0, 63, 0})
        palette_port_out(0x3C9, c);
    EXPECT_EQ(s11.palette[0], rgb(0, 252, 0));
    EXPECT_EQ(s11.palette[1], rgb(255, 255, 255));
}

}  // namespace

namespace {

// A depth raised to 16 by the creation flags gives a screen more attributes
// than its mode's index map has entries; those show their own entry.
TEST_F(Palette, AttributesPastTheIndexMapShowTheirOwnEntry) {
    setenv("QXGFX", "null", 1);
    struct Case {
        int32_t mode;
        int32_t mapped;      // entries in the mode's map
        int32_t last_entry;  // the entry the map's last attribute shows
        int32_t entries;     // in the default palette
    };
    for (const Case c : {Case{1, 4, 15, 16}, Case{2, 2, 15, 16}, Case{9, 16, 63, 64}}) {
        ASSERT_EQ(gfx_screen(c.mode, 0, 0, SCREEN_FLAG_OPENGL, 0), 0) << c.mode;
        const ScreenContext& s = *active_screen();
        EXPECT_EQ(s.depth, 16);
        EXPECT_EQ(s.palette[c.mapped - 1], s.master_palette[c.last_entry]) << c.mode;
        for (int32_t i = c.mapped; i < c.entries; ++i)
            EXPECT_EQ(s.palette[i], s.master_palette[i]) << c.mode << " attribute " << i;
    }
}

}  // namespace
