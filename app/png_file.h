#pragma once

#include <cstdint>
#include <string>

// An indexed-colour picture: one byte per pixel, rows of `pitch` bytes, and
// the colours of its palette as 0x00BBGGRR.
struct IndexedPicture {
    const uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;
    const uint32_t* palette;
    int32_t colours;  // 1..256
};

// Writes the picture as an indexed-colour PNG. The file appears complete or
// not at all: it is written beside the target under another name and renamed
// at the end. Answers "" on success, else what went wrong.
std::string write_png(const std::string& path, const IndexedPicture& picture);
