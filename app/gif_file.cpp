#include "app/gif_file.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int FRAME_DELAY = 5;  // hundredths of a second: 20 frames a second

int write_bytes(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* animation = static_cast<GifAnimation*>(gif->UserData);
    const size_t written =
        std::fwrite(bytes, 1, static_cast<size_t>(length), animation->output.file);
    if (written != static_cast<size_t>(length) && animation->write_error == 0) {
        animation->write_error = errno != 0 ? errno : EIO;
    }
    return static_cast<int>(written);
}

std::string gif_failure(const GifAnimation& animation, int code) {
    const char* reason =
        animation.write_error != 0 ? std::strerror(animation.write_error) : GifErrorString(code);
    return "cannot write " + animation.output.target + ": " + (reason ? reason : "GIF error");
}

// NETSCAPE2.0 application block: repeat for ever (count 0).
bool put_loop(GifFileType* gif) {
    static const GifByteType NAME[] = "NETSCAPE2.0";
    static const GifByteType LOOP[] = {1, 0, 0};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, NAME) == GIF_OK &&
           EGifPutExtensionBlock(gif, 3, LOOP) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

}  // namespace

ChangedRect changed_rect(const std::vector<uint8_t>& shown, const IndexedPicture& picture) {
    const size_t width = static_cast<size_t>(picture.width);
    int32_t top = -1, bottom = -1, left = picture.width, right = -1;
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* now = picture.pixels + static_cast<size_t>(y) * picture.pitch;
        const uint8_t* before = shown.data() + static_cast<size_t>(y) * width;
        if (std::memcmp(now, before, width) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        int32_t first = 0, last = picture.width - 1;
        while (now[first] == before[first])
            ++first;
        while (now[last] == before[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) return ChangedRect{};
    return ChangedRect{left, top, right - left + 1, bottom - top + 1};
}

std::string gif_begin(const std::string& path, const IndexedPicture& format,
                      GifAnimation* animation) {
    *animation = GifAnimation{};
    if (std::string problem = open_pending(path, &animation->output); !problem.empty()) {
        return problem;
    }
    animation->width = format.width;
    animation->height = format.height;
    animation->colours = std::clamp(format.colours, 1, 256);
    animation->shown.assign(static_cast<size_t>(format.width) * format.height, 0);
    animation->line.assign(static_cast<size_t>(format.width), 0);
    std::copy_n(format.palette, animation->colours, animation->global);
    int code = 0;
    animation->gif = EGifOpen(animation, write_bytes, &code);
    if (animation->gif == nullptr) return gif_failure(*animation, code);
    // One index beyond the palette marks the pixels a frame leaves as they
    // were: within a frame's rectangle most are, and runs of one index
    // compress to almost nothing. A full palette has no room for it.
    animation->transparent = animation->colours < 256 ? animation->colours : NO_TRANSPARENT_COLOR;
    return "";
}

namespace {

// A colour table of the palette's colours and room for the index beyond it,
// which shows black should a viewer ignore it. nullptr when memory runs out.
ColorMapObject* colour_map(const uint32_t* palette, int32_t colours) {
    const int32_t entries = colours + (colours < 256 ? 1 : 0);
    GifColorType table[256] = {};
    int bits = 1;
    while ((1 << bits) < entries)
        ++bits;
    for (int32_t i = 0; i < colours; ++i) {
        const uint32_t c = palette[i];
        table[i] = GifColorType{static_cast<GifByteType>(c & 0xFF),
                                static_cast<GifByteType>(c >> 8 & 0xFF),
                                static_cast<GifByteType>(c >> 16 & 0xFF)};
    }
    return GifMakeMapObject(1 << bits, table);
}

// The header with the global colour table, and the loop: once, before the
// first frame (or at the end of an animation without one).
bool put_screen(GifAnimation* animation) {
    ColorMapObject* map = colour_map(animation->global, animation->colours);
    if (map == nullptr) {
        animation->gif->Error = E_GIF_ERR_NOT_ENOUGH_MEM;
        return false;
    }
    EGifSetGifVersion(animation->gif, true);
    const bool ok = EGifPutScreenDesc(animation->gif, animation->width, animation->height, 8, 0,
                                      map) == GIF_OK &&
                    put_loop(animation->gif);
    GifFreeMapObject(map);
    return ok;
}

bool same_palette(const uint32_t* a, const uint32_t* b, int32_t colours) {
    return std::equal(a, a + colours, b);
}

}  // namespace

std::string gif_add_frame(GifAnimation* animation, const IndexedPicture& picture) {
    GifFileType* gif = animation->gif;
    const int32_t colours = animation->colours;
    if (animation->frames == 0) {
        std::copy_n(picture.palette, colours, animation->global);
        std::copy_n(picture.palette, colours, animation->before);
        if (!put_screen(animation)) return gif_failure(*animation, gif->Error);
    }
    // Every pixel shown so far takes its colour from the palette it was
    // stored with: after a change of palette the frame is stored whole.
    const bool recoloured = !same_palette(picture.palette, animation->before, colours);
    std::copy_n(picture.palette, colours, animation->before);
    ChangedRect rect{0, 0, animation->width, animation->height};
    if (animation->frames > 0 && !recoloured) rect = changed_rect(animation->shown, picture);
    // A frame without change still takes its place in time: one pixel, as
    // it was.
    if (rect.width == 0) rect = ChangedRect{0, 0, 1, 1};
    ++animation->frames;

    const bool see_through = animation->frames > 1 && !recoloured && animation->transparent >= 0;
    const GraphicsControlBlock timing{
        .DisposalMode = DISPOSE_DO_NOT,
        .UserInputFlag = false,
        .DelayTime = FRAME_DELAY,
        .TransparentColor = see_through ? animation->transparent : NO_TRANSPARENT_COLOR,
    };
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&timing, extension);
    ColorMapObject* local = nullptr;
    if (!same_palette(picture.palette, animation->global, colours)) {
        local = colour_map(picture.palette, colours);
        if (local == nullptr) return gif_failure(*animation, E_GIF_ERR_NOT_ENOUGH_MEM);
    }
    // The library keeps a copy of a frame's local table and drops it, unfreed,
    // when the next frame has none: free that copy before such a frame.
    if (local == nullptr && gif->Image.ColorMap != nullptr) {
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
    const bool described =
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_OK &&
        EGifPutImageDesc(gif, rect.x, rect.y, rect.width, rect.height, false, local) == GIF_OK;
    if (local != nullptr) GifFreeMapObject(local);
    if (!described) return gif_failure(*animation, gif->Error);
    uint8_t* line = animation->line.data();
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        uint8_t* shown = animation->shown.data() + static_cast<size_t>(y) * animation->width;
        const uint8_t* now = picture.pixels + static_cast<size_t>(y) * picture.pitch;
        for (int32_t x = rect.x; x < rect.x + rect.width; ++x) {
            const bool same = shown[x] == now[x];
            line[x - rect.x] =
                see_through && same ? static_cast<uint8_t>(animation->transparent) : now[x];
            shown[x] = now[x];
        }
        if (EGifPutLine(gif, line, rect.width) != GIF_OK) {
            return gif_failure(*animation, gif->Error);
        }
    }
    return "";
}

std::string gif_finish(GifAnimation* animation) {
    if (animation->frames == 0 && !put_screen(animation)) {
        const std::string problem = gif_failure(*animation, animation->gif->Error);
        gif_abandon(animation);
        return problem;
    }
    int code = 0;
    const int closed = EGifCloseFile(animation->gif, &code);
    animation->gif = nullptr;
    if (closed != GIF_OK || animation->write_error != 0) {
        const std::string problem = gif_failure(*animation, code);
        discard_pending(&animation->output);
        return problem;
    }
    return commit_pending(&animation->output);
}

void gif_abandon(GifAnimation* animation) {
    if (animation->gif != nullptr) {
        int code = 0;
        EGifCloseFile(animation->gif, &code);
        animation->gif = nullptr;
    }
    discard_pending(&animation->output);
}
