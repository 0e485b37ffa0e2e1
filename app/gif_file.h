#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/output_file.h"
#include "app/png_file.h"

struct GifFileType;

// An animated GIF written one frame at a time: the first frame's palette as
// the global colour table, 5 hundredths of a second per frame (the program's
// 20 frames a second), looping for ever. Only the rectangle in which a frame
// differs from the one before is stored; each frame is drawn over the last
// (GIF's "do not dispose"), and within it the pixels that stay are stored as
// an index beyond the palette that shows what was there, so that each frame
// composes to the whole picture. A frame whose palette is not the global one
// carries its own colour table; one whose palette differs from the frame
// before is stored whole, since every pixel may have changed its colour.
struct GifAnimation {
    PendingFile output;
    GifFileType* gif = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t colours = 0;  // palette entries each frame has
    int32_t frames = 0;
    std::vector<uint8_t> shown;  // the picture the frames so far compose
    std::vector<uint8_t> line;   // one row as stored (giflib masks it in place)
    uint32_t global[256] = {};   // the global colour table, 0x00BBGGRR
    uint32_t before[256] = {};   // the palette of the frame before
    int transparent = -1;        // the index for "as before", or -1
    int write_error = 0;         // errno of the first failed write
};

// Opens the file; the format gives the size and the number of colours (and
// the colour table of an animation without frames). Answers "" or the error.
std::string gif_begin(const std::string& path, const IndexedPicture& format,
                      GifAnimation* animation);

// Adds the picture as the next frame, in its palette's colours; the size and
// the number of colours must be the format's. The first frame writes the
// header, its palette as the global table, and the loop. After an
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
