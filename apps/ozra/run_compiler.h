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
#pragma once

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

    // `mainText`, when given, is the main file's text, which is then not
    // read (a script from standard input has no file).
    value::Ref<front::TtsBlock> Compile(const std::string& mainFile,
                                        const std::string* mainText = nullptr);

    // The display names of the files read, in first-use order; a
    // statement's `FileIndex` indexes this list.
    const std::vector<std::string>& FileList() const noexcept { return fileList_; }

    // Calls of plain names are recorded when this is set before `Compile`.
    bool RecordCalls = false;
    // After `Compile`: each recorded call of a name that no definition in
    // its scope answers (a misspelt function, or a keyword such as "elsif"
    // read as a call), as a located message "warning: ...".
    std::vector<front::CompileError> UnknownCalls() const;

  private:
    struct RecordedCall {
        value::Ref<front::TtsVarRef> Callee;
        std::string FileName;
        front::LineColumn At;
    };

    value::Ref<front::TtsBlock> LoadUnit(const std::string& name, value::Ref<front::TtsBlock> into,
                                         const std::string* givenText = nullptr);
    std::int32_t FileIndex(const std::string& fullPath);

    std::vector<std::string> unitStack_; // full paths, innermost last
    std::map<std::string, value::Ref<front::TtsBlock>> units_;
    std::vector<std::string> fullPaths_;
    std::vector<std::string> fileList_;
    std::vector<RecordedCall> calls_;
    std::vector<front::CompileError>* collectedErrors_;
};

// A path shown to the user: relative to the working folder when under it.
std::string DisplayPath(const std::string& fullPath);

} // namespace ozra::app
