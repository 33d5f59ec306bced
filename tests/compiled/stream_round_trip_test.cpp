// Trees written to a stream and loaded back: the same tree, whatever the
// scrambling, prefix or sharing.
#include "compiled/tts_compiler.h"
#include "front/parser.h"
#include "front/tree_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace ozra::compiled {
namespace {

using front::TtsBlock;
using value::Ref;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Ref<TtsBlock> Parse(const std::string& text) {
    front::TtsParser parser;
    parser.OnError = [](std::int32_t position, std::int32_t, const std::string& message) {
        throw std::runtime_error("error at " + std::to_string(position) + ": " + message);
    };
    return parser.Parse(text);
}

// A loaded tree has no source positions.
std::string DumpWithoutPositions(const TtsBlock& root) {
    static const std::regex positions(" (end)?@[0-9]+\\+[0-9]+");
    return std::regex_replace(front::DumpTree(root), positions, "");
}

TEST(StreamRoundTrip, EveryTreeOfTheParserCases) {
    int trees = 0;
    for (const auto& entry : std::filesystem::directory_iterator(OZRA_TREES_DIR)) {
        if (entry.path().extension() != ".ozra") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++trees;
        const Ref<TtsBlock> parsed = Parse(ReadFile(entry.path()));
        const std::string plain = TtsCompiler::Save(*parsed, false);
        const Ref<TtsBlock> loaded = TtsCompiler::Load(plain);
        EXPECT_EQ(front::DumpTree(*loaded), DumpWithoutPositions(*parsed));
        // The loaded tree writes the same bytes, so nothing was lost or added.
        EXPECT_EQ(TtsCompiler::Save(*loaded, false), plain);
        const Ref<TtsBlock> unscrambled = TtsCompiler::Load(TtsCompiler::Save(*parsed, true));
        EXPECT_EQ(front::DumpTree(*unscrambled), front::DumpTree(*loaded));
    }
    EXPECT_GT(trees, 0) << "no trees found in " << OZRA_TREES_DIR;
}

TEST(StreamRoundTrip, AStreamAfterAnyPrefixLoads) {
    const Ref<TtsBlock> parsed = Parse("a<.x = 1.>[.= x.]b");
    const std::string stream = TtsCompiler::Save(*parsed);
    const std::string prefix = "\x7f"
                               "ELF and any other bytes \x01\x02\x03";
    EXPECT_EQ(front::DumpTree(*TtsCompiler::Load(prefix + stream)),
              front::DumpTree(*TtsCompiler::Load(stream)));
}

// A function is both a statement of its block and an entry of the block's
// names: it is written once and named by number the second time.
TEST(StreamRoundTrip, AFunctionNamedTwiceIsOneObject) {
    const Ref<TtsBlock> parsed = Parse("<.function f().>x<.end function.>");
    const Ref<TtsBlock> loaded = TtsCompiler::Load(TtsCompiler::Save(*parsed));
    ASSERT_EQ(loaded->Statements.Count(), 1);
    EXPECT_EQ(loaded->Names.Find("f"), loaded->Statements[0]);
    EXPECT_EQ(loaded->Statements[0]->Parent, loaded.Get());
}

} // namespace
} // namespace ozra::compiled
