#include <filesystem>
#include <string>
#include <system_error>

#include "app/program_parts.h"
#include "sim/texts.h"

#ifndef LOCALE_INSTALL_DIR
#define LOCALE_INSTALL_DIR "/usr/share/locale"
#endif

namespace {

// Beside the program in the build tree, else relative to where it is
// installed (a package or cmake --install with any prefix), else the
// configured prefix's. In the browser the page holds the catalogue and
// answers for it (sim/texts.cpp); no folder is read there.
std::string catalogue_folder() {
#ifdef __EMSCRIPTEN__
    return LOCALE_INSTALL_DIR;
#else
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path folder = program.parent_path();
        for (const fs::path& candidate :
             {folder / "locale", folder.parent_path() / "share" / "locale"}) {
            if (fs::is_directory(candidate, error)) return candidate;
        }
    }
    return LOCALE_INSTALL_DIR;
#endif
}

}  // namespace

void choose_program_language() {
    choose_language(catalogue_folder().c_str());
}
