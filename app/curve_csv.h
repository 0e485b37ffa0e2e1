#pragma once

#include <string>

// Writes the intensity samples the screen holds as comma-separated values: a
// header line, then one line per row with a sample, top to bottom: the row,
// the detector's offset above the axis there, the sample's length in pixels
// as drawn and its value before rounding. Answers "" or the error.
std::string write_curve_csv(const std::string& path, int axis_y);
