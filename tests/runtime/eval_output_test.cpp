// Output routing: "file" blocks writing targets under "TargetPath", and the
// hooks of a debugged run.
#include "eval_test_support.h"

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

TEST(DebugResult, HooksSeeStatementsFunctionsAndTargets) {
    Ref<front::TtsBlock> root = ParseScript("<.function f() result = 1; end function; var x = f();"
                                            " file ('') target = 't.txt'; = 'kept'; end file.>");
    auto host = MakeRef<TtsHost>();
    TtsDebugResult context(host.Get());
    int entered = 0;
    int left = 0;
    std::string written;
    context.OnEnter = [&](TtsDebugResult&) { ++entered; };
    context.OnLeave = [&](TtsDebugResult&) { ++left; };
    context.OnWrite = [&](TtsDebugResult&, std::string_view text, std::string_view target,
                          bool& handled, bool) {
        written = std::string(target) + "=" + std::string(text);
        handled = true;
    };
    runtime::Run(*root, context);
    EXPECT_GT(entered, 3);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(written, "t.txt=kept");
}

} // namespace
} // namespace ozra::runtime::testing
