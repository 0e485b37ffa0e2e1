#include "app/program_options.h"

#include <cstring>

#include "app/version.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr const char* USAGE = "mehrfachspalt [--help | --version]";

constexpr const char* HELP =
    "Interference of light at one to eight slits, explained with phasors, in a\n"
    "640 x 480 window. The keyboard drives it; \"m\" shows the keys on screen:\n"
    "  cursor keys, keypad 8 2 4 6   move the detector point and the detector line\n"
    "  9, 3, 5                       detector point to the top row, the bottom row, the axis\n"
    "  7, 1                          detector line onto the barrier, back to x 560\n"
    "  g, k                          one slit more, one fewer (1 to 8)\n"
    "  s, w                          single steps (each key a frame), resume\n"
    "  a                             next slit spacing and wavelength\n"
    "  i                             intensity curve at the right edge on, off\n"
    "  m                             help lines on, off\n"
    "  e                             quit (so does the window's close button)\n"
    "Keys beyond the help lines (\"h\" shows them):\n"
    "  +, -                          wavelength alone one step larger, smaller\n"
    "  Page Up, Page Down            slit spacing alone one step larger, smaller\n"
    "  r                             readouts at the detector on, off\n"
    "  c                             keep the curves of earlier settings on, off\n"
    "  p                             projector colours (3:1 against white) on, off\n"
    "  h                             help lines of these keys on, off\n"
    "Alt+Enter switches to full screen and back.\n"
    "\n"
    "Options:\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Environment:\n"
    "  QXGFX       the window driver: SDL (the default) or null, which runs without\n"
    "              a window (end it with Ctrl+C)\n"
    "\n"
    "Pictures, animations and the curve as numbers without a window:\n"
    "mehrfachspalt-snapshot --help.\n";

}  // namespace

std::optional<int> answer_program_options(int argc, char** argv, std::FILE* out, std::FILE* err) {
    if (argc <= 1) return std::nullopt;
    const char* first = argv[1];
    const char* unexpected = argc > 2 ? argv[2] : nullptr;
    if (std::strcmp(first, "--help") != 0 && std::strcmp(first, "--version") != 0) {
        unexpected = first;
    }
    if (unexpected != nullptr) {
        std::fprintf(err, "mehrfachspalt: unknown argument \"%s\" (usage: %s)\n", unexpected,
                     USAGE);
        return EXIT_USAGE;
    }
    if (std::strcmp(first, "--help") == 0) {
        std::fprintf(out, "Usage: %s\n\n%s", USAGE, HELP);
    } else {
        std::fprintf(out, "mehrfachspalt %s\n", MEHRFACHSPALT_VERSION);
    }
    // A closed or full standard output is a failure, not a silent success.
    return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
}
