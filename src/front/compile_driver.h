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
#include <optional>
#include <string>
#include <vector>

#include "front/line_map.h"
#include "front/syntax_tree.h"
#include "value/errors.h"

namespace ozra::front {

// A syntax or structure error located in a file. `what()` is the message in
// the "File %s, %d,%d: %s" form; the parts stay available for other layouts.
class CompileError : public value::EtsException {
  public:
    CompileError(std::string fileName, std::int32_t line, std::int32_t column, std::string message);

    std::string FileName;
    std::int32_t Line;
    std::int32_t Column;
    std::string Detail;
};

// How every compile driver reports the errors of one file: located by line
// and column, raised at once or, with a list, collected while the parse goes
// on. An include that failed is reported again by the builder with the
// include's own located message; that error is raised as it is, so the
// innermost location survives.
class LocatedErrors {
  public:
    // `syntaxError` stands for an empty message: each driver spells it its
    // own way.
    LocatedErrors(std::string fileName, const LineMap& lines, std::vector<CompileError>* collected,
                  std::string syntaxError = "Syntax error")
        : fileName_(std::move(fileName)), lines_(lines), collected_(collected),
          syntaxError_(std::move(syntaxError)) {}

    // The parser's error callback.
    void Report(std::int32_t position, const std::string& message);

    // Compiles an include through `load`, remembering its located error.
    template <class Load> value::Ref<TtsBlock> Include(Load&& load) {
        try {
            return load();
        } catch (const CompileError& error) {
            nested_ = error;
            throw;
        }
    }

  private:
    std::string fileName_;
    const LineMap& lines_;
    std::vector<CompileError>* collected_;
    std::string syntaxError_;
    std::optional<CompileError> nested_;
};

class TVeCompiler {
  public:
    explicit TVeCompiler(TVeCompiler* parentCompiler = nullptr,
                         std::vector<CompileError>* collectedErrors = nullptr);

    // Compiles `fileName` into `block`, or into a new root block, and returns
    // the block. No partial tree is returned on failure.
    value::Ref<TtsBlock> Compile(const std::string& fileName, value::Ref<TtsBlock> block = {});

    static value::Ref<TtsBlock> CompileFile(const std::string& fileName);

    std::string Text;
    std::string FileName;
    TVeCompiler* ParentCompiler;

  private:
    std::vector<std::string>& FileStack();

    std::vector<std::string> ownFileStack_; // used by the root compiler only
    std::vector<CompileError>* collectedErrors_;
};

// The path of an included file by the rule of platform/paths.h: "\" and "/"
// both separate, drive and network names are refused.
std::string IncludePath(const std::string& fileName);

} // namespace ozra::front
