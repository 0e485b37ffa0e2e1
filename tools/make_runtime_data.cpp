// Build step: turns Debian's console fonts into the compressed block of
// fonts and palettes that the screen expands at start-up, written as a C++
// source file into the build tree. The glyphs stay out of the source tree:
// they are GPL-2+ data, and the project's own licence stays open.
//
// make_runtime_data OUTPUT.cpp 8x16.psf.gz CP865-8x8 CP850-8x8 CP865-8x14 CP850-8x14

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/screen/screen.h"
#include "tools/lzw_compress.h"

namespace {

struct Failure {
    std::string what;
};

// zlib reads gzip-compressed and plain files alike and needs no shell.
std::vector<uint8_t> read_file(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) throw Failure{"cannot open " + path};
    std::vector<uint8_t> bytes;
    uint8_t buffer[16384];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = n < 0;
    gzclose(file);
    if (failed) throw Failure{"cannot read " + path};
    return bytes;
}

uint8_t mirror(uint8_t b) {
    uint8_t m = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if ((b >> bit) & 1) m |= static_cast<uint8_t>(0x80 >> bit);
    }
    return m;
}

// The first 256 glyphs of a PSF1 font, each row mirrored: the font file has
// the leftmost pixel in bit 7, our glyphs in bit 0.
std::vector<uint8_t> load_font(const std::string& path, int height) {
    const std::vector<uint8_t> file = read_file(path);
    if (file.size() < 4 || file[0] != 0x36 || file[1] != 0x04) {
        throw Failure{path + " is not a PSF1 font"};
    }
    if (file[3] != height) {
        throw Failure{path + " has glyphs " + std::to_string(file[3]) + " rows high, not " +
                      std::to_string(height)};
    }
    const size_t bytes = size_t{256} * height;
    if (file.size() < 4 + bytes) throw Failure{path + " is too short"};
    std::vector<uint8_t> glyphs(bytes);
    for (size_t i = 0; i < bytes; ++i)
        glyphs[i] = mirror(file[4 + i]);
    return glyphs;
}

// Code page 865 differs from 437 in three glyphs only; code page 850 has
// the 437 shapes of those at other codes.
void patch_to_cp437(std::vector<uint8_t>& cp865, const std::vector<uint8_t>& cp850, int height) {
    const struct {
        int to, from;
    } moves[] = {{0x9B, 0xBD}, {0x9D, 0xBE}, {0xAF, 0xAF}};  // cent, yen, right guillemet
    for (const auto& m : moves) {
        std::memcpy(&cp865[size_t(m.to) * height], &cp850[size_t(m.from) * height], height);
    }
}

void put_rgb(std::vector<uint8_t>& block, size_t at, int entry, int r, int g, int b) {
    block[at + 3 * entry] = static_cast<uint8_t>(r);
    block[at + 3 * entry + 1] = static_cast<uint8_t>(g);
    block[at + 3 * entry + 2] = static_cast<uint8_t>(b);
}

void put_palettes(std::vector<uint8_t>& block) {
    put_rgb(block, RUNTIME_PALETTE_2, 0, 0, 0, 0);
    put_rgb(block, RUNTIME_PALETTE_2, 1, 255, 255, 255);

    static const uint8_t standard16[16][3] = {
        {0, 0, 0},     {0, 0, 170},    {0, 170, 0},    {0, 170, 170},
        {170, 0, 0},   {170, 0, 170},  {170, 85, 0},   {170, 170, 170},
        {85, 85, 85},  {85, 85, 255},  {85, 255, 85},  {85, 255, 255},
        {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) {
        const uint8_t* c = standard16[i];
        put_rgb(block, RUNTIME_PALETTE_16, i, c[0], c[1], c[2]);
        put_rgb(block, RUNTIME_PALETTE_256, i, c[0], c[1], c[2]);
    }

    for (int i = 0; i < 64; ++i) {
        const auto bit = [i](int n) { return (i >> n) & 1; };
        put_rgb(block, RUNTIME_PALETTE_64, i, 170 * bit(2) + 85 * bit(5),
                170 * bit(1) + 85 * bit(4), 170 * bit(0) + 85 * bit(3));
    }

    static const int grey[16] = {0,   20,  32,  44,  56,  68,  80,  97,
                                 113, 129, 145, 161, 182, 202, 226, 255};
    for (int i = 0; i < 16; ++i)
        put_rgb(block, RUNTIME_PALETTE_256, 16 + i, grey[i], grey[i], grey[i]);

    static const int levels[9][5] = {
        {0, 64, 125, 190, 255}, {125, 157, 190, 222, 255}, {182, 198, 218, 234, 255},
        {0, 28, 56, 85, 113},   {56, 68, 85, 97, 113},     {80, 89, 97, 105, 113},
        {0, 16, 32, 48, 64},    {32, 40, 48, 56, 64},      {44, 48, 52, 60, 64},
    };
    for (int k = 0; k < 9; ++k) {
        for (int j = 0; j < 24; ++j) {
            // Level numbers running blue, magenta, red, yellow, green, cyan.
            int r, g, b;
            if (j <= 4) {
                r = j, g = 0, b = 4;
            } else if (j <= 8) {
                r = 4, g = 0, b = 8 - j;
            } else if (j <= 12) {
                r = 4, g = j - 8, b = 0;
            } else if (j <= 16) {
                r = 16 - j, g = 4, b = 0;
            } else if (j <= 20) {
                r = 0, g = 4, b = j - 16;
            } else {
                r = 0, g = 24 - j, b = 4;
            }
            const int* l = levels[k];
            put_rgb(block, RUNTIME_PALETTE_256, 32 + 24 * k + j, l[r], l[g], l[b]);
        }
    }
    // 248..255 stay black.
}

void write_source(const std::string& path, const std::vector<uint8_t>& compressed) {
    // Written beside the target and renamed, so a failed run leaves no
    // half-written source that looks up to date.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary);
        out << "// Generated at build time by make_runtime_data from the console fonts.\n"
               "#include \"gfx/screen/screen.h\"\n\n"
               "extern const uint8_t runtime_data_compressed[] = {";
        for (size_t i = 0; i < compressed.size(); ++i) {
            out << (i % 16 == 0 ? "\n   " : "") << ' ' << int{compressed[i]} << ',';
        }
        out << "\n};\n"
               "extern const size_t runtime_data_compressed_size = sizeof "
               "runtime_data_compressed;\n";
        if (!out.flush()) throw Failure{"cannot write " + temporary};
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) throw Failure{"cannot write " + path};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT.cpp 8x16.psf.gz cp865-8x8.psf.gz cp850-8x8.psf.gz "
                     "cp865-8x14.psf.gz cp850-8x14.psf.gz\n",
                     argv[0]);
        return 2;
    }
    try {
        std::vector<uint8_t> block(RUNTIME_DATA_SIZE, 0);
        std::vector<uint8_t> font8 = load_font(argv[3], 8);
        patch_to_cp437(font8, load_font(argv[4], 8), 8);
        std::vector<uint8_t> font14 = load_font(argv[5], 14);
        patch_to_cp437(font14, load_font(argv[6], 14), 14);
        const std::vector<uint8_t> font16 = load_font(argv[2], 16);
        std::memcpy(&block[RUNTIME_FONT_8X8], font8.data(), font8.size());
        std::memcpy(&block[RUNTIME_FONT_8X14], font14.data(), font14.size());
        std::memcpy(&block[RUNTIME_FONT_8X16], font16.data(), font16.size());
        put_palettes(block);

        const std::vector<uint8_t> compressed = lzw_compress(block.data(), block.size());
        // The program ignores the expansion's result, so prove it here.
        std::vector<uint8_t> check(block.size() + 1);
        size_t length = 0;
        if (lzw_expand(compressed.data(), compressed.size(), check.data(), check.size(), &length) !=
                0 ||
            length != block.size() || std::memcmp(check.data(), block.data(), length) != 0) {
            throw Failure{"the compressed block does not expand to itself"};
        }
        write_source(argv[1], compressed);
        std::printf("runtime data: %zu bytes compressed to %zu\n", block.size(), compressed.size());
    } catch (const Failure& f) {
        std::fprintf(stderr, "make_runtime_data: %s\n", f.what.c_str());
        return 1;
    }
    return 0;
}
