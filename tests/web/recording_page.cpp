#include "tests/web/recording_page.h"

#include <algorithm>
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

void page_show(const uint8_t* rgba, int32_t width, int32_t height, const PresentRect* rects,
               int32_t count) {
    RecordingPage& page = recording_page();
    ++page.shown;
    page.last_rects.assign(rects, rects + count);
    int32_t x0 = width, y0 = height, x1 = 0, y1 = 0;
    for (const PresentRect& r : page.last_rects) {
        x0 = std::min(x0, r.x);
        y0 = std::min(y0, r.y);
        x1 = std::max(x1, r.x + r.w);
        y1 = std::max(y1, r.y + r.h);
    }
    page.last_bounds = PresentRect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
    if (!page.open || width != page.width || height != page.height) return;
    for (const PresentRect& r : page.last_rects) {
        if (r.x < 0 || r.y < 0 || r.x + r.w > width || r.y + r.h > height) continue;
        for (int32_t y = r.y; y < r.y + r.h; ++y) {
            const size_t at = (static_cast<size_t>(y) * width + r.x) * 4;
            std::memcpy(page.canvas.data() + at, rgba + at, static_cast<size_t>(r.w) * 4);
        }
    }
}

void page_close() {
    recording_page().open = false;
}

void page_single_step(bool stepping) {
    ++recording_page().step_notes;
    recording_page().single_step = stepping;
}

void page_describe(const char* text) {
    recording_page().descriptions.emplace_back(text);
}

void page_show_keys(const char* name) {
    recording_page().key_sets.emplace_back(name);
}
