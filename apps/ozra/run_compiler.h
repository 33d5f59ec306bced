// The compile step of a run: the main script and every unit it uses, with
// each statement's line, column and file index filled in so that run-time
// errors can name their position.
//
// Included files are resolved against the folder of the file that names
// them, so a script runs the same from any working folder. A unit used by
// several "using" statements is parsed once and shared; a unit that uses
// itself, directly or through others, gets no block at the inner use.
// "file" heads compile their file anew into their own body each time.
//
// File names in messages are shown relative to the working folder when the
// file lies under it, otherwise as full paths. Syntax and structure errors
// are `front::CompileError` ("File %s, %d,%d: %s"); the first one ends the
// compilation, unless the compiler was given a list to collect them in, as
// the checker does to show every error.
//
// Given a debug program, the compiler records every unit there instead:
// each compile with its debug data (debugger/debug_compiler.h), where
// syntax errors become bookmarks rather than ending the compilation.
#pragma once

#include "debugger/debug_program.h"
#include "front/compile_driver.h"
#include "front/syntax_tree.h"

#include <map>
#include <string>
#include <vector>

namespace ozra::app {

class RunCompiler {
  public:
    explicit RunCompiler(std::vector<front::CompileError>* collectedErrors = nullptr)
        : collectedErrors_(collectedErrors) {}
    explicit RunCompiler(debugger::DebugProgram& debugProgram) : debugProgram_(&debugProgram) {}

    value::Ref<front::TtsBlock> Compile(const std::string& mainFile);

    // The display names of the files read, in first-use order; a
    // statement's `FileIndex` indexes this list.
    const std::vector<std::string>& FileList() const noexcept { return fileList_; }

  private:
    value::Ref<front::TtsBlock> LoadUnit(const std::string& name, value::Ref<front::TtsBlock> into);
    value::Ref<front::TtsBlock> ParseWithDebugData(const std::string& text,
                                                   const std::string& shownName,
                                                   std::int32_t fileIndex,
                                                   value::Ref<front::TtsBlock> into);
    std::int32_t FileIndex(const std::string& fullPath);

    std::vector<std::string> unitStack_; // full paths, innermost last
    std::map<std::string, value::Ref<front::TtsBlock>> units_;
    std::vector<std::string> fullPaths_;
    std::vector<std::string> fileList_;
    std::vector<front::CompileError>* collectedErrors_ = nullptr;
    debugger::DebugProgram* debugProgram_ = nullptr;
};

// A path shown to the user: relative to the working folder when under it.
std::string DisplayPath(const std::string& fullPath);

} // namespace ozra::app
