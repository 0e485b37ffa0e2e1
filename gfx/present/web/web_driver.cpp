#include "gfx/present/web/web.h"

#include <vector>

#include "gfx/present/present.h"
#include "gfx/present/web/web_internal.h"

namespace {

struct WebScreen {
    std::vector<uint8_t> rgba;  // the whole picture as the canvas holds it
    ShownPicture shown;         // the framebuffer as the canvas shows it
    PresentRect rects[MAX_CHANGED_RECTS];
    PixelConverter converter = nullptr;
    int32_t depth = 0;
    bool repaint = false;  // every row at the next presentation
    int32_t lock_depth = 0;
};

WebScreen& web_screen() {
    static WebScreen* const screen = new WebScreen();  // outlives exit handlers
    return *screen;
}

int32_t web_init(const PresentSource* source, const char*, int32_t width, int32_t height,
                 int32_t depth, int32_t, int32_t flags) {
    WebScreen& s = web_screen();
    web_use_source(source);
    if ((flags & WINDOW_OPENGL) != 0) {
        note_window_failure("a page has no OpenGL screen");
        return -1;
    }
    s.converter = canvas_converter(depth);
    if (s.converter == nullptr || width <= 0 || height <= 0) {
        note_window_failure("the page cannot show a screen of this depth");
        return -1;
    }
    if (!page_open(width, height)) {
        note_window_failure("the page has no canvas");
        return -1;
    }
    s.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    s.depth = depth;
    s.repaint = true;
    s.lock_depth = 0;
    web_focus_changed();
    web_pointer_picture(width, height);
    return 0;
}

void web_exit() {
    WebScreen& s = web_screen();
    page_close();
    web_pointer_picture(0, 0);
    s.rgba.clear();
    s.shown = ShownPicture{};
    s.converter = nullptr;
    s.lock_depth = 0;
}

// Nothing runs beside the program, so the lock only counts; it is there for
// the nesting rules of the screen, not for exclusion.
void web_lock() {
    ++web_screen().lock_depth;
}

void web_unlock(bool) {
    WebScreen& s = web_screen();
    if (s.lock_depth > 0) --s.lock_depth;
}

// The screen has the new colour already; the canvas gets it everywhere.
void web_set_palette(int32_t, int32_t, int32_t, int32_t) {
    web_screen().repaint = true;
}

// One presentation: what changed since the last one goes to the canvas.
void web_poll() {
    WebScreen& s = web_screen();
    PresentFrame frame{};
    if (s.converter == nullptr || web_source().frame == nullptr || !web_source().frame(&frame))
        return;
    const size_t bytes = static_cast<size_t>(frame.width) * frame.height * frame.line_repeat * 4;
    if (s.rgba.size() != bytes) {
        s.rgba.assign(bytes, 0);
        s.repaint = true;
    }
    if (s.repaint && frame.depth == 16) fill_conversion_table(frame.conversion_table, true);
    const int32_t count =
        convert_changes(frame, s.converter, s.shown, s.rgba.data(), s.repaint, s.rects);
    s.repaint = false;
    if (count == 0) return;
    page_show(s.rgba.data(), frame.width, frame.height * frame.line_repeat, s.rects, count);
}

}  // namespace

const WindowDriver web_driver = {
    .name = "Web",
    .init = web_init,
    .exit = web_exit,
    .lock = web_lock,
    .unlock = web_unlock,
    .set_palette = web_set_palette,
    .get_mouse = web_read_mouse,
    // The page has no title bar to show the program's title in; what the
    // title tells, single steps, the page's status line says.
    .show_single_step = page_single_step,
    .describe = page_describe,
    .show_key_set = page_show_keys,
    .poll = web_poll,
};
