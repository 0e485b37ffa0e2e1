#include "gfx/present/web/web.h"

#include <emscripten.h>

#include "gfx/present/tone.h"

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
        if (_web_key_input(down ? 1 : 0, flags) && event.preventDefault) event.preventDefault();
    }
    // The page's buttons send their keys this way, as {code, key, repeat}.
    Module["passKey"] = pass;
    function focus() {
        if (Module["keysOn"] && !Module["programEnded"]) _web_focus_changed();
    }
    // One pointer at a time moves the detector: the first one pressed on the
    // canvas, until it is let go; a second finger or the mouse beside it is
    // not followed meanwhile. The capture keeps a drag beyond the canvas
    // reporting until the release.
    var owner = null;
    function point(event, pressed, inside) {
        if (!Module["keysOn"] || Module["programEnded"]) return;
        var box = canvas.getBoundingClientRect();
        _web_pointer(event.clientX - box.left, event.clientY - box.top, box.width, box.height,
                     pressed ? 1 : 0, inside ? 1 : 0);
    }
    function over(event) {
        var box = canvas.getBoundingClientRect();
        return event.clientX >= box.left && event.clientX < box.right &&
               event.clientY >= box.top && event.clientY < box.bottom;
    }
    canvas.addEventListener("pointerdown", function(event) {
        if (owner !== null || event.button !== 0) return;
        owner = event.pointerId;
        try { canvas.setPointerCapture(owner); } catch (error) {}
        event.preventDefault();
        point(event, true, true);
    });
    canvas.addEventListener("pointermove", function(event) {
        if (owner === event.pointerId) point(event, true, true);
        else if (owner === null) point(event, false, over(event));
    });
    function release(event) {
        if (owner !== event.pointerId) return;
        owner = null;
        point(event, false, event.type !== "pointercancel" && over(event));
    }
    canvas.addEventListener("pointerup", release);
    canvas.addEventListener("pointercancel", release);
    canvas.addEventListener("lostpointercapture", release);
    canvas.addEventListener("pointerleave", function(event) {
        if (owner === null) point(event, false, false);
    });
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

// The status line says so while the program single-steps, and clears only
// its own words when the program runs again; the page's title follows. The
// page translates them (its translate function, with the texts in its
// catalogues), where it has one.
EM_JS(void, page_show_single_step, (int stepping), {
    var line = document.getElementById("status");
    var t = Module["translate"] || function(text) { return text; };
    var text = t("Einzelschritt \u2013 eine Taste zeigt das n\u00E4chste Bild, w l\u00E4uft weiter");
    var suffix = " \u2013 " + t("Einzelschritt");
    if (Module["pageTitle"] === undefined) Module["pageTitle"] = document.title;
    document.title = Module["pageTitle"] + (stepping ? suffix : "");
    if (!line) return;
    if (stepping) line.textContent = text;
    else if (line.textContent === text) line.textContent = "";
});

// What the picture shows, in words, goes to the page's live region (the
// element with the id "description"), which screen readers say when it
// changes. Module.descriptions counts the texts handed over, for the page's
// test.
EM_JS(void, page_show_description, (const char* text), {
    var words = UTF8ToString(text);
    Module["description"] = words;
    Module["descriptions"] = (Module["descriptions"] || 0) + 1;
    var region = document.getElementById("description");
    if (region) region.textContent = words;
});

// The page shows the buttons of the set of keys the program answers to: the
// root element's data-keys names it, and the page's style and script do the
// rest (Module.onKeySet, where the page has one).
EM_JS(void, page_show_key_set, (const char* name), {
    var set = UTF8ToString(name);
    Module["keySet"] = set;
    document.documentElement.dataset.keys = set;
    if (Module["onKeySet"]) Module["onKeySet"](set);
});

// The tone through Web Audio: a sine and its gain, the gain gliding in a
// straight line to each frame's value across the frame period; a tick is a
// short sine of its own, fading out. The context comes from the page's key
// or button that turned the tone on (a user's gesture); where there is none,
// or the browser refused it, there is no sound. Module.toneGain is the gain
// last asked for and Module.toneTicks counts the ticks, for the page's test.
EM_JS(int, page_tone_open, (double pitch), {
    var Context = window.AudioContext || window.webkitAudioContext;
    try {
        if (!Module["toneContext"] && Context) Module["toneContext"] = new Context();
        var context = Module["toneContext"];
        if (!context || context.state === "closed") return 0;
        if (context.state === "suspended") context.resume();
        var gain = context.createGain();
        gain.gain.value = 0;
        var sine = context.createOscillator();
        sine.frequency.value = pitch;
        sine.connect(gain);
        gain.connect(context.destination);
        sine.start();
        Module["tone"] = {sine: sine, gain: gain};
        Module["toneGain"] = 0;
        return 1;
    } catch (error) {
        return 0;
    }
});

EM_JS(void, page_tone_frame, (double gain, double seconds, int tick, double tick_pitch,
                              double tick_gain, double tick_seconds), {
    var tone = Module["tone"];
    var context = Module["toneContext"];
    if (!tone || !context) return;
    var now = context.currentTime;
    var level = tone.gain.gain;
    level.cancelScheduledValues(now);
    level.setValueAtTime(level.value, now);
    level.linearRampToValueAtTime(gain, now + seconds);
    Module["toneGain"] = gain;
    if (!tick) return;
    Module["toneTicks"] = (Module["toneTicks"] || 0) + 1;
    var click = context.createOscillator();
    var fade = context.createGain();
    click.frequency.value = tick_pitch;
    fade.gain.setValueAtTime(tick_gain, now);
    fade.gain.linearRampToValueAtTime(0, now + tick_seconds);
    click.connect(fade);
    fade.connect(context.destination);
    click.start(now);
    click.stop(now + tick_seconds);
});

EM_JS(int, page_tone_playing, (), {
    var context = Module["toneContext"];
    return Module["tone"] && context && context.state !== "closed" ? 1 : 0;
});

EM_JS(void, page_tone_close, (), {
    var tone = Module["tone"];
    if (!tone) return;
    try {
        tone.sine.stop();
        tone.sine.disconnect();
        tone.gain.disconnect();
    } catch (error) {}
    Module["tone"] = null;
    Module["toneGain"] = 0;
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

const SoundDriver web_sound_driver = {
    .name = "Web Audio",
    .open =
        [] {
            return page_tone_open(TONE_PITCH_HZ) != 0
                       ? static_cast<const char*>(nullptr)
                       : "the browser offers no Web Audio, or refused it";
        },
    .frame =
        [](float amplitude, bool tick) {
            const double clamped = amplitude > 0 ? (amplitude < 1 ? amplitude : 1) : 0;
            page_tone_frame(TONE_FULL_SCALE * clamped, 0.05, tick ? 1 : 0, TONE_TICK_PITCH_HZ,
                            TONE_TICK_SCALE, static_cast<double>(TONE_TICK_SAMPLES) / TONE_RATE);
        },
    .playing = [] { return page_tone_playing() != 0; },
    .close = [] { page_tone_close(); },
};

void page_close() {
    page_stop_keys();
}

void page_single_step(bool stepping) {
    page_show_single_step(stepping ? 1 : 0);
}

void page_describe(const char* text) {
    page_show_description(text);
}

void page_show_keys(const char* name) {
    page_show_key_set(name);
}
