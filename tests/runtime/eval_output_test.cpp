// Output routing: "file" blocks writing targets under "TargetPath", and the
// hooks of a debugged run.
#include "eval_test_support.h"

#include "front/line_map.h"
#include "runtime/result.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ozra::runtime::testing {

using namespace value;
namespace {

namespace fs = std::filesystem;

class TargetFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("ozra_eval_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Run(std::string_view script) {
        Ref<front::TtsBlock> root = ParseScript(script);
        auto host = MakeRef<TtsHost>();
        host->SetVariable("TargetPath", TtsValue::FromText(folder_.string()));
        TtsResult context(host.Get());
        runtime::Run(*root, context);
        return context.Text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(folder_ / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
};

TEST_F(TargetFiles, FileBlockWritesItsTextToTheTargetOnly) {
    EXPECT_EQ(Run("a<.file ('') target = 'sub/x.txt'; .>body<.= 1.><. end file.>b"), "ab");
    EXPECT_EQ(Read("sub/x.txt"), "body1");
}

TEST_F(TargetFiles, ExistingTargetIsKeptWithoutOverwriteFlag) {
    Run("<.file ('') target = 'k.txt'; = 'first'; end file.>");
    Run("<.file ('') target = 'k.txt'; = 'second'; end file.>");
    EXPECT_EQ(Read("k.txt"), "first");
    Run("<.file ('', true) target = 'k.txt'; = 'third'; end file.>");
    EXPECT_EQ(Read("k.txt"), "third");
}

TEST_F(TargetFiles, FailingBodyWritesNothing) {
    EXPECT_THROW(Run("<.file ('') target = 'f.txt'; = 'x'; = 1 / 0; end file.>"), EtsException);
    EXPECT_FALSE(fs::exists(folder_ / "f.txt"));
}

// The enter hook sees every statement before it runs, every function when
// its body starts and every loop between iterations; the leave hook every
// function end; the write hook every target.
TEST(DebugResult, HooksSeeStatementsFunctionsAndTargets) {
    const std::string script = "<.function f()\n"
                               "  result = 1\n"
                               "end function\n"
                               "var x = f()\n"
                               "for (i = 1 to 2)\n"
                               "  x = x + i\n"
                               "end for\n"
                               "file ('') target = 't.txt'; = 'kept'; end file.>";
    Ref<front::TtsBlock> root = ParseScript(script);
    const front::LineMap lines(script);
    auto host = MakeRef<TtsHost>();
    TtsDebugResult context(host.Get());
    std::vector<std::string> hooks;
    auto record = [&](const char* hook, TtsDebugResult& at) {
        const auto* node = at.CurrentNode;
        const auto* statement = front::NodeCast<front::TtsStatement>(node);
        const front::LineColumn place = lines.Locate(statement ? statement->Position : 0);
        hooks.push_back(std::string(hook) + " " + std::string(node->ClassName()) + " " +
                        std::to_string(place.Line) + ":" + std::to_string(place.Column));
    };
    context.OnEnter = [&](TtsDebugResult& at) { record("enter", at); };
    context.OnLeave = [&](TtsDebugResult& at) { record("leave", at); };
    std::string written;
    context.OnWrite = [&](TtsDebugResult&, std::string_view text, std::string_view target,
                          bool& handled, bool) {
        written = std::string(target) + "=" + std::string(text);
        handled = true;
    };
    runtime::Run(*root, context);
    EXPECT_EQ(hooks, (std::vector<std::string>{
                         "enter TtsVarDefine 4:1",
                         "enter TtsFunctionNode 1:3",
                         "enter TtsAssign 2:3",
                         "leave TtsFunctionNode 1:3",
                         "enter TtsForNode 5:1",
                         "enter TtsAssign 6:3",
                         "enter TtsForNode 5:1",
                         "enter TtsAssign 6:3",
                         "enter TtsForNode 5:1",
                         "enter TtsFileNode 8:1",
                         "enter TtsAssign 8:11",
                         "enter TtsOutput 8:29",
                     }));
    EXPECT_EQ(written, "t.txt=kept");
}

} // namespace
} // namespace ozra::runtime::testing
