#include "tests/web/recording_page.h"

#include <cstring>

#include "gfx/present/web/web.h"

RecordingPage& recording_page() {
    static RecordingPage page;
    return page;
}

void reset_recording_page() {
    recording_page() = RecordingPage{};
}

bool page_open(int32_t width, int32_t height) {
    RecordingPage& page = recording_page();
    ++page.opened;
    if (!page.has_canvas) return false;
    page.open = true;
    page.width = width;
    page.height = height;
    page.canvas.assign(static_cast<size_t>(width) * height * 4, 0);
    return true;
}

void page_show(const uint8_t* rgba, int32_t first, int32_t count, int32_t width) {
    RecordingPage& page = recording_page();
    ++page.shown;
    page.last_first = first;
    page.last_count = count;
    if (!page.open || width != page.width || first < 0 || first + count > page.height) return;
    std::memcpy(page.canvas.data() + static_cast<size_t>(first) * width * 4, rgba,
                static_cast<size_t>(count) * width * 4);
}

void page_close() {
    recording_page().open = false;
}
