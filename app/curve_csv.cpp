#include "app/curve_csv.h"

#include <cstdio>

#include "app/output_file.h"
#include "sim/sim.h"

std::string write_curve_csv(const std::string& path, int axis_y) {
    PendingFile pending;
    if (std::string problem = open_pending(path, &pending); !problem.empty()) return problem;
    // A decimal point and commas whatever the locale: the C locale is in
    // force, since nothing here sets another.
    std::fputs("row,offset,length,intensity\n", pending.file);
    for (int y = 0; y < CURVE_ROWS; ++y) {
        const CurveSample& sample = curve_samples[y];
        if (!sample.taken) continue;
        std::fprintf(pending.file, "%d,%d,%d,%.6f\n", y, axis_y - y, sample.length,
                     static_cast<double>(sample.intensity));
    }
    return commit_pending(&pending);
}
