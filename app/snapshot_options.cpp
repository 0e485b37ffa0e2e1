#include "app/snapshot_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "app/typed_frames.h"

const char* const SNAPSHOT_USAGE =
    "mehrfachspalt-snapshot [--frames N] [--keys TEXT] [--animate OUT.gif] [--curve OUT.csv] "
    "[--tone OUT.wav] [--sweep] [--setting TEXT] [OUT.png]";

const char* const SNAPSHOT_HELP =
    "Runs the simulation of mehrfachspalt without a window, for N frames (1 by\n"
    "default) without waiting between them, and writes what it shows.\n"
    "\n"
    "  OUT.png            the picture after the frames, indexed with the screen's colours\n"
    "  --frames N         how many frames run: 1 to 1000000 (12000 with --animate or\n"
    "                     --tone)\n"
    "  --keys TEXT        keys typed one a frame from the first frame on; {up}, {down},\n"
    "                     {left} and {right} are the cursor keys, {pgup} and {pgdn}\n"
    "                     Page Up and Page Down. In single-step mode (\"s\") each\n"
    "                     further key is a frame; when they run out there, the\n"
    "                     picture stands\n"
    "  --animate OUT.gif  every frame as a looping GIF at 20 frames a second\n"
    "  --curve OUT.csv    after the frames, the intensity samples on the screen, one line\n"
    "                     a row: row, offset above the axis, length in pixels, value\n"
    "  --tone OUT.wav     the detector's tone (\"l\" turns it on), 50 ms of it a frame:\n"
    "                     48 kHz, 16-bit, mono; silence while it is off\n"
    "  --sweep            after the frames, the curve switched on (\"i\") and the detector\n"
    "                     moved from the top row to the bottom one row a frame, so that\n"
    "                     the picture, the animation and the curve hold the whole curve\n"
    "  --setting TEXT     the setting the frames start in, as \"x\" prints it, e.g.\n"
    "                     v1,slits=3,wavelength=7,readouts=on\n"
    "  --help, --version  this text, the version\n"
    "\n"
    "At least one output is needed. Each file appears whole or not at all. Exit\n"
    "status: 0 done, 1 a file could not be written, 2 wrong arguments.\n"
    "\n"
    "Example: mehrfachspalt-snapshot --frames 40 --keys \"gggggg{up}{up}im\" shot.png\n";

namespace {

// A whole number 1..MAX_FRAMES, nothing else.
bool parse_frames(const char* text, int32_t* frames) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > MAX_FRAMES) return false;
    *frames = static_cast<int32_t>(value);
    return true;
}

ParsedSnapshot usage_error(std::string problem) {
    return ParsedSnapshot{SnapshotRequest::USAGE_ERROR, std::move(problem)};
}

// The value of an option naming a file: a name, not the next option.
std::string file_value(int argc, char** argv, int* i, std::string* value) {
    const char* option = argv[*i];
    if (*i + 1 >= argc) return std::string(option) + " needs a file name";
    const char* name = argv[++*i];
    if (name[0] == '-') return std::string(option) + " needs a file name, not " + name;
    *value = name;
    return "";
}

}  // namespace

ParsedSnapshot parse_snapshot_options(int argc, char** argv, SnapshotOptions* options) {
    bool frames_given = false, keys_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string problem;
        if (argument == "--help") return ParsedSnapshot{SnapshotRequest::HELP, ""};
        if (argument == "--version") return ParsedSnapshot{SnapshotRequest::VERSION, ""};
        if (argument == "--frames") {
            if (frames_given) return usage_error("--frames given twice");
            frames_given = true;
            if (i + 1 >= argc) return usage_error("--frames needs a number");
            if (!parse_frames(argv[++i], &options->frames)) {
                return usage_error(std::string("--frames takes a whole number from 1 to 1000000, "
                                               "not \"") +
                                   argv[i] + "\"");
            }
        } else if (argument == "--keys") {
            if (keys_given) return usage_error("--keys given twice");
            keys_given = true;
            if (i + 1 >= argc) return usage_error("--keys needs a text");
            problem = split_keys(argv[++i], &options->keys);
        } else if (argument == "--animate" || argument == "--curve" || argument == "--tone") {
            std::string& target = argument == "--animate" ? options->animation
                                  : argument == "--curve" ? options->curve
                                                          : options->tone;
            if (!target.empty()) return usage_error(argument + " given twice");
            problem = file_value(argc, argv, &i, &target);
        } else if (argument == "--setting") {
            if (options->setting_given) return usage_error("--setting given twice");
            options->setting_given = true;
            if (i + 1 >= argc) return usage_error("--setting needs a text");
            options->setting = argv[++i];
        } else if (argument == "--sweep") {
            if (options->sweep) return usage_error("--sweep given twice");
            options->sweep = true;
        } else if (argument[0] == '-' && argument.size() > 1) {
            return usage_error("unknown option " + argument);
        } else if (!options->picture.empty()) {
            return usage_error("only one output file can be given");
        } else {
            options->picture = argument;
        }
        if (!problem.empty()) return usage_error(problem);
    }
    const std::string& png = options->picture;
    const std::string& gif = options->animation;
    const std::string& csv = options->curve;
    const std::string& wav = options->tone;
    if (png.empty() && gif.empty() && csv.empty() && wav.empty()) {
        return usage_error("no output file given");
    }
    const std::string* outputs[] = {&png, &gif, &csv, &wav};
    for (size_t a = 0; a < std::size(outputs); ++a) {
        for (size_t b = a + 1; b < std::size(outputs); ++b) {
            if (!outputs[a]->empty() && *outputs[a] == *outputs[b]) {
                return usage_error("one file cannot take two outputs");
            }
        }
    }
    if (!gif.empty() && options->frames > MAX_ANIMATION_FRAMES) {
        return usage_error("--animate takes at most 12000 frames (10 minutes), not " +
                           std::to_string(options->frames));
    }
    if (!wav.empty() && options->frames > MAX_TONE_FRAMES) {
        return usage_error("--tone takes at most 12000 frames (10 minutes), not " +
                           std::to_string(options->frames));
    }
    return ParsedSnapshot{};
}
