// Compilation of one file and its includes, with located errors.
#include "front/compile_driver.h"

#include <algorithm>

#include "front/parser.h"
#include "front/text_file.h"
#include "platform/paths.h"
#include "value/names.h"

namespace ozra::front {

namespace {

std::string FormatLocated(const std::string& fileName, std::int32_t line, std::int32_t column,
                          const std::string& message) {
    return "File " + fileName + ", " + std::to_string(line) + "," + std::to_string(column) + ": " +
           message;
}

bool SameFileName(const std::string& a, const std::string& b) {
    return value::NamesEqual(a, b);
}

} // namespace

CompileError::CompileError(std::string fileName, std::int32_t line, std::int32_t column,
                           std::string message)
    : value::EtsException(FormatLocated(fileName, line, column, message)),
      FileName(std::move(fileName)), Line(line), Column(column), Detail(std::move(message)) {}

void LocatedErrors::Report(std::int32_t position, const std::string& message) {
    if (nested_ && message == nested_->what()) throw *nested_;
    LineColumn at = lines_.Locate(position);
    CompileError error(fileName_, at.Line, at.Column, message.empty() ? syntaxError_ : message);
    if (!collected_) throw error;
    collected_->push_back(std::move(error));
}

TVeCompiler::TVeCompiler(TVeCompiler* parentCompiler, std::vector<CompileError>* collectedErrors)
    : ParentCompiler(parentCompiler), collectedErrors_(collectedErrors) {}

std::vector<std::string>& TVeCompiler::FileStack() {
    return ParentCompiler ? ParentCompiler->FileStack() : ownFileStack_;
}

value::Ref<TtsBlock> TVeCompiler::Compile(const std::string& fileName, value::Ref<TtsBlock> block) {
    FileName = fileName;
    auto& stack = FileStack();
    if (std::any_of(stack.begin(), stack.end(),
                    [&](const std::string& open) { return SameFileName(open, fileName); })) {
        throw value::EtsException("Circular file reference : " + fileName);
    }
    stack.push_back(fileName);
    struct PopOnExit {
        std::vector<std::string>& stack;
        ~PopOnExit() { stack.pop_back(); }
    } pop{stack};

    Text = TTextFile::ReadFile(IncludePath(fileName));
    LineMap lines(Text);

    TtsParser parser;
    LocatedErrors errors(FileName, lines, collectedErrors_);
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        errors.Report(position, message);
    };
    parser.OnLoadFile = [&](const std::string& included, value::Ref<TtsBlock> into) {
        return errors.Include([&] {
            TVeCompiler child(this, collectedErrors_);
            return child.Compile(included, std::move(into));
        });
    };
    // The tree is returned only whole: on failure the parser's root, made
    // here or given by the caller, is released with everything in it.
    return parser.Parse(Text, std::move(block));
}

value::Ref<TtsBlock> TVeCompiler::CompileFile(const std::string& fileName) {
    TVeCompiler compiler;
    return compiler.Compile(fileName);
}

std::string IncludePath(const std::string& fileName) {
    return platform::CheckedPath(fileName);
}

} // namespace ozra::front
