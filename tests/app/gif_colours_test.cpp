#include <gif_lib.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/gif_file.h"
#include "app/typed_frames.h"
#include "gfx/screen/screen.h"
#include "sim/sim.h"
#include "tests/lessons/lesson_fixture.h"

// An animation of frames whose palette changes (projector colours, the wave
// picture's shades): decoded, every frame shows the colours the window
// showed at that frame's present point, pixel for pixel.

namespace {

// A picture as colours: 0x00BBGGRR per pixel.
using Colours = std::vector<uint32_t>;

Colours colours_of(const uint8_t* pixels, int32_t pitch, const uint32_t* palette) {
    Colours out(640 * 480);
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x)
            out[y * 640 + x] = palette[pixels[static_cast<size_t>(y) * pitch + x]];
    }
    return out;
}

// What a viewer shows after each frame: each drawn over the last, the
// transparent index leaving what was there, a local table where one is.
struct Decoded {
    std::vector<Colours> frames;
    std::vector<bool> local_table;
};

Decoded decode(const std::string& path) {
    Decoded decoded;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "the GIF does not decode";
        if (gif != nullptr) DGifCloseFile(gif, &error);
        return decoded;
    }
    Colours canvas(static_cast<size_t>(gif->SWidth) * gif->SHeight, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType c = map->Colors[index];
                canvas[(d.Top + y) * gif->SWidth + d.Left + x] =
                    uint32_t{c.Red} | uint32_t{c.Green} << 8 | uint32_t{c.Blue} << 16;
            }
        }
        decoded.frames.push_back(canvas);
        decoded.local_table.push_back(image.ImageDesc.ColorMap != nullptr);
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

class GifColours : public LessonTest {
protected:
    void TearDown() override {
        type_keys({});
        set_step_feed(nullptr);
        std::remove(path_.c_str());
        LessonTest::TearDown();
    }

    static IndexedPicture presented() {
        const ScreenContext& s = *active_screen();
        return IndexedPicture{s.presented->pixels.get(), s.width, s.height, s.pitch,
                              s.presented->palette,      16};
    }

    std::string path_ = "gif_colours_test_" + std::to_string(getpid()) + ".gif";
};

TEST_F(GifColours, EveryFrameInTheColoursOfItsPresentPoint) {
    // Projector colours, then the waves and the intensity in the view, then
    // back to the default colours.
    const char* const schedule[] = {"p", "", "", "f", "", "", "f", "", "", "f", "", "", "p"};
    GifAnimation animation;
    IndexedPicture format{active_screen()->framebuffer,   640, 480, 640,
                          active_screen()->palette.get(), 16};
    ASSERT_EQ(gif_begin(path_, format, &animation), "");
    std::vector<Colours> expected;
    std::vector<std::vector<uint32_t>> palettes;
    for (int frame = 0; frame < 16; ++frame) {
        const bool typed = frame < 13 && *schedule[frame] != '\0';
        type_keys(typed ? std::vector<std::string>{schedule[frame]} : std::vector<std::string>{});
        run_typed_frame();
        const IndexedPicture shown = presented();
        expected.push_back(colours_of(shown.pixels, shown.pitch, shown.palette));
        palettes.emplace_back(shown.palette, shown.palette + 16);
        ASSERT_EQ(gif_add_frame(&animation, shown), "");
    }
    ASSERT_EQ(gif_finish(&animation), "");

    const Decoded decoded = decode(path_);
    ASSERT_EQ(decoded.frames.size(), expected.size());
    int32_t recoloured = 0;
    for (size_t k = 0; k < expected.size(); ++k) {
        EXPECT_TRUE(decoded.frames[k] == expected[k]) << "frame " << k;
        // A table of its own exactly where the palette is not the first frame's.
        EXPECT_EQ(decoded.local_table[k], palettes[k] != palettes[0]) << "frame " << k;
        if (k > 0 && palettes[k] != palettes[k - 1]) ++recoloured;
    }
    EXPECT_GE(recoloured, 3) << "the keys changed the palette";
    // The last frame's picture is also the screen's, as a PNG takes it.
    const ScreenContext& s = *active_screen();
    EXPECT_TRUE(decoded.frames.back() == colours_of(s.framebuffer, s.pitch, s.palette.get()));
}

}  // namespace
