#include "app/program_parts.h"

#include "sim/hooks.h"
#include "sim/sim.h"

#if LESSON_TOOLS
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

#include "lessons/lessons.h"
#include "lessons/prepared_settings.h"
#include "lessons/setting_text.h"
#endif

#if LESSON_TOOLS
namespace {

// The lesson tools' state: the program's, handed to them with every hook.
LessonState lessons;

}  // namespace
#endif

LessonState* assemble_program() {
#if LESSON_TOOLS
    static const SimHooks LESSON_HOOKS = {
        .context = &lessons,
        .reset = reset_lessons,
        .scene_cleared = lessons_scene_cleared,
        .sample_drawn = lessons_sample_drawn,
        .frame_begun = lessons_frame_begun,
        .frame_drawn = lessons_frame_drawn,
        .after_key = lessons_after_key,
        .curve_intensity = lesson_curve_intensity,
        .keys = lesson_keys(),
    };
    install_sim_hooks(&LESSON_HOOKS);
    return &lessons;
#else
    // The core alone: the program as it has always been, in which the
    // lesson keys do nothing.
    install_sim_hooks(nullptr);
    return nullptr;
#endif
}

#if LESSON_TOOLS
namespace {

std::optional<Setting> start_setting_given;

}  // namespace

std::string take_start_setting(const char* text) {
    const ParsedSetting read = parse_setting(text);
    if (!read.error.empty()) return read.error;
    start_setting_given = read.setting;
    set_start_action(open_start_setting);
    return "";
}

void open_start_setting() {
    if (start_setting_given) open_setting(lessons, *start_setting_given);
}

std::string take_prepared_settings(const char* path) {
    static std::vector<Setting> own;
    const std::string name = std::string("settings: ") + path + ": ";
    std::error_code failure;
    if (std::filesystem::is_directory(path, failure)) return name + "a folder, not a file";
    std::ifstream in(path, std::ios::binary);
    if (!in) return name + std::strerror(errno);
    // A list of settings is a few lines; anything far longer is no such list.
    constexpr std::streamsize MOST = 1 << 20;
    std::string contents(static_cast<size_t>(MOST) + 1, '\0');
    in.read(contents.data(), MOST + 1);
    if (in.bad()) return name + "cannot be read";
    contents.resize(static_cast<size_t>(in.gcount()));
    if (static_cast<std::streamsize>(contents.size()) > MOST) return name + "longer than 1 MiB";
    if (contents.find('\0') != std::string::npos) return name + "not a text (it holds zero bytes)";
    SettingList list = read_setting_list(contents);
    if (!list.error.empty()) return name + list.error;
    own = std::move(list.settings);
    use_own_settings(lessons, own);
    return "";
}
#else
std::string take_start_setting(const char*) {
    return "setting: this build has no lesson tools, whose settings a text names";
}

void open_start_setting() {}

std::string take_prepared_settings(const char*) {
    return "settings: this build has no lesson tools, whose settings a file names";
}
#endif
