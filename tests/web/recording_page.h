#pragma once

#include <cstdint>
#include <vector>

// The page as the web driver's tests see it: what the driver put on the
// canvas, line by line, and whether the canvas exists.
struct RecordingPage {
    bool has_canvas = true;
    bool open = false;
    int32_t width = 0;
    int32_t height = 0;
    int32_t opened = 0;
    int32_t shown = 0;        // page_show calls
    int32_t last_first = -1;  // lines of the last page_show
    int32_t last_count = 0;
    std::vector<uint8_t> canvas;  // width x height x 4, as put
};

RecordingPage& recording_page();
void reset_recording_page();
