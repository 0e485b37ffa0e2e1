#include <gtest/gtest.h>

#include <string>

#include "gfx/screen/screen.h"
#include "sim/phasors.h"
#include "sim/scene.h"
#include "sim_fixture.h"

namespace {

// The start-up picture: the labels, the heading and the mark.
using StartPicture = SimulationTest;

// True when the text stands at (x, y) in the font's top 15 rows, each glyph
// pixel in ink and every other pixel of the block in paper.
bool shows_text(int32_t x, int32_t y, const std::string& text, uint8_t ink, uint8_t paper) {
    for (size_t k = 0; k < text.size(); ++k) {
        const uint8_t* glyph = font_8x16.glyphs + static_cast<uint8_t>(text[k]) * 16;
        for (int32_t row = 0; row < 15; ++row) {
            for (int32_t bit = 0; bit < 8; ++bit) {
                const uint8_t want = ((glyph[row] >> bit) & 1) != 0 ? ink : paper;
                const int32_t px = x + static_cast<int32_t>(k) * 8 + bit;
                if (SimulationTest::pixel(px, y + row) != want) return false;
            }
        }
    }
    return true;
}

TEST_F(StartPicture, LabelsStandBlackOnWhite) {
    struct Label {
        int32_t x, y;
        std::string text;
    };
    const Label labels[] = {
        {35, 20, "Spaltabstand = 20 Pix"},
        {35, 40, "Wellenl\x84nge  = 5 Pix"},
        {30, 465, "[m] -> Men\x81 einblenden"},
        {542, 464, "Z.Vundermalt"},
    };
    for (const Label& label : labels) {
        EXPECT_TRUE(shows_text(label.x, label.y, label.text, 0, 15)) << label.text;
    }
}

TEST_F(StartPicture, HeadingIsWhiteOnBlackInTheFirstTextRow) {
    EXPECT_TRUE(shows_text(0, 0, " 2  K A L V E N  im Drevinomatik ", 15, 0));
    // The first frame's chain erase starts at (0, 0) and leaves the rest.
    run_frame();
    EXPECT_TRUE(shows_text(8, 0, "2  K A L V E N  im Drevinomatik ", 15, 0));
    // The row below the heading's 15 was wiped white with the rest of the strip.
    EXPECT_EQ(pixel(300, 16), 15);
}

TEST_F(StartPicture, CreditTextCoversItsBlockAndTheMarkIsBlack) {
    // 12 characters from x 542: 96 x 15 pixels, with ink somewhere in both
    // the first and the last column block, and nothing beyond.
    EXPECT_TRUE(column_has(542, 464, 478, 0) || column_has(543, 464, 478, 0));
    EXPECT_TRUE(row_has(464 + 14, 542, 637, 15));
    EXPECT_FALSE(column_has(638, 464, 478, 0));
    // The circle of radius 5 around (530, 471) and the letter inside it.
    for (auto [x, y] : {std::pair{525, 471},
                        {535, 471},
                        {530, 466},
                        {530, 476},
                        {528, 471},
                        {529, 469},
                        {532, 472}}) {
        EXPECT_EQ(pixel(x, y), 0) << x << "," << y;
    }
    EXPECT_EQ(pixel(530, 471), 15);  // the centre stays white
}

}  // namespace
