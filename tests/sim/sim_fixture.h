#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "sim/sim.h"
#include "tests/support/gfx_state.h"

// A headless screen (Null driver, no window) with the simulation started on
// it, as the program has it before its first frame.
class SimulationTest : public test_support::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_EQ(gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0), 0);
        ASSERT_NE(active_screen(), nullptr);
        simulation_start();
    }

public:
    // One key (a character, or an extended second code << 8 | 0xFF) per
    // handle_key, as the window would push it.
    static void press_each(int32_t code) {
        key_push(code);
        handle_key();
    }
    static void press_each(const std::string& keys) {
        for (const char c : keys)
            press_each(static_cast<uint8_t>(c));
    }

    static uint8_t pixel(int32_t x, int32_t y) {
        const ScreenContext& screen = *active_screen();
        return screen.framebuffer[static_cast<size_t>(y) * screen.pitch + x];
    }

    static void set_pixel(int32_t x, int32_t y, uint8_t colour) {
        const ScreenContext& screen = *active_screen();
        screen.framebuffer[static_cast<size_t>(y) * screen.pitch + x] = colour;
    }

    static void paint_screen(uint8_t colour) {
        const ScreenContext& screen = *active_screen();
        std::memset(screen.framebuffer, colour, static_cast<size_t>(screen.height) * screen.pitch);
    }

    // True when row y holds the colour somewhere in x_from..x_to.
    static bool row_has(int32_t y, int32_t x_from, int32_t x_to, uint8_t colour) {
        for (int32_t x = x_from; x <= x_to; ++x) {
            if (pixel(x, y) == colour) return true;
        }
        return false;
    }

    // True when column x holds the colour somewhere in y_from..y_to.
    static bool column_has(int32_t x, int32_t y_from, int32_t y_to, uint8_t colour) {
        for (int32_t y = y_from; y <= y_to; ++y) {
            if (pixel(x, y) == colour) return true;
        }
        return false;
    }

    // True when the text stands black on the background at (x, y), as a
    // label shows it: the font's top 15 rows, every glyph pixel in ink and
    // every other pixel of its block in paper.
    static bool text_at(int32_t x, int32_t y, const std::string& text) {
        for (size_t k = 0; k < text.size(); ++k) {
            const uint8_t* glyph = font_8x16.glyphs + static_cast<uint8_t>(text[k]) * 16;
            for (int32_t row = 0; row < 15; ++row) {
                for (int32_t bit = 0; bit < 8; ++bit) {
                    const uint8_t want =
                        ((glyph[row] >> bit) & 1) != 0 ? COLOUR_BLACK : COLOUR_WHITE;
                    if (pixel(x + static_cast<int32_t>(k) * 8 + bit, y + row) != want) return false;
                }
            }
        }
        return true;
    }

    // Gives the model n slits, keeping its invariant slit_amplitude =
    // total_amplitude / slit_count; the caller redraws the scene.
    static void use_slits(int32_t n, int32_t spacing) {
        model.slit_count = n;
        model.slit_spacing = spacing;
        model.slit_amplitude = static_cast<float>(static_cast<double>(model.total_amplitude) / n);
    }
};
