// The runner and the desktop: it links no toolkit, loads the desktop module
// from beside itself only when a script needs it, and without a usable
// display a dialog call ends the run with a clear, placed error instead of
// an abort.
#include "../support/run_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace ozra {
namespace {

class DesktopRunner : public ::testing::Test {
  protected:
    DesktopRunner() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ozra-desktop-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
    }
    ~DesktopRunner() override { std::filesystem::remove_all(folder_); }

    testing::ProgramRun Run(const std::string& script, std::vector<std::string> environment) {
        std::ofstream(folder_ + "/s.ozra") << script;
        environment.insert(environment.end(), {"XDG_RUNTIME_DIR=" + folder_, "HOME=" + folder_});
        return testing::RunProgram(OZRA_PROGRAM, {"s.ozra"}, folder_,
                                   testing::StandardOutput::Captured, environment);
    }

    std::string folder_;
};

TEST_F(DesktopRunner, WithoutADisplayADialogIsAPlacedError) {
    const struct {
        std::vector<std::string> Environment;
        const char* Error;
    } cases[] = {
        {{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
         "s.ozra:2:3: Dialog: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n"},
        {{"DISPLAY=:731", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"},
         "s.ozra:2:3: Dialog: cannot open the display \":731\"\n"},
        {{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb"},
         "s.ozra:2:3: Dialog: cannot open the display \"\"\n"},
        {{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=nowhere"},
         "s.ozra:2:3: Dialog: the Qt platform \"nowhere\" is not installed\n"},
    };
    for (const auto& c : cases) {
        const testing::ProgramRun run =
            Run("before\n<.System.Dialog.ColorDialog(\"\").>after\n", c.Environment);
        EXPECT_EQ(run.Signal, 0);
        EXPECT_EQ(run.ExitStatus, 1);
        EXPECT_EQ(run.Out, "before\n");
        EXPECT_EQ(run.Err, c.Error);
    }
}

TEST_F(DesktopRunner, LoadsTheModuleFromBesideItselfOnlyWhenNeeded) {
    const testing::ProgramRun clipboard =
        Run("<.System.Utility.CopyToClipboard(\"\xC3\xA9t\xC3\xA9\").>"
            "<.= System.Utility.GetClipboardText().>",
            {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(clipboard.Err, "");
    EXPECT_EQ(clipboard.Out, "\xC3\xA9t\xC3\xA9");
    // Without a display, a script that shows nothing runs as before, title
    // and all.
    const testing::ProgramRun plain = Run("<.System.App.Title = \"T\".><.= System.App.Title.>",
                                          {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(plain.ExitStatus, 0);
    EXPECT_EQ(plain.Out, "T");
}

TEST_F(DesktopRunner, TheProgramLinksNoToolkit) {
    std::FILE* pipe = ::popen(("ldd '" + std::string(OZRA_PROGRAM) + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string libraries;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        libraries.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("Qt"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libX"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libxcb"), std::string::npos) << libraries;
}

} // namespace
} // namespace ozra
