// Compiling units for runs and syntax checks, running them, and what the
// debugger reports back.
//
// A run compile parses every unit it reaches through the project compiler,
// one fresh debug data per unit compile. Each unit's data is installed once
// the whole compile is over, so tool windows never see half a compile.
#include "ide/core/project.h"

#include "compiled/project_compiler.h"
#include "libs/path_helper.h"
#include "platform/file_system.h"
#include "platform/paths.h"

#include <algorithm>

namespace ozra::ide {

using debugger::TVeBookmark;
using debugger::TVeDebugData;

struct TVeProject::CompilePass {
    struct Compiled {
        TVeUnit* Unit;
        std::shared_ptr<TVeDebugData> Data;
        std::uint64_t Stamp;
    };
    bool ProjectMode = false;
    // The full names of the files being compiled, innermost last.
    std::vector<std::string> Stack;
    std::vector<Compiled> Units;
    debugger::DebugProgram Program;
};

namespace {

class StackEntry {
  public:
    StackEntry(std::vector<std::string>& stack, std::string name) : stack_(stack) {
        stack_.push_back(std::move(name));
    }
    StackEntry(const StackEntry&) = delete;
    StackEntry& operator=(const StackEntry&) = delete;
    ~StackEntry() { stack_.pop_back(); }

  private:
    std::vector<std::string>& stack_;
};

} // namespace

// The project's rules for an included file, checked before the compiler
// resolves it the same way (`ExpandPath` against the including file's
// folder): the file is opened as a unit, or reported where it is named.
front::FileLoader TVeProject::IncludeLoader(CompilePass& pass, front::FileLoader compilerLoader) {
    return [this, &pass, next = std::move(compilerLoader)](const std::string& name,
                                                           value::Ref<front::TtsBlock> block) {
        std::string resolved;
        try {
            resolved = libs::TPathHelper::ExpandPath(platform::FolderPart(pass.Stack.back()), name);
        } catch (const std::exception&) {
            // A name that cannot be resolved here is refused by the compiler.
            return next(name, std::move(block));
        }
        const std::string shortName(platform::NamePart(resolved));
        if (std::find(pass.Stack.begin(), pass.Stack.end(), resolved) != pass.Stack.end())
            throw front::IncludeRefused("Circular file reference to " + shortName);
        if (!OpenFile(resolved, false, UnitType::Other))
            throw front::IncludeRefused("File " + shortName + " not found");
        return next(name, std::move(block));
    };
}

// A saved root is compiled from its file name, so that its statements carry
// its file; an untitled one as text whose includes resolve against the
// project folder (the unit's folder when running a file).
value::Ref<front::TtsBlock> TVeProject::CompileRoot(TVeUnit& root, CompilePass& pass) {
    const bool fromFile = !root.Untitled() && platform::FileExists(root.FileName());
    compiled::TvmProjectCompiler compiler(fromFile ? root.FileName() : std::string(),
                                          fromFile ? std::string() : root.Text());
    compiler.BaseFolder = pass.ProjectMode || root.Untitled()
                              ? ProjectFolder()
                              : std::string(platform::FolderPart(root.FileName()));
    const std::string rootName =
        fromFile ? root.FileName() : compiler.BaseFolder + root.DisplayName();
    compiler.ParseUnit = [&](const compiled::UnitSource& source) {
        const bool isRoot = pass.Stack.empty();
        TVeUnit* unit = isRoot ? &root : FindUnit(source.FullPath);
        if (!unit) unit = OpenFile(source.FullPath, false, UnitType::Other);
        if (!unit) throw front::IncludeRefused("File " + source.FullPath + " not found");
        unit->UsedInRun = true;
        if (!pass.ProjectMode && !isRoot && !(unit->Editor() && unit->Editor()->IsShowing()))
            unit->OpenInEditor();
        const StackEntry entry(pass.Stack, isRoot ? rootName : source.FullPath);
        auto data = std::make_shared<TVeDebugData>(unit->ShownName(), source.FileIndex);
        pass.Program.Units.push_back(data);
        pass.Units.push_back({unit, data, NextStamp()});
        return debugger::TVeDebugger::ParseForRunning(
            unit->Text(), *data, IncludeLoader(pass, source.Include), source.Target);
    };
    return compiler.Compile();
}

debugger::DebugProgram TVeProject::RunCompile(TVeUnit* unit) {
    CompilePass pass;
    pass.ProjectMode = unit == nullptr;
    for (const auto& each : units_)
        each->UsedInRun = false;
    errors_.clear();
    Notify(ProjectEvent::ErrorsCleared);
    runUnit_ = unit ? unit : mainUnit_;
    if (runUnit_) {
        TVeUnit* previous = currentUnit_;
        ++compiling_;
        try {
            pass.Program.Node = CompileRoot(*runUnit_, pass);
        } catch (const std::exception& error) {
            errors_.push_back(TVeBookmark{runUnit_->ShownName(), error.what()});
        }
        if (previous && previous != currentUnit_) previous->OpenInEditor();
        --compiling_;
        for (const CompilePass::Compiled& compiled : pass.Units) {
            compiled.Unit->InstallDebugData(compiled.Data, compiled.Stamp);
            errors_.insert(errors_.end(), compiled.Data->Bookmarks.begin(),
                           compiled.Data->Bookmarks.end());
        }
    }
    Notify(ProjectEvent::CompileFinished);
    if (!errors_.empty()) Notify(ProjectEvent::CompileErrors);
    return std::move(pass.Program);
}

void TVeProject::Compile(TVeUnit* unit) {
    RunCompile(unit);
}

void TVeProject::CheckAll() {
    if (mainUnit_) RunCompile(nullptr);
    if (Scope != RunScope::Project && currentUnit_ && currentUnit_ != mainUnit_ &&
        !(mainUnit_ && currentUnit_->UsedInRun))
        RunCompile(currentUnit_);
}

void TVeProject::Run(debugger::RunMode mode) {
    if (pausedUnit_ && pausedUnit_->Editor()) pausedUnit_->Editor()->ClearExecutionLine();
    pausedUnit_ = nullptr;
    if (debugger_.IsRunning()) {
        debugger_.Run(mode);
        return;
    }
    if (mode == debugger::RunMode::Stop || mode == debugger::RunMode::Pause) return;
    TVeUnit* target = Scope == RunScope::Project ? nullptr : currentUnit_;
    if (Scope == RunScope::Project ? !mainUnit_ : !target) return;
    debugger::DebugProgram program = RunCompile(target);
    if (!program.Node) return;
    if (Scope == RunScope::AtCaret && runUnit_->Editor() && runUnit_->DebugData()) {
        const auto* function =
            runUnit_->DebugData()->FunctionAt(runUnit_->Editor()->SelectionStart());
        if (function) program.Node = function->Statement;
    }
    if (!errors_.empty() &&
        Ask().Ask("There are errors, continue run?", Choices::YesNo) != Answer::Yes)
        return;
    const bool projectOptions =
        Scope == RunScope::Project && projectUnit_ && !projectUnit_->Untitled();
    const std::string optionsFile =
        projectOptions ? projectUnit_->FileName() : runUnit_->FileName();
    debugger_.SetProgram(std::move(program),
                         [make = services_.MakeHost, optionsFile](runtime::TGlobalData& global) {
                             return make(global, optionsFile);
                         });
    // The run's events are posted, so they arrive after this notification.
    debugger_.Run(mode);
    Notify(ProjectEvent::RunStarted, runUnit_);
}

bool TVeProject::StartSyntaxCheck() {
    TVeUnit* unit = currentUnit_;
    if (!unit || !unit->Editor() || !unit->Editor()->IsShowing() || unit->DebugDataUpToDate() ||
        IsBusy() || IsCompiling() || IsDebugging())
        return false;
    Notify(ProjectEvent::SyntaxCheckStarted, unit);
    const std::uint64_t stamp = NextStamp();
    unit->checkRunning_ = true;
    unit->check_ =
        debugger_.ParseInBackground(unit->Text(), std::make_shared<TVeDebugData>(unit->ShownName()),
                                    [unit, stamp](std::shared_ptr<TVeDebugData> data) {
                                        unit->checkRunning_ = false;
                                        unit->InstallDebugData(std::move(data), stamp);
                                    });
    return true;
}

// The place names the unit by the name its debug data was given.
void TVeProject::Paused(const debugger::TVeRunningData& run) {
    TVeUnit* unit = run.Place ? UnitNamed(run.Place->FileName) : nullptr;
    if (unit) {
        if (!(unit->Editor() && unit->Editor()->IsShowing())) unit->OpenInEditor();
        unit->Editor()->MarkExecutionLine(run.Place->Line);
        pausedUnit_ = unit;
    }
    Notify(ProjectEvent::Paused, unit);
}

void TVeProject::Finished(const debugger::TVeRunningData& run) {
    if (pausedUnit_ && pausedUnit_->Editor()) pausedUnit_->Editor()->ClearExecutionLine();
    pausedUnit_ = nullptr;
    TVeUnit* unit = run.Error && run.Place ? UnitNamed(run.Place->FileName) : nullptr;
    Notify(ProjectEvent::Finished, unit);
    if (!unit) return;
    unit->OpenInEditor();
    unit->Editor()->MarkExecutionLine(run.Place->Line);
    unit->Editor()->ShowLine(run.Place->Line);
    pausedUnit_ = unit;
}

} // namespace ozra::ide
