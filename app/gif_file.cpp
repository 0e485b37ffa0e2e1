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
    animation->shown.assign(static_cast<size_t>(format.width) * format.height, 0);
    animation->line.assign(static_cast<size_t>(format.width), 0);
    int code = 0;
    animation->gif = EGifOpen(animation, write_bytes, &code);
    if (animation->gif == nullptr) return gif_failure(*animation, code);

    // One index beyond the palette marks the pixels a frame leaves as they
    // were: within a frame's rectangle most are, and runs of one index
    // compress to almost nothing. A full palette has no room for it.
    animation->transparent = format.colours < 256 ? format.colours : NO_TRANSPARENT_COLOR;
    const int32_t entries = format.colours + (format.colours < 256 ? 1 : 0);
    GifColorType colours[256] = {};
    int bits = 1;
    while ((1 << bits) < entries)
        ++bits;
    for (int32_t i = 0; i < format.colours; ++i) {
        const uint32_t c = format.palette[i];
        colours[i] = GifColorType{static_cast<GifByteType>(c & 0xFF),
                                  static_cast<GifByteType>(c >> 8 & 0xFF),
                                  static_cast<GifByteType>(c >> 16 & 0xFF)};
    }
    // The index beyond the palette shows black should a viewer ignore it.
    ColorMapObject* map = GifMakeMapObject(1 << bits, colours);
    if (map == nullptr) return gif_failure(*animation, E_GIF_ERR_NOT_ENOUGH_MEM);
    EGifSetGifVersion(animation->gif, true);
    const bool ok =
        EGifPutScreenDesc(animation->gif, format.width, format.height, 8, 0, map) == GIF_OK &&
        put_loop(animation->gif);
    GifFreeMapObject(map);
    return ok ? "" : gif_failure(*animation, animation->gif->Error);
}

std::string gif_add_frame(GifAnimation* animation, const IndexedPicture& picture) {
    GifFileType* gif = animation->gif;
    ChangedRect rect{0, 0, animation->width, animation->height};
    if (animation->frames > 0) rect = changed_rect(animation->shown, picture);
    // A frame without change still takes its place in time: one pixel, as
    // it was.
    if (rect.width == 0) rect = ChangedRect{0, 0, 1, 1};
    ++animation->frames;

    const GraphicsControlBlock timing{
        .DisposalMode = DISPOSE_DO_NOT,
        .UserInputFlag = false,
        .DelayTime = FRAME_DELAY,
        .TransparentColor = animation->frames > 1 ? animation->transparent : NO_TRANSPARENT_COLOR,
    };
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&timing, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
            GIF_OK ||
        EGifPutImageDesc(gif, rect.x, rect.y, rect.width, rect.height, false, nullptr) != GIF_OK) {
        return gif_failure(*animation, gif->Error);
    }
    const bool see_through = animation->frames > 1 && animation->transparent >= 0;
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
