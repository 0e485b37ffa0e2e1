#include "runtime/runtime.h"

#include <unistd.h>

#include <array>

namespace {

std::string executable_path() {
    std::array<char, 4096> buffer{};
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n > 0) return std::string(buffer.data(), static_cast<size_t>(n));
    if (runtime_state.args.argc > 0 && runtime_state.args.argv != nullptr &&
        runtime_state.args.argv[0] != nullptr) {
        return runtime_state.args.argv[0];
    }
    return {};
}

}  // namespace

void runtime_start(int argc, char** argv, int32_t text_mode) {
    runtime_state.args.argc = argc;
    runtime_state.args.argv = argv;
    runtime_state.text_mode = text_mode;
}

const ProgramArgs& program_args() {
    return runtime_state.args;
}

int32_t number_text_mode() {
    return runtime_state.text_mode;
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
