#include "lessons/wave_field.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "optics/segment_rule.h"

// How a column is built. A pixel's amplitude is the same sum for every slit
// but shifted by the slit's row, so per column one table holds an opening's
// mean at every row offset the screen can ask for (at the pixel's sample
// offsets when it is sampled more finely), and the pixels add the table up
// once per slit: what all openings of one width share is computed once, not
// per pixel per source.
//
// A wide opening's mean over its rows is a difference of the running
// integral F(t) of e^{-ik r(t)} along the column, t the height of a source
// below the pixel, taken on a grid fine enough for the bending of r and
// integrated as the chain's arcs are (each step's phase replaced by the
// straight line through its middle with the slope of its secant, integrated
// in closed form), so that the picture and the chain sum the same light.

namespace {

// Radians a grid step may depart from its line: the arcs' bound
// (PHASE_TOLERANCE) where one sample a pixel shows the amplitude (the chain
// and the picture agree), ten times that where the intensity is averaged
// from many.
constexpr double AVERAGED_TOLERANCE = 0.02;
constexpr int32_t MAX_ROW_OFFSETS = FIELD_ROWS + 1100;
constexpr int32_t MAX_TABLE = MAX_ROW_OFFSETS * MAX_PIXEL_SAMPLES;
constexpr int32_t MAX_GRID = 1 << 16;
constexpr int64_t TRIG_COST = 8;  // units of work for a sample with sin and cos

struct Build {
    FieldSources sources;
    bool started = false;
    int32_t columns = 0;
    int32_t first_row = 0;  // of the slits
    int32_t last_row = 0;
};
Build build;

float amplitude_re[FIELD_ROWS][FIELD_COLUMNS];
float amplitude_im[FIELD_ROWS][FIELD_COLUMNS];
float intensity[FIELD_ROWS][FIELD_COLUMNS];
float amplitude_max[FIELD_COLUMNS];
bool column_done[FIELD_COLUMNS];
float intensity_max[FIELD_COLUMNS];

// One sub-column's table and sums, and a wide opening's running integral.
float table_re[MAX_TABLE + 8];
float table_im[MAX_TABLE + 8];
float sum_re[FIELD_ROWS * MAX_PIXEL_SAMPLES + 8];
float sum_im[FIELD_ROWS * MAX_PIXEL_SAMPLES + 8];
double grid_re[MAX_GRID + 1];
double grid_im[MAX_GRID + 1];

double radius(double distance, double t) {
    return std::sqrt(distance * distance + t * t);
}

// A wavelet's amplitude at r, relative to its amplitude at FALLOFF_DISTANCE.
double falloff(double r) {
    return std::sqrt(FALLOFF_DISTANCE / std::max(r, 0.5));
}

// A point source: the phase as the core computes it (the path rounded to
// single precision), the amplitude falling off with the distance.
std::complex<double> point_wave(double k, double distance, double height) {
    const double r = radius(distance, height);
    const auto path = static_cast<float>(r);
    const double angle = -static_cast<double>(path) * k;
    const double reach = falloff(r);
    return {std::cos(angle) * reach, std::sin(angle) * reach};
}

// The integral of the wavelets over heights a..b by the secant rule, the
// falloff taken at the middle.
std::complex<double> piece(double k, double distance, double a, double b) {
    const double ra = radius(distance, a);
    const double rb = radius(distance, b);
    const double middle = radius(distance, (a + b) / 2.0);
    const double weight = (b - a) * secant_weight(k, ra, rb) * falloff(middle);
    const double angle = -k * middle;
    return {std::cos(angle) * weight, std::sin(angle) * weight};
}

// The grid of the running integral over heights lo..hi: its step, and how
// many steps.
struct Grid {
    double lo = 0;
    double step = 1;
    int32_t steps = 0;
};

// Steps of 1 / (samples m) put every sample's opening ends on the grid when
// the width is whole; m as small as the bending allows.
Grid grid_for(double k, double distance, double lo, double hi, int32_t samples, double tolerance) {
    // |phi''| = k D^2 / r^3 is largest where the source is level with the
    // pixel: k / D.
    const double nearest = std::max(distance, 1e-3);
    const double bending = near_field_bending(k, nearest, nearest);
    const double most = longest_segment(std::max(bending, 1e-12), tolerance);
    const double per_sample = std::ceil(1.0 / (samples * most));
    double step = 1.0 / (samples * std::clamp(per_sample, 1.0, static_cast<double>(MAX_GRID)));
    const double span = hi - lo;
    Grid grid{lo, step, 1};
    const double steps = std::ceil(span / step - 1e-9);
    if (steps > MAX_GRID) {
        grid.step = span / MAX_GRID;
        grid.steps = MAX_GRID;
    } else {
        grid.steps = std::max(1, static_cast<int32_t>(steps));
    }
    return grid;
}

void fill_grid(const Grid& grid, double k, double distance) {
    grid_re[0] = grid_im[0] = 0;
    double r_start = radius(distance, grid.lo);
    for (int32_t j = 0; j < grid.steps; ++j) {
        const double a = grid.lo + j * grid.step;
        const double r_end = radius(distance, a + grid.step);
        const double middle = radius(distance, a + grid.step / 2.0);
        const double angle = -k * middle;
        const double weight = grid.step * secant_weight(k, r_start, r_end) * falloff(middle);
        grid_re[j + 1] = grid_re[j] + std::cos(angle) * weight;
        grid_im[j + 1] = grid_im[j] + std::sin(angle) * weight;
        r_start = r_end;
    }
}

std::complex<double> running(const Grid& grid, double k, double distance, double t) {
    const double index = std::floor((t - grid.lo) / grid.step);
    const auto j = static_cast<int32_t>(std::clamp(index, 0.0, static_cast<double>(grid.steps)));
    const double start = grid.lo + j * grid.step;
    const std::complex<double> rest =
        t > start ? piece(k, distance, start, t) : std::complex<double>{};
    return std::complex<double>{grid_re[j], grid_im[j]} + rest;
}

double wide(float value) {
    return static_cast<double>(value);
}

bool point_slits(const FieldSources& sources) {
    return !(sources.slit_width > 0) || !std::isfinite(sources.slit_width);
}

SlitSetting rows_setting(const FieldSources& sources) {
    SlitSetting setting;
    setting.slit_count = sources.slit_count;
    setting.slit_spacing = sources.slit_spacing;
    setting.axis_y = sources.axis_y;
    return setting;
}

// The offsets (pixel row minus slit row, in samples) a column's table
// covers, and how many samples a pixel has.
struct Table {
    int32_t samples = 1;
    int32_t first = 0;  // in samples
    int32_t size = 0;
};

Table table_for(int32_t samples) {
    Table table;
    table.samples = samples;
    table.first = (FIELD_TOP - build.last_row) * samples;
    table.size = (FIELD_BOTTOM - build.first_row + 1) * samples - table.first;
    return table;
}

// The table of one sub-column at the given distance.
void fill_table(const Table& table, double distance) {
    const FieldSources& s = build.sources;
    const double k = wide(s.wave_number);
    const double shift = (0.5 / table.samples) - 0.5;
    const auto height_of = [&](int32_t i) {
        return (table.first + i) / static_cast<double>(table.samples) + shift;
    };
    if (point_slits(s)) {
        // A point's wave depends on the height's square: the entries above
        // the source mirror those below it (entry i's height is minus that
        // of entry samples - 1 - 2 first - i).
        const int32_t mirror_sum = table.samples - 1 - 2 * table.first;
        for (int32_t i = 0; i < table.size; ++i) {
            const int32_t mirror = mirror_sum - i;
            if (mirror < i && mirror >= 0) {
                table_re[i] = table_re[mirror];
                table_im[i] = table_im[mirror];
                continue;
            }
            if (table.samples == 1) {
                const std::complex<double> w = point_wave(k, distance, height_of(i));
                table_re[i] = static_cast<float>(w.real());
                table_im[i] = static_cast<float>(w.imag());
            } else {
                // Averaged samples need no more than single precision.
                const auto h = static_cast<float>(height_of(i));
                const auto d = static_cast<float>(distance);
                const float r = std::sqrt(d * d + h * h);
                const float angle = -static_cast<float>(k) * r;
                const float reach =
                    std::sqrt(static_cast<float>(FALLOFF_DISTANCE) / std::max(r, 0.5f));
                table_re[i] = std::cos(angle) * reach;
                table_im[i] = std::sin(angle) * reach;
            }
        }
        return;
    }
    const double width = wide(s.slit_width);
    const double half = width / 2.0;
    const double tolerance = table.samples == 1 ? PHASE_TOLERANCE : AVERAGED_TOLERANCE;
    const Grid grid = grid_for(k, distance, height_of(0) - half, height_of(table.size - 1) + half,
                               table.samples, tolerance);
    fill_grid(grid, k, distance);
    // Whole widths on the aligned grid: both ends of every opening are grid
    // points, and its mean a difference of two of them.
    const double per_sample = 1.0 / (table.samples * grid.step);
    const double width_steps = width / grid.step;
    if (std::abs(per_sample - std::round(per_sample)) < 1e-6 &&
        std::abs(width_steps - std::round(width_steps)) < 1e-6) {
        const auto stride = static_cast<int32_t>(std::lround(per_sample));
        const auto across = static_cast<int32_t>(std::lround(width_steps));
        for (int32_t i = 0; i < table.size; ++i) {
            const int32_t j = std::min(i * stride, grid.steps - across);
            table_re[i] = static_cast<float>((grid_re[j + across] - grid_re[j]) / width);
            table_im[i] = static_cast<float>((grid_im[j + across] - grid_im[j]) / width);
        }
        return;
    }
    for (int32_t i = 0; i < table.size; ++i) {
        const double h = height_of(i);
        const std::complex<double> mean =
            (running(grid, k, distance, h + half) - running(grid, k, distance, h - half)) / width;
        table_re[i] = static_cast<float>(mean.real());
        table_im[i] = static_cast<float>(mean.imag());
    }
}

// Whole blocks of eight, so that the loop needs no remainder and the
// compiler makes it a vector loop; the arrays have room for the padding.
constexpr int32_t BLOCK = 8;

void add_to(float* __restrict sum, const float* __restrict add, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        sum[i] += add[i];
}

int64_t column_cost(int32_t samples, double distance) {
    const FieldSources& s = build.sources;
    const Table table = table_for(samples);
    int64_t per_sub =
        int64_t{table.size} * TRIG_COST + int64_t{FIELD_ROWS} * samples * s.slit_count;
    if (!point_slits(s)) {
        const double tolerance = samples == 1 ? PHASE_TOLERANCE : AVERAGED_TOLERANCE;
        const double span = table.size / static_cast<double>(samples) + wide(s.slit_width);
        per_sub +=
            int64_t{grid_for(wide(s.wave_number), distance, 0, span, samples, tolerance).steps} *
            TRIG_COST;
    }
    return per_sub * samples;
}

void build_column(int32_t column, int32_t samples) {
    column_done[column] = true;
    const FieldSources& s = build.sources;
    const int32_t distance = FIELD_LEFT + column - BARRIER_X;
    const Table table = table_for(samples);
    const int32_t n = FIELD_ROWS * samples;
    const int32_t padded = (n + BLOCK - 1) / BLOCK * BLOCK;
    const double amplitude = wide(s.slit_amplitude);
    const SlitSetting rows = rows_setting(s);
    float intensity_sum[FIELD_ROWS] = {};
    const int32_t middle = samples / 2;

    for (int32_t j = 0; j < samples; ++j) {
        fill_table(table, distance + (j + 0.5) / samples - 0.5);
        std::fill(sum_re, sum_re + padded, 0.0f);
        std::fill(sum_im, sum_im + padded, 0.0f);
        for (int32_t slit = 1; slit <= s.slit_count; ++slit) {
            // Sample i of row FIELD_TOP + i / samples lies (row - slit row)
            // samples in: its table entry is at a fixed distance from it.
            const int32_t base = (FIELD_TOP - slit_row(rows, slit)) * samples - table.first;
            add_to(sum_re, table_re + base, padded);
            add_to(sum_im, table_im + base, padded);
        }
        for (int32_t y = 0; y < FIELD_ROWS; ++y) {
            float pixel = 0;
            for (int32_t i = y * samples; i < (y + 1) * samples; ++i)
                pixel += sum_re[i] * sum_re[i] + sum_im[i] * sum_im[i];
            intensity_sum[y] += pixel;
        }
        if (j != middle) continue;
        for (int32_t y = 0; y < FIELD_ROWS; ++y) {
            amplitude_re[y][column] = static_cast<float>(sum_re[y * samples + middle] * amplitude);
            amplitude_im[y][column] = static_cast<float>(sum_im[y * samples + middle] * amplitude);
        }
    }

    float amplitude_top = 0;
    float intensity_top = 0;
    const double scale = amplitude * amplitude / (samples * samples);
    for (int32_t y = 0; y < FIELD_ROWS; ++y) {
        const auto value = static_cast<float>(intensity_sum[y] * scale);
        intensity[y][column] = value;
        intensity_top = std::max(intensity_top, value);
        amplitude_top =
            std::max(amplitude_top, std::hypot(amplitude_re[y][column], amplitude_im[y][column]));
    }
    amplitude_max[column] = amplitude_top;
    intensity_max[column] = intensity_top;
}

// Builds a column with as many samples as its distance needs and the
// table allows; its cost.
int64_t build_next(int32_t column) {
    const int32_t distance = FIELD_LEFT + column - BARRIER_X;
    int32_t samples = samples_per_pixel(build.sources, distance);
    while (samples > 1 && table_for(samples).size > MAX_TABLE)
        --samples;
    const int64_t cost = column_cost(samples, distance);
    build_column(column, samples);
    return cost;
}

}  // namespace

FieldSources field_sources_of(const SlitSetting& setting) {
    FieldSources sources;
    sources.slit_count = std::clamp(setting.slit_count, 0, SLIT_CAPACITY);
    sources.slit_spacing = setting.slit_spacing;
    sources.axis_y = setting.axis_y;
    sources.wave_number = setting.wave_number;
    sources.slit_amplitude = setting.slit_amplitude;
    sources.slit_width = setting.slit_width;
    return sources;
}

double field_wavelength(const FieldSources& sources) {
    const double k = std::abs(wide(sources.wave_number));
    return k > 0 ? 2.0 * std::numbers::pi / k : HUGE_VAL;
}

int32_t samples_per_pixel(const FieldSources& sources, int32_t distance) {
    if (sources.slit_count < 1) return 1;
    const double width = point_slits(sources) ? 0.0 : wide(sources.slit_width);
    const double span =
        (sources.slit_count - 1) * static_cast<double>(sources.slit_spacing) + width;
    // The angle between the outermost sources, at most two radians' worth
    // of difference between their directions.
    const double angle = std::min(2.0, span / std::max(distance, 1));
    const double fringes_per_pixel = angle / field_wavelength(sources);
    // The mean of n samples of a pattern of f fringes a pixel is close to
    // its true mean while n >= 3 f (it aliases at n = f). An odd number, so
    // that one sample is the pixel's middle, where its amplitude is taken.
    const double samples = std::ceil(3.0 * fringes_per_pixel);
    if (!(samples < MAX_PIXEL_SAMPLES)) return MAX_PIXEL_SAMPLES;
    return std::max(1, static_cast<int32_t>(samples) | 1);
}

std::complex<double> opening_mean(const FieldSources& sources, double distance, double height) {
    const double k = wide(sources.wave_number);
    if (point_slits(sources)) return point_wave(k, distance, height);
    const double half = wide(sources.slit_width) / 2.0;
    const Grid grid = grid_for(k, distance, height - half, height + half, 1, PHASE_TOLERANCE);
    std::complex<double> sum;
    for (int32_t j = 0; j < grid.steps; ++j) {
        const double a = grid.lo + j * grid.step;
        sum += piece(k, distance, a, a + grid.step);
    }
    return sum / wide(sources.slit_width);
}

void start_field(const FieldSources& sources) {
    build = Build{};
    build.sources = sources;
    build.started = true;
    std::fill(std::begin(column_done), std::end(column_done), false);
    if (sources.slit_count < 1) return;
    const SlitSetting rows = rows_setting(sources);
    build.first_row = slit_row(rows, 1);
    build.last_row = slit_row(rows, sources.slit_count);
    // Slits spread so far that their offsets do not fit the table: nothing
    // is built (no setting of the keys comes near).
    if (table_for(1).size > MAX_ROW_OFFSETS) build.columns = FIELD_COLUMNS;
}

bool advance_field(int64_t budget) {
    if (!build.started) return false;
    if (build.sources.slit_count < 1) build.columns = FIELD_COLUMNS;
    while (build.columns < FIELD_COLUMNS && budget > 0) {
        if (!column_done[build.columns]) budget -= build_next(build.columns);
        ++build.columns;
    }
    return build.columns >= FIELD_COLUMNS;
}

bool field_column_ready(int32_t x) {
    const int32_t column = x - FIELD_LEFT;
    if (!build.started || column < 0 || column >= FIELD_COLUMNS) return false;
    return column < build.columns || column_done[column];
}

void build_field_column(int32_t x) {
    const int32_t column = x - FIELD_LEFT;
    if (!build.started || build.sources.slit_count < 1 || column < 0 || column >= FIELD_COLUMNS ||
        field_column_ready(x)) {
        return;
    }
    build_next(column);
}

const FieldSources& field_sources() {
    return build.sources;
}

int32_t field_columns_built() {
    return build.started ? build.columns : 0;
}

float field_re(int32_t x, int32_t y) {
    return amplitude_re[y - FIELD_TOP][x - FIELD_LEFT];
}
float field_im(int32_t x, int32_t y) {
    return amplitude_im[y - FIELD_TOP][x - FIELD_LEFT];
}
float field_intensity(int32_t x, int32_t y) {
    return intensity[y - FIELD_TOP][x - FIELD_LEFT];
}
const float* field_re_row(int32_t y) {
    return amplitude_re[y - FIELD_TOP];
}
const float* field_im_row(int32_t y) {
    return amplitude_im[y - FIELD_TOP];
}
const float* field_intensity_row(int32_t y) {
    return intensity[y - FIELD_TOP];
}
float column_amplitude_max(int32_t x) {
    return amplitude_max[x - FIELD_LEFT];
}
float column_intensity_max(int32_t x) {
    return intensity_max[x - FIELD_LEFT];
}
