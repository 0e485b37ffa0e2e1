#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/present/present.h"

// The page as the web driver's tests see it: what the driver put on the
// canvas, rectangle by rectangle, and whether the canvas exists.
struct RecordingPage {
    bool has_canvas = true;
    bool open = false;
    int32_t width = 0;
    int32_t height = 0;
    int32_t opened = 0;
    int32_t shown = 0;  // page_show calls
    // The rectangles of the last page_show and the one that holds them all.
    std::vector<PresentRect> last_rects;
    PresentRect last_bounds{};
    std::vector<uint8_t> canvas;  // width x height x 4, as put
    // What the status line says: page_single_step's calls and the last one.
    int32_t step_notes = 0;
    bool single_step = false;
    // The descriptions the live region was given, in order.
    std::vector<std::string> descriptions;
    // The key sets the page was told of, in order.
    std::vector<std::string> key_sets;
};

RecordingPage& recording_page();
void reset_recording_page();
