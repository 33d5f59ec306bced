// The dialog, clipboard and application methods as scripts use them, over
// a bridge that answers at once and records what it was asked: arguments
// reach the dialogs in the bridge's terms (filters, colours, fonts) and
// answers come back in the scripts' terms; a run without a desktop fails
// clearly. The real dialogs are tested with Qt in tests/bridge_qt.
#include "script_support.h"

#include "libs/dialog_lib.h"
#include "libs/path_helper.h"
#include "runtime/desktop.h"

namespace ozra::libs::testing {
namespace {

using runtime::FileFilter;
using runtime::FontChoice;

class ScriptedGui final : public runtime::DesktopBridge {
  public:
    bool Post(std::function<void()> work) override {
        work();
        return true;
    }
    bool OnGuiThread() const noexcept override { return true; }

    std::optional<std::uint32_t> ChooseColor(std::optional<std::uint32_t> initial) override {
        ColorAsked = initial;
        return ColorAnswer;
    }
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override {
        FontAsked = initial;
        return FontAnswer;
    }
    std::string ChooseOpenFile(const std::vector<FileFilter>& filters,
                               const std::string& fileName) override {
        Asked = Describe(filters) + "|" + fileName;
        return FileAnswer;
    }
    std::string ChooseSaveFile(const std::vector<FileFilter>& filters, const std::string& suffix,
                               const std::string& fileName) override {
        Asked = Describe(filters) + "|" + suffix + "|" + fileName;
        return FileAnswer;
    }
    std::string ChooseFolder(const std::string& title, const std::string& root,
                             const std::string& folder) override {
        Asked = title + "|" + root + "|" + folder;
        return FileAnswer;
    }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
    std::string ClipboardText() override { return Clipboard; }
    void SetApplicationTitle(const std::string& title) override { Title = title; }
    bool SetApplicationIcon(const std::string& file) override {
        Icon = file;
        return false;
    }
    std::optional<std::string> EditConnectionString(const runtime::ConnectionEditorRequest&) override {
        return {};
    }

    static std::string Describe(const std::vector<FileFilter>& filters) {
        std::string text;
        for (const FileFilter& filter : filters) {
            text += "[" + filter.Description + ":";
            for (const std::string& pattern : filter.Patterns)
                text += " " + pattern;
            text += "]";
        }
        return text;
    }

    std::optional<std::uint32_t> ColorAsked;
    std::optional<std::uint32_t> ColorAnswer;
    FontChoice FontAsked;
    std::optional<FontChoice> FontAnswer;
    std::string Asked;
    std::string FileAnswer;
    std::string Clipboard;
    std::string Title;
    std::string Icon;
};

ScriptRun RunOn(ScriptedGui& gui, const char* script, bool inEnvironment = false) {
    return RunWithLibraries(script, "/tmp/", [&](runtime::TGlobalData& global) {
        global.Gui.SetBridge(gui);
        global.StartedFromEnvironment = inEnvironment;
    });
}

TEST(DialogScripts, ColoursTravelAsHashText) {
    ScriptedGui gui;
    gui.ColorAnswer = 0x0A0B0C;
    EXPECT_EQ(RunOn(gui, "<.= System.Dialog.ColorDialog(\"#10a0FF\").>").Output, "#0A0B0C");
    EXPECT_EQ(gui.ColorAsked, 0x10A0FFu);
    RunOn(gui, "<.System.Dialog.ColorDialog(\"red\").>");
    EXPECT_EQ(gui.ColorAsked, 0u) << "text that does not parse starts at black";
    RunOn(gui, "<.System.Dialog.ColorDialog(\"\").>");
    EXPECT_EQ(gui.ColorAsked, std::nullopt) << "empty text presets nothing";
    gui.ColorAnswer.reset();
    EXPECT_EQ(RunOn(gui, "<.= \"[\" ~ System.Dialog.ColorDialog(\"#000000\") ~ \"]\".>").Output, "[]");

    EXPECT_EQ(ParseColorText("#FFfF00"), 0xFFFF00u);
    for (const char* bad : {"", "#12345", "#1234567", "123456#", "#12345G"})
        EXPECT_EQ(ParseColorText(bad), std::nullopt) << bad;
}

TEST(DialogScripts, TheFontDialogAnswersAPropertyListWithItsColourInBlueGreenRed) {
    ScriptedGui gui;
    gui.FontAnswer = FontChoice{"Mono", 11, 0x112233, true, false, true, false};
    const ScriptRun run = RunOn(gui,
                                "<.var f = System.Dialog.FontDialog(\"Sans\", 12).>"
                                "<.= f.Name ~ \" \" ~ f.Size ~ \" \" ~ f.Color ~ \" \" ~ f.Bold ~ \" \" ~ "
                                "f.Italic ~ \" \" ~ f.Underline ~ \" \" ~ f.StrikeOut ~ \" \" ~ f.Count().>");
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "Mono 11 #332211 true false true false 7");
    EXPECT_EQ(gui.FontAsked.Name, "Sans");
    EXPECT_EQ(gui.FontAsked.Size, 12);
    RunOn(gui, "<.System.Dialog.FontDialog().>");
    EXPECT_EQ(gui.FontAsked.Name, "");
    EXPECT_EQ(gui.FontAsked.Size, 9);
    gui.FontAnswer.reset();
    EXPECT_EQ(RunOn(gui, "<.var f = System.Dialog.FontDialog(\"Sans\").><.= \"[\" ~ f ~ \"]\".>").Output,
              "[]");
}

TEST(DialogScripts, FileAndFolderDialogsGetTheirArgumentsInTheBridgesTerms) {
    ScriptedGui gui;
    gui.FileAnswer = "/home/me/a.txt";
    const struct {
        const char* Script;
        const char* Asked;
    } cases[] = {
        {"<.= System.Dialog.OpenDialog(\"Text files|*.txt; *.log|All files|*.*\", \"a.txt\").>",
         "[Text files: *.txt *.log][All files: *]|a.txt"},
        {"<.= System.Dialog.OpenDialog(\"\").>", "|"},
        {"<.= System.Dialog.OpenDialog(\"Sources|*.ozra|Orphan\").>", "[Sources: *.ozra]|"},
        {"<.= System.Dialog.SaveDialog(\"Text|*.txt\", \".txt\", \"/home/me/b\").>",
         "[Text: *.txt]|txt|/home/me/b"},
        {"<.= System.Dialog.SaveDialog(\"Any|\", \"\").>", "[Any: *]||"},
        {"<.= System.Dialog.FolderDialog(\"Pick one\", \"/srv\", \"/srv/www\").>",
         "Pick one|/srv|/srv/www"},
    };
    for (const auto& c : cases) {
        const ScriptRun run = RunOn(gui, c.Script);
        EXPECT_EQ(run.Error, "") << c.Script;
        EXPECT_EQ(run.Output, gui.FileAnswer) << c.Script;
        EXPECT_EQ(gui.Asked, c.Asked) << c.Script;
    }
}

TEST(DialogScripts, WithoutADesktopEveryCallFailsClearly) {
    ExpectScriptCases({
        {"<.System.Dialog.ColorDialog(\"\").>", "", "Dialog: this program has no desktop."},
        {"<.System.Dialog.OpenDialog(\"\").>", "", "Dialog: this program has no desktop."},
        {"<.System.Utility.CopyToClipboard(\"x\").>", "", "Clipboard: this program has no desktop."},
        {"<.= System.Utility.GetClipboardText().>", "", "Clipboard: this program has no desktop."},
    });
}

TEST(DialogScripts, TheClipboardRoundTrip) {
    ScriptedGui gui;
    const ScriptRun run = RunOn(gui, "<.System.Utility.CopyToClipboard(\"na\xC3\xAFve \xE2\x9C\x93\")\n"
                                     "= System.Utility.GetClipboardText().>");
    EXPECT_EQ(run.Output, "na\xC3\xAFve \xE2\x9C\x93");
}

TEST(AppScripts, EntriesReadAndWriteAndReachTheDesktop) {
    ScriptedGui gui;
    const ScriptRun run = RunOn(gui,
                                "<.= \"[\" ~ System.App.Title ~ \"|\" ~ System.App.Icon ~ \"]\"\n"
                                "System.App.Title = \"Generator\"\nSystem.App.Icon = \"/none.png\"\n"
                                "System.App.Executor = \"x\".>"
                                "<.= System.App.Title ~ \"|\" ~ System.App.Icon ~ \"|\" ~ System.App.Executor\n"
                                "System.App.Run().>");
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "[|]Generator|/none.png|x");
    EXPECT_EQ(gui.Title, "Generator");
    EXPECT_EQ(gui.Icon, "/none.png") << "a failing icon is ignored";

    EXPECT_EQ(RunWithLibraries("<.= System.App.Executor.>", "/tmp/").Output, ProgramFile());
    ExpectScriptCases({
        {"<.= System.App.Foo.>", "", "function Foo not found."},
        {"<.System.App.Foo = 1.>", "", "Foo not found."},
    });
}

TEST(AppScripts, InsideTheEnvironmentWritesChangeNothing) {
    ScriptedGui gui;
    const ScriptRun run = RunOn(gui,
                                "<.System.App.Title = \"X\"\nSystem.App.Executor = \"y\".>"
                                "<.= \"[\" ~ System.App.Title ~ \"]\" ~ (System.App.Executor <> \"y\").>",
                                true);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "[]True");
    EXPECT_EQ(gui.Title, "");
    EXPECT_EQ(RunOn(gui, "<.System.App.Foo = 1.>", true).Error, "Foo not found.");
}

TEST(AppScripts, RunEntersTheWindowLoopWhenTheUiLibraryGaveOne) {
    int loops = 0;
    const ScriptRun run = RunWithLibraries("<.System.App.Run()\nvar nothing = System.App.Run.>", "/tmp/",
                                           [&](runtime::TGlobalData& global) {
                                               global.WindowLoop = [&] { ++loops; };
                                           });
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(loops, 2);
}

} // namespace
} // namespace ozra::libs::testing
