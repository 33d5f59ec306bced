// `TvmFileCompiler`: one source text of a project compiled into a block,
// with every statement's line, column and file index filled in.
//
// The project compiler (project_compiler.h) makes one per source file it
// reads and hands it the loader that compiles the files the text includes.
// Errors leave as `EvmErrorException` with the message ("Syntax Error" for
// a bare syntax error), the file and the position; with a list to collect
// them in, errors are recorded there instead and the parse goes on, so that
// a checker can show them all. Anything else that escapes the parse keeps
// its message when it is one of the system's own errors (an unreadable
// file), and otherwise becomes "Internal error " + a checksum of it.
#pragma once

#include "front/compile_driver.h"
#include "front/line_map.h"
#include "front/syntax_tree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ozra::compiled {

// Told of each call of a plain name, with the file and place of the name: a
// checker's hook.
using CallObserver = std::function<void(front::TtsVarRef& callee, const std::string& fileName,
                                        front::LineColumn at)>;

// What one file compilation gets.
struct TvmCompileData {
    std::string Source;
    // Empty for a text compiled without a file.
    std::string FileName;
    // -1 for a text compiled without a file.
    std::int32_t FileIndex = -1;
    // The block the text is compiled into, or none for a new one.
    value::Ref<front::TtsBlock> Target;
    front::FileLoader UnitLoader;
    // May be empty.
    CallObserver OnCall;
};

class TvmFileCompiler {
  public:
    explicit TvmFileCompiler(TvmCompileData data,
                             std::vector<front::CompileError>* collectedErrors = nullptr)
        : Data(std::move(data)), collectedErrors_(collectedErrors) {}

    value::Ref<front::TtsBlock> Compile();

    TvmCompileData Data;

  private:
    std::vector<front::CompileError>* collectedErrors_;
};

} // namespace ozra::compiled
