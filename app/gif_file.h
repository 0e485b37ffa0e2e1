#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/output_file.h"
#include "app/png_file.h"

struct GifFileType;

// An animated GIF written one frame at a time: the screen's palette as the
// global colour table, 5 hundredths of a second per frame (the program's 20
// frames a second), looping for ever. Only the rectangle in which a frame
// differs from the one before is stored; each frame is drawn over the last
// (GIF's "do not dispose"), and within it the pixels that stay are stored as
// an index beyond the palette that shows what was there, so that each frame
// composes to the whole picture.
struct GifAnimation {
    PendingFile output;
    GifFileType* gif = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frames = 0;
    std::vector<uint8_t> shown;  // the picture the frames so far compose
    std::vector<uint8_t> line;   // one row as stored (giflib masks it in place)
    int transparent = -1;        // the index for "as before", or -1
    int write_error = 0;         // errno of the first failed write
};

// Opens the file and writes the header and the loop. Answers "" or the error.
std::string gif_begin(const std::string& path, const IndexedPicture& format,
                      GifAnimation* animation);

// Adds the picture as the next frame; the size must be the first's. After an
// error here or in gif_begin, gif_abandon removes what was written.
std::string gif_add_frame(GifAnimation* animation, const IndexedPicture& picture);

// Writes the trailer and puts the file in place. Answers "" or the error.
std::string gif_finish(GifAnimation* animation);

// Removes what was written.
void gif_abandon(GifAnimation* animation);

// The smallest rectangle holding every pixel in which the picture differs
// from `shown` (same size, rows of `width` bytes); empty when none does.
struct ChangedRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};
ChangedRect changed_rect(const std::vector<uint8_t>& shown, const IndexedPicture& picture);
