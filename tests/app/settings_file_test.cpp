#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

#include <unistd.h>

#include "app/program_options.h"
#include "app/program_parts.h"
#include "lessons/prepared_settings.h"
#include "sim/hooks.h"

// A teacher's list of settings (--settings FILE): read at the start, or
// refused in one line naming what is wrong, with status 2, before any window.

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        lessons_ = assemble_program();
        folder_ = std::filesystem::temp_directory_path() /
                  ("mehrfachspalt-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        use_own_settings(*lessons_, {});
        install_sim_hooks(nullptr);
        std::filesystem::remove_all(folder_);
    }
    std::string write(const char* name, const std::string& contents) const {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }
    // The status and what the options said on standard error.
    static std::pair<std::optional<int>, std::string> run(const std::string& path) {
        char arg0[] = "mehrfachspalt";
        char arg1[] = "--settings";
        std::string file = path;
        char* argv[] = {arg0, arg1, file.data(), nullptr};
        std::FILE* err = std::tmpfile();
        const auto status = answer_program_options(3, argv, stdout, err, take_start_setting,
                                                   take_prepared_settings);
        std::rewind(err);
        std::string said;
        for (int c = std::fgetc(err); c != EOF; c = std::fgetc(err))
            said += static_cast<char>(c);
        std::fclose(err);
        return {status, said};
    }
    LessonState* lessons_ = nullptr;
    std::filesystem::path folder_;
};

TEST_F(SettingsFile, AGoodListIsTakenAndABadOneRefusedInOneLine) {
    struct Case {
        const char* what;
        std::string path;
        const char* said;  // a part of the one line; "" when taken
    };
    const Case cases[] = {
        {"a list", write("good", "# Gitter\nv1,slits=8\n\nv1,slits=3\n"), ""},
        {"missing", (folder_ / "none").string(), "No such file"},
        {"a folder", folder_.string(), "a folder, not a file"},
        {"binary", write("binary", std::string("v1\0\x7f", 4)), "not a text"},
        {"a bad line", write("bad", "v1\nv1,width=7\n"), "line 2: setting: width=7 is not one of"},
        {"empty", write("empty", ""), "no setting in it"},
        {"too long", write("long", std::string(2 << 20, '#')), "longer than 1 MiB"},
    };
    for (const Case& c : cases) {
        const auto [status, said] = run(c.path);
        if (*c.said == '\0') {
            EXPECT_FALSE(status.has_value()) << c.what << ": " << said;
            EXPECT_EQ(lessons_->prepared.own_count, 2) << c.what;
            continue;
        }
        EXPECT_EQ(status, 2) << c.what;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
        EXPECT_TRUE(said.starts_with("mehrfachspalt: settings: ")) << c.what << ": " << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << c.what << ": one line";
    }
}

}  // namespace
