// mehrfachspalt-snapshot: the simulation without a window, its frames
// written as a PNG picture, an animated GIF and the intensity curve as
// numbers (see SNAPSHOT_HELP, or --help).
//
// The frames run without waiting between them. The picture is the screen
// after those frames; the animation holds every frame as the window shows
// it, at the end of the frame's drawing; the curve is read after the frames
// (and the sweep, if asked for).

#include <cstdio>
#include <string>

#include "app/curve_csv.h"
#include "app/gif_file.h"
#include "app/png_file.h"
#include "app/program_parts.h"
#include "app/snapshot_options.h"
#include "app/tone_recording.h"
#include "app/typed_frames.h"
#include "app/version.h"
#include "gfx/gfx.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "sim/sim.h"

namespace {

constexpr int EXIT_FAILURE_TO_WRITE = 1;
constexpr int EXIT_USAGE = 2;

int fail(const std::string& problem) {
    std::fprintf(stderr, "mehrfachspalt-snapshot: %s\n", problem.c_str());
    return EXIT_FAILURE_TO_WRITE;
}

IndexedPicture screen_picture() {
    const ScreenContext& screen = *active_screen();
    return IndexedPicture{
        .pixels = screen.framebuffer,
        .width = screen.width,
        .height = screen.height,
        .pitch = screen.pitch,
        .palette = screen.palette.get(),
        .colours = 16,
    };
}

// What a window shows: the picture at the last present point, the end of a
// frame's drawing before its key is handled (the screen as it is before the
// first).
IndexedPicture presented_picture() {
    const ScreenContext& screen = *active_screen();
    if (screen.presented == nullptr) return screen_picture();
    return IndexedPicture{
        .pixels = screen.presented->pixels.get(),
        .width = screen.width,
        .height = screen.height,
        .pitch = screen.pitch,
        .palette = screen.presented->palette,
        .colours = 16,
    };
}

// Runs the frames, adding each to the animation if there is one, as the
// window shows it. A frame after the keys ran out in single-step mode shows
// the standing picture.
std::string run_frames(int32_t frames, GifAnimation* animation, bool tone) {
    bool running = true;
    for (int32_t frame = 0; frame < frames; ++frame) {
        if (running) running = run_typed_frame();
        if (tone) record_tone_frame();
        if (animation != nullptr) {
            if (std::string problem = gif_add_frame(animation, presented_picture());
                !problem.empty()) {
                return problem;
            }
        }
    }
    return "";
}

int print_and_exit(const char* text) {
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : EXIT_FAILURE_TO_WRITE;
}

}  // namespace

int main(int argc, char** argv) {
    SnapshotOptions options;
    const ParsedSnapshot parsed = parse_snapshot_options(argc, argv, &options);
    switch (parsed.request) {
        case SnapshotRequest::USAGE_ERROR:
            std::fprintf(stderr, "mehrfachspalt-snapshot: %s (usage: %s)\n", parsed.problem.c_str(),
                         SNAPSHOT_USAGE);
            return EXIT_USAGE;
        case SnapshotRequest::HELP:
            std::printf("Usage: %s\n\n", SNAPSHOT_USAGE);
            return print_and_exit(SNAPSHOT_HELP);
        case SnapshotRequest::VERSION:
            return print_and_exit("mehrfachspalt-snapshot " MEHRFACHSPALT_VERSION "\n");
        case SnapshotRequest::RUN:
            break;
    }

    assemble_program();
    // A setting the keys cannot make is refused before anything is drawn.
    if (options.setting_given) {
        if (const std::string refused = take_start_setting(options.setting.c_str());
            !refused.empty()) {
            std::fprintf(stderr, "mehrfachspalt-snapshot: %s\n", refused.c_str());
            return EXIT_USAGE;
        }
    }
    choose_program_language();
    runtime_start(argc, argv, 0);
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        return fail("the screen could not be made");
    }
    const bool tone = !options.tone.empty();
    if (tone) start_tone_recording();
    simulation_start();
    open_start_setting();

    GifAnimation animation;
    GifAnimation* gif = options.animation.empty() ? nullptr : &animation;
    // The animation's file is opened first, so that a folder that cannot
    // take it is reported before any frame runs.
    std::string problem = gif ? gif_begin(options.animation, screen_picture(), gif) : "";
    type_keys(options.keys);
    if (problem.empty()) problem = run_frames(options.frames, gif, tone);
    if (problem.empty() && options.sweep) {
        const std::vector<std::string> keys = sweep_keys();
        type_keys(keys);
        problem = run_frames(static_cast<int32_t>(keys.size()) + 1, gif, tone);
    }
    if (gif != nullptr) {
        if (problem.empty()) {
            problem = gif_finish(gif);
        } else {
            gif_abandon(gif);
        }
    }
    if (problem.empty() && !options.picture.empty()) {
        problem = write_png(options.picture, screen_picture());
    }
    if (problem.empty() && !options.curve.empty()) {
        problem = write_curve_csv(options.curve, model.axis_y);
    }
    if (problem.empty() && tone) problem = write_tone_wav(options.tone, recorded_tone());
    return problem.empty() ? 0 : fail(problem);
}
