#include "app/program_options.h"

#include <cstring>
#include <string>
#include <string_view>

#include "app/version.h"
#include "sim/key_table.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr const char* USAGE =
    "mehrfachspalt [--help | --version | --setting TEXT | --settings FILE]";

constexpr const char* HELP_TOP =
    "Interference of light at one to eight slits, explained with phasors, in a\n"
    "640 x 480 window. The keyboard drives it; \"m\" shows the keys on screen:\n";
constexpr const char* HELP_EXTENSIONS = "Keys beyond the help lines (\"h\" shows them):\n";
constexpr const char* HELP_BOTTOM =
    "Alt+Enter switches to full screen and back.\n"
    "\n"
    "Options:\n"
    "  --help          show this text and exit\n"
    "  --version       show the version and exit\n"
    "  --setting TEXT  start in the setting the text describes, as \"x\" prints it,\n"
    "                  e.g. v1,slits=3,wavelength=7,readouts=on\n"
    "  --settings FILE the settings \"v\" steps through, one a line (lines that are\n"
    "                  blank or start with # skipped), instead of the experiments\n"
    "\n"
    "Environment:\n"
    "  QXGFX       the window driver: SDL (the default) or null, which runs without\n"
    "              a window (end it with Ctrl+C)\n"
    "\n"
    "Pictures, animations and the curve as numbers without a window:\n"
    "mehrfachspalt-snapshot --help.\n";

// The keys from the key table, one line per description that keys share,
// the extension keys after their heading.
std::string help_text() {
    std::string text = HELP_TOP;
    std::string_view last_line;
    bool extensions = false;
    for (const KeyCommand* row : key_table()) {
        if (row->option_help.empty() || row->option_help == last_line) continue;
        if (row->extension && !extensions) {
            text += HELP_EXTENSIONS;
            extensions = true;
        }
        text += "  ";
        text += row->option_help;
        text += "\n";
        last_line = row->option_help;
    }
    return text + HELP_BOTTOM;
}

}  // namespace

std::optional<int> answer_program_options(int argc, char** argv, std::FILE* out, std::FILE* err,
                                          SettingTaker take_setting, SettingTaker take_settings) {
    if (argc <= 1) return std::nullopt;
    const char* first = argv[1];
    const bool list = std::strcmp(first, "--settings") == 0;
    if (list || std::strcmp(first, "--setting") == 0) {
        if (argc < 3) {
            std::fprintf(err, "mehrfachspalt: %s needs a %s (usage: %s)\n", first,
                         list ? "file" : "text", USAGE);
            return EXIT_USAGE;
        }
        if (argc > 3) {
            std::fprintf(err, "mehrfachspalt: unknown argument \"%s\" (usage: %s)\n", argv[3],
                         USAGE);
            return EXIT_USAGE;
        }
        const SettingTaker take = list ? take_settings : take_setting;
        const std::string refused =
            take != nullptr ? take(argv[2]) : std::string("this program takes no list of settings");
        if (refused.empty()) return std::nullopt;
        std::fprintf(err, "mehrfachspalt: %s\n", refused.c_str());
        return EXIT_USAGE;
    }
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
        std::fprintf(out, "Usage: %s\n\n%s", USAGE, help_text().c_str());
    } else {
        std::fprintf(out, "mehrfachspalt %s\n", MEHRFACHSPALT_VERSION);
    }
    // A closed or full standard output is a failure, not a silent success.
    return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
}
