// Compiling and running a project's units: how included names resolve, the
// errors a compile reports and where, and runs that pause and finish.
#include "ide_fixture.h"

#include "libs/path_helper.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace ozra::ide::testing {
namespace {

class ProjectRunTest : public ProjectTest {
  protected:
    // A project in Folder/p whose main unit is a.ozra.
    void OpenProject(const std::string& main) {
        Folder.Write("p/a.ozra", main);
        Folder.Write("p/app.ozraproj",
                     "<Project><Files><file type=\"main\">a.ozra</file></Files></Project>");
        ASSERT_TRUE(Project.Open(Folder.Path + "p/app.ozraproj"));
    }
    std::string ErrorsText() const {
        std::string text;
        for (const debugger::TVeBookmark& error : Project.Errors())
            text += std::string(std::filesystem::path(error.FileName).filename()) + ":" +
                    std::to_string(error.Line) + ":" + std::to_string(error.Column) + ": " +
                    error.Message + "\n";
        return text;
    }
    // The output of a run of the project, or the compile's errors. The run
    // ends on its thread before its end reaches the queue, so wait for the
    // end's notification itself.
    std::string RunToEnd() {
        const auto finishes = [&] {
            return std::ranges::count(Host.Events, static_cast<int>(ProjectEvent::Finished));
        };
        const auto before = finishes();
        Project.Run(debugger::RunMode::Run);
        if (!Project.Errors().empty()) return ErrorsText();
        EXPECT_TRUE(PumpUntil([&] { return finishes() > before; }));
        const auto run = Project.Debugger().RunningData();
        return run ? run->Output : "no run";
    }
};

TEST_F(ProjectRunTest, IncludedNamesResolveFromTheIncludingFile) {
    ozra::testing::TempFolder elsewhere;
    elsewhere.Write("d.ozra", "<.function D()\nresult = 'd'\nend function.>");
    const std::string program = libs::ProgramFolder() + "ide_core_include_test.ozra";
    std::ofstream(program) << "<.function E()\nresult = 'e'\nend function.>";
    Folder.Write("p/sub/b.ozra",
                 "<.using('c.ozra')\nfunction B()\nresult = 'b' ~ C()\nend function.>");
    Folder.Write("p/sub/c.ozra", "<.function C()\nresult = 'c'\nend function.>");
    OpenProject("<.using('sub\\b.ozra')\nusing('" + elsewhere.Path +
                "d.ozra')\nusing(':ide_core_include_test.ozra').>[.= B() ~ D() ~ E().]");
    const std::string output = RunToEnd();
    std::filesystem::remove(program);

    EXPECT_EQ(output, "bcde");
    for (const std::string& name : {Folder.Path + "p/sub/b.ozra", Folder.Path + "p/sub/c.ozra"}) {
        const TVeUnit* unit = Project.FindUnit(name);
        ASSERT_NE(unit, nullptr) << name;
        EXPECT_TRUE(unit->UsedInRun);
        EXPECT_TRUE(unit->DebugDataUpToDate());
        // Running the project opens no editors for included files.
        EXPECT_EQ(unit->Editor(), nullptr);
    }
    EXPECT_TRUE(Saw(ProjectEvent::RunStarted));
    EXPECT_TRUE(Saw(ProjectEvent::Finished));
}

TEST_F(ProjectRunTest, CompileErrorsAreLocatedInTheirFiles) {
    const struct {
        std::map<std::string, std::string> Files;
        std::string Main;
        std::string Errors;
    } cases[] = {
        {{{"p/b.ozra", "b<.using('a.ozra').>"}},
         "a<.using('b.ozra').>",
         "b.ozra:1:4: Circular file reference to a.ozra\n"},
        {{}, "line\n  <.using('gone.ozra').>", "a.ozra:2:5: File gone.ozra not found\n"},
        {{{"p/b.ozra", "<.if.>"}},
         "<.using('b.ozra').>\n<.x = .>",
         "a.ozra:2:5: Syntax error, unexpected end of code block\n"
         "b.ozra:1:3: Syntax error, unexpected end of code block\n"},
    };
    for (const auto& each : cases) {
        for (const auto& [name, text] : each.Files)
            Folder.Write(name, text);
        OpenProject(each.Main);
        Project.Compile(nullptr);
        EXPECT_EQ(ErrorsText(), each.Errors) << each.Main;
        EXPECT_TRUE(Saw(ProjectEvent::CompileErrors));
        ASSERT_TRUE(Project.Close());
    }
}

TEST_F(ProjectRunTest, AnEditedUnitRunsAsShownNotAsSaved) {
    OpenProject("saved");
    TVeUnit& main = *Project.MainUnit();
    main.OpenInEditor();
    EditorOf(main).SetText("edited");
    main.SetModified(true);
    EXPECT_EQ(RunToEnd(), "edited");
}

TEST_F(ProjectRunTest, ABreakpointPausesTheRunAndMarksTheLine) {
    OpenProject("<.var x = 1\nvar y = 2\nvar z = 3.>[.= x + y + z.]");
    TVeUnit& main = *Project.MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(2);
    Project.Run(debugger::RunMode::Run);
    ASSERT_TRUE(PumpUntil([&] { return Saw(ProjectEvent::Paused); }));
    EXPECT_TRUE(Project.Debugger().IsPaused());
    EXPECT_EQ(EditorOf(main).ExecutionLine, 2);

    Project.Run(debugger::RunMode::StepOver);
    EXPECT_EQ(EditorOf(main).ExecutionLine, -1);
    ASSERT_TRUE(PumpUntil([&] { return EditorOf(main).ExecutionLine == 3; }));
    Project.Run(debugger::RunMode::Run);
    ASSERT_TRUE(PumpUntil([&] { return !Project.IsDebugging(); }));
    EXPECT_EQ(Project.Debugger().RunningData()->Output, "6");
    EXPECT_EQ(EditorOf(main).ExecutionLine, -1);
}

TEST_F(ProjectRunTest, ClosingAFileOfAPausedRunAsksToStopIt) {
    OpenProject("<.var x = 1\nvar y = 2.>[.= x.]");
    Folder.Write("notes.txt", "n");
    TVeUnit& main = *Project.MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(2);
    Project.Run(debugger::RunMode::Run);
    ASSERT_TRUE(PumpUntil([&] { return Project.Debugger().IsPaused(); }));
    // A file the run does not use closes at once.
    TVeUnit* notes = Project.OpenFile(Folder.Path + "notes.txt", false, UnitType::Other);
    notes->OpenInEditor();
    EXPECT_TRUE(Project.CloseUnit(*notes));
    EXPECT_TRUE(Project.IsDebugging());

    Prompts.Answers = {Answer::Cancel};
    EXPECT_FALSE(Project.CloseUnit(main));
    EXPECT_TRUE(Project.Debugger().IsPaused());
    Prompts.Answers = {Answer::Yes};
    EXPECT_TRUE(Project.CloseUnit(main));
    EXPECT_EQ(Prompts.Asked, std::vector<std::string>(2, "Debug in progress, terminate?"));
    EXPECT_FALSE(Project.IsDebugging());
    EXPECT_EQ(Project.Debugger().RunningData()->Output, "[stopped by user]\n");
}

TEST_F(ProjectRunTest, ARunTimeErrorShowsItsLine) {
    OpenProject("<.var x = 1\nvar y = nothing.Call().>");
    RunToEnd();
    const TVeUnit& main = *Project.MainUnit();
    ASSERT_NE(main.Editor(), nullptr);
    EXPECT_EQ(EditorOf(main).ExecutionLine, 2);
    EXPECT_EQ(EditorOf(main).ShownLine, 2);
}

TEST_F(ProjectRunTest, ErrorsAskBeforeRunning) {
    OpenProject("<.x = .>text");
    Prompts.Answers = {Answer::No};
    Project.Run(debugger::RunMode::Run);
    EXPECT_EQ(Prompts.Asked, std::vector<std::string>{"There are errors, continue run?"});
    EXPECT_FALSE(Project.IsDebugging());
    EXPECT_FALSE(Saw(ProjectEvent::RunStarted));
}

TEST_F(ProjectRunTest, TheBackgroundCheckInstallsFreshDebugData) {
    OpenProject("<.var x = 1\n.>");
    TVeUnit& main = *Project.MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(1);
    EditorOf(main).SetText("<.var y = 2\nif.>");
    main.SetModified(true);
    ASSERT_TRUE(Project.StartSyntaxCheck());
    EXPECT_TRUE(Project.IsCompiling());
    ASSERT_TRUE(PumpUntil([&] { return main.DebugDataUpToDate(); }));
    EXPECT_FALSE(Project.IsCompiling());
    ASSERT_EQ(main.DebugData()->Bookmarks.size(), 1u);
    EXPECT_TRUE(main.DebugData()->HasBreakpoint(1));
    EXPECT_TRUE(Saw(ProjectEvent::DebugDataErrors));
    EXPECT_FALSE(Project.StartSyntaxCheck());
}

} // namespace
} // namespace ozra::ide::testing
