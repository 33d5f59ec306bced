// The man page docs/ozra.1 and "ozra --help" name the same options, so
// neither can gain an option the other lacks.
#include "../support/run_program.h"
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

namespace ozra::docs {
namespace {

// Every option word («-T», «--target», «-MA») the text names.
std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((^|[\s,\[(])(--?[A-Za-z][-A-Za-z]*))");
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        options.insert((*it)[2]);
    return options;
}

// The man page as it reads: font changes dropped, "\-" as "-".
std::string Plain(std::string roff) {
    roff = std::regex_replace(roff, std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(roff, std::regex(R"(\\-)"), "-");
}

TEST(Documentation, ManPageNamesTheOptionsOfTheHelp) {
    const std::string help = testing::RunProgram(OZRA_PROGRAM, {"--help"},
                                                 std::filesystem::temp_directory_path().string())
                                 .Out;
    const std::string page =
        Plain(platform::ReadWholeFile(std::string(OZRA_SOURCE_DIR) + "/docs/ozra.1"));
    const std::set<std::string> inHelp = OptionsIn(help);
    EXPECT_TRUE(inHelp.count("--target") && inHelp.count("-o"));
    EXPECT_EQ(OptionsIn(page), inHelp);
}

} // namespace
} // namespace ozra::docs
