#include "app/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/output_file.h"

namespace {

struct PngError {
    std::string message;
};

void on_png_error(png_structp png, png_const_charp message) {
    static_cast<PngError*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Everything libpng does happens here; a longjmp lands back in this frame
// only, where no object with a destructor lives.
bool encode(std::FILE* file, const IndexedPicture& picture, const png_color* colours,
            png_bytep* rows, PngError& error) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, on_png_error, on_png_warning);
    if (png == nullptr) {
        error.message = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        if (error.message.empty()) error.message = "out of memory";
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    const int bit_depth = picture.colours <= 16 ? 4 : 8;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), bit_depth, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours, picture.colours);
    png_write_info(png, info);
    if (bit_depth < 8) png_set_packing(png);  // one byte per pixel in, two per byte out
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string write_png(const std::string& path, const IndexedPicture& picture) {
    std::vector<png_color> colours(static_cast<size_t>(picture.colours));
    for (size_t i = 0; i < colours.size(); ++i) {
        const uint32_t c = picture.palette[i];
        colours[i] = png_color{static_cast<png_byte>(c & 0xFF), static_cast<png_byte>(c >> 8),
                               static_cast<png_byte>(c >> 16)};
    }
    std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
    for (size_t y = 0; y < rows.size(); ++y) {
        // libpng takes the rows as writable but only reads them here.
        rows[y] = const_cast<png_bytep>(picture.pixels + y * static_cast<size_t>(picture.pitch));
    }

    PendingFile pending;
    if (std::string problem = open_pending(path, &pending); !problem.empty()) return problem;
    PngError error;
    if (!encode(pending.file, picture, colours.data(), rows.data(), error)) {
        // libpng says only "Write Error"; the system says why.
        const std::string reason = std::ferror(pending.file) ? std::strerror(errno) : error.message;
        discard_pending(&pending);
        return "cannot write " + path + ": " + reason;
    }
    return commit_pending(&pending);
}
