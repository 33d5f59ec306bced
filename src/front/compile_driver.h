// The plain compile driver: a script file, with the files it includes, in;
// a syntax tree or a located error out.
//
// `TVeCompiler` reads a file, parses it and answers the parser's callbacks:
// errors are turned into "File %s, %d,%d: %s" with a line and a column, and
// "using" and "file" heads compile their files through a child compiler that
// shares the root compiler's stack of open files, so that a file including
// itself, directly or not, is refused with "Circular file reference : ".
// By default the first error ends the compilation; a compiler made with an
// error list records every error and goes on, for checkers that show them all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "front/syntax_tree.h"
#include "runtime/value/errors.h"

namespace ozra::front {

// A syntax or structure error located in a file. `what()` is the message in
// the "File %s, %d,%d: %s" form; the parts stay available for other layouts.
class CompileError : public runtime::EtsException {
public:
    CompileError(std::string fileName, std::int32_t line, std::int32_t column,
                 std::string message);

    std::string FileName;
    std::int32_t Line;
    std::int32_t Column;
    std::string Detail;
};

class TVeCompiler {
public:
    explicit TVeCompiler(TVeCompiler* parentCompiler = nullptr,
                         std::vector<CompileError>* collectedErrors = nullptr);

    // Compiles `fileName` into `block`, or into a new root block, and returns
    // the block. No partial tree is returned on failure.
    runtime::Ref<TtsBlock> Compile(const std::string& fileName, runtime::Ref<TtsBlock> block = {});

    static runtime::Ref<TtsBlock> CompileFile(const std::string& fileName);

    std::string Text;
    std::string FileName;
    TVeCompiler* ParentCompiler;

private:
    std::vector<std::string>& FileStack();

    std::vector<std::string> ownFileStack_;  // used by the root compiler only
    std::vector<CompileError>* collectedErrors_;
};

// Scripts may name included files with "\" as the separator; both work.
std::string IncludePath(const std::string& fileName);

}  // namespace ozra::front
