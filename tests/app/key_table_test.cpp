#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/program_options.h"
#include "app/program_parts.h"
#include "lessons/extra_keys_lines.h"
#include "sim/hooks.h"
#include "sim/key_table.h"

// Each place that describes the keys against the key table: every key the
// table marks for a place is there, and the place names no key the table
// does not mark for it.

namespace {

class KeyTable : public testing::Test {
protected:
    void SetUp() override { assemble_program(); }
    void TearDown() override { install_sim_hooks(nullptr); }

    static std::string help_text() {
        char arg0[] = "mehrfachspalt";
        char arg1[] = "--help";
        char* argv[] = {arg0, arg1, nullptr};
        std::FILE* out = std::tmpfile();
        EXPECT_EQ(answer_program_options(2, argv, out, stderr, take_start_setting), 0);
        std::rewind(out);
        std::string text;
        for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out))
            text += static_cast<char>(c);
        std::fclose(out);
        return text;
    }
};

TEST_F(KeyTable, EveryKeyHasOneRow) {
    std::set<std::string_view> keys;
    for (const KeyCommand* row : key_table())
        EXPECT_TRUE(keys.insert(row->key).second) << "twice: " << row->label;
    EXPECT_EQ(keys.size(), 43u);
}

TEST_F(KeyTable, HelpOptionListsTheMarkedKeysOriginalFirst) {
    const std::string text = help_text();
    const size_t extensions = text.find("Keys beyond the help lines");
    ASSERT_NE(extensions, std::string::npos);
    std::set<std::string> marked;
    for (const KeyCommand* row : key_table()) {
        if (row->option_help.empty()) continue;
        const std::string line = "\n  " + std::string(row->option_help) + "\n";
        marked.insert(line.substr(1, line.size() - 2));
        const size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_EQ(at > extensions, row->extension) << line;
    }
    // Every key line of the text (two spaces, then a key) is a row's.
    std::istringstream lines(text);
    std::string line;
    int32_t key_lines = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  ", 0) != 0 || line.rfind("  --", 0) == 0 || line.rfind("   ", 0) == 0 ||
            line.rfind("  QXGFX", 0) == 0)
            continue;
        EXPECT_TRUE(marked.count(line) == 1) << "no row for: " << line;
        ++key_lines;
    }
    EXPECT_EQ(key_lines, static_cast<int32_t>(marked.size()));
}

// The bracketed names of a help line: "[g]/[k] -> ..." names g and k.
std::multiset<std::string> bracketed(std::string_view line) {
    std::multiset<std::string> names;
    const std::string text(line);
    const std::regex name(R"(\[([^\]]+)\])");
    for (auto m = std::sregex_iterator(text.begin(), text.end(), name); m != std::sregex_iterator();
         ++m)
        names.insert((*m)[1]);
    return names;
}

TEST_F(KeyTable, ScreenHelpLinesNameTheirRowsKeys) {
    std::vector<std::string_view> lines(help_menu_lines().begin(), help_menu_lines().end());
    lines.insert(lines.end(), std::begin(EXTRA_KEYS_LINES), std::end(EXTRA_KEYS_LINES));
    for (const std::string_view line : lines) {
        std::set<std::string> labels;
        for (const KeyCommand* row : key_table()) {
            if (row->screen_help == line) labels.insert(std::string(row->label));
        }
        const std::multiset<std::string> named = bracketed(line);
        EXPECT_EQ(std::set<std::string>(named.begin(), named.end()), labels) << line;
    }
    for (const KeyCommand* row : key_table()) {
        if (row->screen_help.empty()) continue;
        EXPECT_NE(std::find(lines.begin(), lines.end(), row->screen_help), lines.end())
            << "not shown: " << row->screen_help;
    }
}

TEST_F(KeyTable, PageButtonsAreTheMarkedKeys) {
    std::ifstream page(SOURCE_DIR "/web/index.html");
    ASSERT_TRUE(page.is_open());
    const std::string html((std::istreambuf_iterator<char>(page)),
                           std::istreambuf_iterator<char>());
    std::multiset<std::string> buttons;
    const std::regex entry(R"(\{key: '([^']+)', code: ')");
    for (auto m = std::sregex_iterator(html.begin(), html.end(), entry);
         m != std::sregex_iterator(); ++m)
        buttons.insert((*m)[1]);
    std::multiset<std::string> marked;
    for (const KeyCommand* row : key_table()) {
        if (!row->page_button.empty()) marked.insert(std::string(row->page_button));
    }
    EXPECT_EQ(buttons, marked);
}

}  // namespace
