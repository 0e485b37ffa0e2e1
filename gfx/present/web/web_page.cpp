#include "gfx/present/web/web.h"

#include <emscripten.h>

// The page's script, kept beside the driver that calls it. The canvas is the
// page's element with the id "screen" (or Module.canvas); the key events are
// taken on the whole window, so that no click on the canvas is needed first.

// clang-format off
EM_JS(int, page_open_canvas, (int width, int height), {
    var canvas = Module["canvas"] || document.getElementById("screen");
    if (!canvas || !canvas.getContext) return 0;
    canvas.width = width;
    canvas.height = height;
    var context = canvas.getContext("2d", {alpha: false});
    if (!context) return 0;
    Module["screenContext"] = context;
    Module["keysOn"] = true;
    if (Module["keysListening"]) return 1;
    Module["keysListening"] = true;
    var encoder = new TextEncoder();
    function field(text, at) {
        var written = encoder.encodeInto(text || "", HEAPU8.subarray(at, at + 31)).written;
        HEAPU8[at + written] = 0;
    }
    function pass(event, down) {
        if (!Module["keysOn"] || Module["programEnded"]) return;
        var fields = _web_key_fields();
        field(event.code, fields);
        field(event.key, fields + 32);
        var flags = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) |
                    (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0) |
                    (event.repeat ? 16 : 0);
        if (_web_key_input(down ? 1 : 0, flags)) event.preventDefault();
    }
    function focus() {
        if (Module["keysOn"] && !Module["programEnded"]) _web_focus_changed();
    }
    window.addEventListener("keydown", function(event) { pass(event, true); });
    window.addEventListener("keyup", function(event) { pass(event, false); });
    window.addEventListener("blur", focus);
    window.addEventListener("focus", focus);
    document.addEventListener("visibilitychange", focus);
    return 1;
});

// The canvas takes the whole picture's memory as it is, without a copy;
// each rectangle is a dirty region of one putImageData.
EM_JS(void, page_put_rects, (const uint8_t* rgba, int width, int height, const int32_t* rects,
                             int count), {
    var context = Module["screenContext"];
    if (!context) return;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    var image = new ImageData(pixels, width, height);
    for (var i = 0; i < count; ++i) {
        var at = (rects >> 2) + 4 * i;
        context.putImageData(image, 0, 0, HEAP32[at], HEAP32[at + 1], HEAP32[at + 2],
                             HEAP32[at + 3]);
    }
    Module["picturesShown"] = (Module["picturesShown"] || 0) + 1;
    if (Module["onPicture"]) Module["onPicture"]();
});

EM_JS(void, page_stop_keys, (), {
    Module["keysOn"] = false;
    Module["screenContext"] = null;
});
// clang-format on

bool page_open(int32_t width, int32_t height) {
    return page_open_canvas(width, height) != 0;
}

void page_show(const uint8_t* rgba, int32_t width, int32_t height, const PresentRect* rects,
               int32_t count) {
    static_assert(sizeof(PresentRect) == 4 * sizeof(int32_t), "the page reads four numbers");
    page_put_rects(rgba, width, height, &rects[0].x, count);
}

void page_close() {
    page_stop_keys();
}
