#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "lessons/prepared_settings.h"

// The page lists the lesson's experiments as "v" steps through them: the
// same names (translated by the same catalogues) and the same settings, in
// the same order.

namespace {

TEST(ExperimentsPage, ThePageListsTheProgramsExperiments) {
    std::ifstream in(SOURCE_DIR "/web/index.html");
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex row(R"(\[N_\('([^']*)'\), '(v1[^']*)'\])");
    std::vector<std::string> listed;
    for (auto at = std::sregex_iterator(page.begin(), page.end(), row);
         at != std::sregex_iterator(); ++at)
        listed.push_back((*at)[1].str() + " = " + (*at)[2].str());
    std::vector<std::string> experiments;
    for (const Experiment& experiment : lesson_experiments())
        experiments.push_back(std::string(experiment.name) + " = " + experiment.text);
    EXPECT_EQ(listed, experiments);
}

}  // namespace
