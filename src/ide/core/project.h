// `TVeProject`: the project the environment works on and the files open in
// it.
//
// The project keeps the units sorted by key, ignoring case for the order
// only: a unit's identity is its exact full path, since «a.ozra» and
// «A.ozra» are two files here. It reads and writes the project file
// (project_file.h), opens, saves and closes units, asking the user through
// the `Prompter`, and reports what changed to the `EditorHost` by number.
//
// It also drives compiles and runs. A run compile goes through the project
// compiler, which resolves and caches included units, with the debugger's
// compiler parsing each unit's current text (the editor's, saved or not)
// into debug data of its own. The project adds its own include rules on
// top: an included file is opened as a unit, a missing one becomes the
// located error «File NAME not found», and a file that includes itself is
// refused with «Circular file reference to NAME».
//
// Everything here runs on the main thread; the debugger reports back there
// through the `MainThread` the project is given.
#pragma once

#include "debugger/debugger.h"
#include "ide/core/editor_host.h"
#include "ide/core/prompter.h"
#include "ide/core/unit.h"
#include "libs/xml/xml_element.h"
#include "runtime/global_data.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ozra::ide {

// Makes a run's host: `optionsFile` is the project file, or the script run
// alone, whose options the run reads (runtime/command_parser.h).
using RunHostFactory = std::function<value::Ref<runtime::TtsHost>(runtime::TGlobalData& global,
                                                                  const std::string& optionsFile)>;

// What the Run commands run.
enum class RunScope : std::uint8_t {
    Project = 0,     // the main unit
    CurrentFile = 1, // the current unit
    AtCaret = 2,     // the function at the caret of the current unit
};

struct ProjectServices {
    debugger::MainThread& MainThread;
    EditorHost& Host;
    ide::Prompter& Prompter;
    RunHostFactory MakeHost;
};

class TVeProject final : private debugger::DebugEventSink {
  public:
    explicit TVeProject(ProjectServices services);
    TVeProject(const TVeProject&) = delete;
    TVeProject& operator=(const TVeProject&) = delete;
    ~TVeProject() override;

    // Closes the current project, then makes an untitled project with an
    // untitled "main.ozra"; false when the user cancels the close.
    bool New();
    // Closes the current project, then loads the file; false when the user
    // cancels the close. A file that cannot be read or parsed raises.
    bool Open(const std::string& fileName);
    // Closes every unit, asking to save; false when the user cancels.
    bool Close();

    // The unit for a file (see the .cpp for the rules); null when the file
    // does not exist and `asNew` is false.
    TVeUnit* OpenFile(const std::string& name, bool asNew, UnitType type);
    // Asks as needed and closes the unit's editor; false when the user keeps
    // it open.
    bool CloseUnit(TVeUnit& unit);

    void SetAsMain(TVeUnit& unit);
    void AddToProject(TVeUnit& unit);
    void RemoveFromProject(TVeUnit& unit);

    bool SaveCurrent(bool saveAs);
    bool SaveAll();

    // Compiles for a run: the unit, or the whole project from its main unit
    // when none is given. Errors land in `Errors()`.
    void Compile(TVeUnit* unit);
    // The Syntax Check command: the project, then the current unit when it
    // is not part of that compile; nothing runs.
    void CheckAll();
    // Starts a run or gives a command to the running one.
    void Run(debugger::RunMode mode);
    // Starts the background check of the current unit when it is due;
    // answers whether one started.
    bool StartSyntaxCheck();

    // Main-window caption: the title, " - " and the project's name.
    std::string Caption(std::string_view appTitle) const;
    // The project file's folder with a trailing "/", or "".
    std::string ProjectFolder() const;

    const std::vector<std::unique_ptr<TVeUnit>>& Units() const noexcept { return units_; }
    TVeUnit* ProjectUnit() const noexcept { return projectUnit_; }
    TVeUnit* MainUnit() const noexcept { return mainUnit_; }
    TVeUnit* CurrentUnit() const noexcept { return currentUnit_; }
    void SetCurrentUnit(TVeUnit* unit);
    // The unit of that exact key (full path, or identity when untitled).
    TVeUnit* FindUnit(std::string_view key) const;
    // The unit whose messages and debug data carry that name.
    TVeUnit* UnitNamed(std::string_view shownName) const;
    const xml::XmlElement& Document() const noexcept { return document_; }
    const std::vector<debugger::TVeBookmark>& Errors() const noexcept { return errors_; }

    RunScope Scope = RunScope::Project;
    bool IsBusy() const noexcept { return busy_ > 0; }
    bool IsCompiling() const noexcept;
    bool IsDebugging() const { return debugger_.IsRunning(); }
    debugger::TVeDebugger& Debugger() noexcept { return debugger_; }

    // Writes the file list into the project document and the project unit's
    // text (after reading back the editor's text, so manual edits survive).
    void RegenerateText();

    // For units.
    EditorHost& Host() const noexcept { return services_.Host; }
    Prompter& Ask() const noexcept { return services_.Prompter; }
    std::uint64_t NextStamp() noexcept { return ++stamp_; }
    void Notify(ProjectEvent event, TVeUnit* unit = nullptr) { services_.Host.Notify(event, unit); }
    // Re-keys a unit that took a new name.
    void Renamed(TVeUnit& unit);
    void UnitDestroyed(TVeUnit& unit) noexcept;

  private:
    struct CompilePass;
    // Counts a nesting of busy work for its lifetime.
    class BusyScope;

    TVeUnit& AddUnit(std::unique_ptr<TVeUnit> unit);
    void RemoveUnit(TVeUnit& unit);
    void Sort();
    void SetType(TVeUnit& unit, UnitType type);
    void LoadDocument(const std::string& fileName);
    bool CloseAll();
    void WaitForQuiet(bool runStopped);
    front::FileLoader IncludeLoader(CompilePass& pass, front::FileLoader compilerLoader);
    value::Ref<front::TtsBlock> CompileRoot(TVeUnit& root, CompilePass& pass);
    debugger::DebugProgram RunCompile(TVeUnit* unit);

    // DebugEventSink
    void Paused(const debugger::TVeRunningData& run) override;
    void Finished(const debugger::TVeRunningData& run) override;

    ProjectServices services_;
    xml::XmlElement document_;
    std::vector<std::unique_ptr<TVeUnit>> units_;
    TVeUnit* projectUnit_ = nullptr;
    TVeUnit* mainUnit_ = nullptr;
    TVeUnit* currentUnit_ = nullptr;
    TVeUnit* runUnit_ = nullptr;
    TVeUnit* pausedUnit_ = nullptr;
    int busy_ = 0;
    int compiling_ = 0;
    bool loading_ = false;
    std::uint64_t stamp_ = 0;
    std::int64_t nextIdentity_ = 0;
    int nextUntitled_ = 0;
    std::vector<debugger::TVeBookmark> errors_;
    // Last: stopping a run still reports to the project.
    debugger::TVeDebugger debugger_;
};

} // namespace ozra::ide
