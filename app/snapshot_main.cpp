// mehrfachspalt-snapshot [--frames N] [--keys TEXT] OUT.png
//
// Runs the simulation without a window for N frames (1 by default), without
// waiting between them, and writes the screen as an indexed-colour PNG with
// the screen's palette: the picture the program shows after those frames.
// The characters of TEXT are typed one per frame from the first frame on,
// through the key path the window uses; {up}, {down}, {left} and {right}
// stand for the cursor keys. In single-step mode ("s") each further key
// advances one frame, as in the window; when the keys run out there, the
// picture is taken as it stands.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/png_file.h"
#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"
#include "sim/sim.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr int32_t MAX_FRAMES = 1000000;

struct Options {
    int32_t frames = 1;
    std::vector<std::string> keys;  // one key per frame
    std::string output;
};

// The cursor keys as the window reports them: grey keys with their set-1
// scan codes.
struct NamedKey {
    const char* name;
    int32_t scan;
};
constexpr NamedKey CURSOR_KEYS[] = {
    {"{up}", 0x48}, {"{down}", 0x50}, {"{left}", 0x4B}, {"{right}", 0x4D}};

int usage(const char* problem) {
    std::fprintf(stderr,
                 "mehrfachspalt-snapshot: %s "
                 "(usage: mehrfachspalt-snapshot [--frames N] [--keys TEXT] OUT.png)\n",
                 problem);
    return EXIT_USAGE;
}

// A whole number 1..MAX_FRAMES, nothing else.
bool parse_frames(const char* text, int32_t* frames) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > MAX_FRAMES) return false;
    *frames = static_cast<int32_t>(value);
    return true;
}

// Splits TEXT into keys: a cursor key's name, or one UTF-8 character.
std::string parse_keys(const std::string& text, std::vector<std::string>* keys) {
    size_t i = 0;
    while (i < text.size()) {
        size_t length = 1;
        for (const NamedKey& key : CURSOR_KEYS) {
            if (text.compare(i, std::strlen(key.name), key.name) == 0)
                length = std::strlen(key.name);
        }
        if (length == 1) {
            while (i + length < text.size() && (text[i + length] & 0xC0) == 0x80)
                ++length;
        }
        keys->push_back(text.substr(i, length));
        i += length;
    }
    for (const std::string& key : *keys) {
        // "e" would end the program before the picture is taken.
        if (key == "e") return "--keys cannot contain \"e\", which ends the program";
    }
    return "";
}

// Answers "" or what is wrong with the arguments.
std::string parse(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--frames") == 0) {
            if (i + 1 >= argc) return "--frames needs a number";
            if (!parse_frames(argv[++i], &options->frames)) {
                return std::string("--frames takes a whole number from 1 to 1000000, not \"") +
                       argv[i] + "\"";
            }
        } else if (std::strcmp(argument, "--keys") == 0) {
            if (i + 1 >= argc) return "--keys needs a text";
            if (std::string problem = parse_keys(argv[++i], &options->keys); !problem.empty()) {
                return problem;
            }
        } else if (argument[0] == '-' && argument[1] != '\0') {
            return std::string("unknown option ") + argument;
        } else if (!options->output.empty()) {
            return "only one output file can be given";
        } else {
            options->output = argument;
        }
    }
    if (options->output.empty()) return "no output file given";
    return "";
}

void type_key(const std::string& key) {
    for (const NamedKey& named : CURSOR_KEYS) {
        if (key == named.name) {
            key_down(named.scan, 0, KEY_EXTENDED);
            return;
        }
    }
    key_text(key.c_str(), 0);
}

// The keys still to type, for the single-step wait, which cannot wait for a
// key nobody will press.
const std::vector<std::string>* pending_keys = nullptr;
size_t next_key = 0;

bool type_next_key() {
    if (pending_keys == nullptr || next_key >= pending_keys->size()) return false;
    type_key((*pending_keys)[next_key++]);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::string problem = parse(argc, argv, &options); !problem.empty()) {
        return usage(problem.c_str());
    }

    runtime_start(argc, argv, 0);
    if (gfx_screen(12, 8, 0, SCREEN_FLAG_NULL_DRIVER, 0) != 0) {
        std::fprintf(stderr, "mehrfachspalt-snapshot: the screen could not be made\n");
        return 1;
    }
    simulation_start();
    pending_keys = &options.keys;
    set_step_feed(type_next_key);
    for (int32_t frame = 0; frame < options.frames; ++frame) {
        // Running freely, one key a frame; stepping, the wait takes them.
        if (!model.stepping) type_next_key();
        run_frame();
        handle_key();
        if (model.stepping && next_key >= options.keys.size()) break;
    }

    const ScreenContext& screen = *active_screen();
    const IndexedPicture picture{
        .pixels = screen.framebuffer,
        .width = screen.width,
        .height = screen.height,
        .pitch = screen.pitch,
        .palette = screen.palette.get(),
        .colours = 16,
    };
    if (const std::string error = write_png(options.output, picture); !error.empty()) {
        std::fprintf(stderr, "mehrfachspalt-snapshot: %s\n", error.c_str());
        return EXIT_USAGE;
    }
    return 0;
}
