#include "runtime/program_args.h"

#include <unistd.h>

#include <array>

namespace {

ProgramArgs g_args;
int32_t g_text_mode = 0;

std::string executable_path() {
    std::array<char, 4096> buffer{};
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n > 0) return std::string(buffer.data(), static_cast<size_t>(n));
    if (g_args.argc > 0 && g_args.argv != nullptr && g_args.argv[0] != nullptr) {
        return g_args.argv[0];
    }
    return {};
}

}  // namespace

void runtime_start(int argc, char** argv, int32_t text_mode) {
    g_args.argc = argc;
    g_args.argv = argv;
    g_text_mode = text_mode;
}

const ProgramArgs& program_args() {
    return g_args;
}

int32_t number_text_mode() {
    return g_text_mode;
}

std::string program_title() {
    std::string name = executable_path();
    const size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name.erase(0, slash + 1);
    if (name.size() > 127) name.resize(127);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}
