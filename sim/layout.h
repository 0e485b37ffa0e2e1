#pragma once

// The screen's regions and fixed places, named once: the scene and the
// lesson tools above it read them here. Coordinates are pixels of the
// 640 x 480 screen, x to the right and y down; "last" is inclusive.

#include <cstdint>

// The screen.
constexpr int32_t SCREEN_WIDTH = 640;
constexpr int32_t SCREEN_HEIGHT = 480;
constexpr int32_t LAST_COLUMN = SCREEN_WIDTH - 1;
constexpr int32_t LAST_ROW = SCREEN_HEIGHT - 1;

// Text: the font's glyphs are 8 pixels wide; a label shows the top 15 of
// their 16 rows, and lines of labels stand 15 rows apart.
constexpr int32_t GLYPH_WIDTH = 8;
constexpr int32_t LABEL_HEIGHT = 15;
constexpr int32_t LINE_STEP = 15;

// The optical axis, the barrier and its rows.
constexpr int32_t AXIS_Y = 248;
constexpr int32_t BARRIER_X = 25;
constexpr int32_t BARRIER_TOP = 20;
constexpr int32_t BARRIER_BOTTOM = 470;

// The detector line: where it starts and returns to ("1"), the rows it
// spans, and how far "i" moves it to the left to make room for the curve.
constexpr int32_t DETECTOR_HOME_X = 560;
constexpr int32_t DETECTOR_TOP = 20;
constexpr int32_t DETECTOR_BOTTOM = 465;
constexpr int32_t INTENSITY_SHIFT = 80;

// The detector point's offsets above the axis at the top and bottom rows:
// the cursor keys' limits and the places of "9" and "3".
constexpr int32_t OFFSET_TOP = AXIS_Y;
constexpr int32_t OFFSET_BOTTOM = AXIS_Y - LAST_ROW;

// The intensity curve: each sample is a line from one column beyond the
// right edge leftwards.
constexpr int32_t CURVE_ORIGIN_X = SCREEN_WIDTH;

// The labels of the setting, top left.
constexpr int32_t LABEL_X = 35;
constexpr int32_t SPACING_LABEL_Y = 20;
constexpr int32_t WAVELENGTH_LABEL_Y = 40;
// A third label (the slit width) goes one line further down.
constexpr int32_t WIDTH_LABEL_Y = 60;

// The bottom line: the menu hint left, the credit and its mark right.
constexpr int32_t HINT_X = 30;
constexpr int32_t HINT_Y = 465;
constexpr int32_t CREDIT_X = 542;
constexpr int32_t CREDIT_Y = 464;
constexpr int32_t MARK_X = 530;
constexpr int32_t MARK_Y = 471;
constexpr int32_t MARK_RADIUS = 5;

// The help menu ("m"): seven lines from this row down; the extra keys'
// lines ("h") stand right above it, in the same column.
constexpr int32_t MENU_X = 30;
constexpr int32_t MENU_TOP = 375;

// The readouts at the detector ("r"): lines under the setting's labels.
constexpr int32_t READOUT_X = LABEL_X;
constexpr int32_t READOUT_TOP = 60;

// The kept curves' legend: its lines end right above the help menu's place
// and left of where "i" puts the detector line, so that neither the menu,
// the line nor the curves share its pixels; its lines start no further left
// than the labels.
constexpr int32_t LEGEND_BOTTOM_LINE_Y = MENU_TOP - LINE_STEP;
constexpr int32_t LEGEND_RIGHT = DETECTOR_HOME_X - INTENSITY_SHIFT - 8;
constexpr int32_t LEGEND_LEFT_LIMIT = LABEL_X;
