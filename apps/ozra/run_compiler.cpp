// Compiling a run's units with positions.
#include "run_compiler.h"

#include "debugger/debug_compiler.h"
#include "front/compile_driver.h"
#include "front/line_map.h"
#include "front/parser.h"
#include "front/text_file.h"

#include <algorithm>
#include <filesystem>

namespace ozra::app {

namespace fs = std::filesystem;

std::string DisplayPath(const std::string& fullPath) {
    std::error_code ignored;
    const std::string cwd = fs::current_path(ignored).string() + "/";
    if (fullPath.size() > cwd.size() && fullPath.compare(0, cwd.size(), cwd) == 0)
        return fullPath.substr(cwd.size());
    return fullPath;
}

value::Ref<front::TtsBlock> RunCompiler::Compile(const std::string& mainFile) {
    return LoadUnit(mainFile, nullptr);
}

std::int32_t RunCompiler::FileIndex(const std::string& fullPath) {
    const auto known = std::find(fullPaths_.begin(), fullPaths_.end(), fullPath);
    if (known != fullPaths_.end()) return static_cast<std::int32_t>(known - fullPaths_.begin());
    fullPaths_.push_back(fullPath);
    fileList_.push_back(DisplayPath(fullPath));
    return static_cast<std::int32_t>(fullPaths_.size() - 1);
}

value::Ref<front::TtsBlock> RunCompiler::LoadUnit(const std::string& name,
                                                  value::Ref<front::TtsBlock> into) {
    const fs::path base =
        unitStack_.empty() ? fs::current_path() : fs::path(unitStack_.back()).parent_path();
    const std::string fullPath =
        (base / fs::path(front::IncludePath(name))).lexically_normal().string();
    const bool sharedUnit = !into;
    if (sharedUnit) {
        const auto cached = units_.find(fullPath);
        if (cached != units_.end()) return cached->second;
        units_[fullPath] = nullptr; // in progress: a use from inside gets no block
    }
    const std::int32_t fileIndex = FileIndex(fullPath);
    // A copy: nested units grow the list while this one is parsed.
    const std::string shownName = fileList_[static_cast<std::size_t>(fileIndex)];

    const std::string text = front::TTextFile::ReadFile(fullPath);
    const front::LineMap lines(text);
    unitStack_.push_back(fullPath);
    struct PopOnExit {
        std::vector<std::string>& stack;
        ~PopOnExit() { stack.pop_back(); }
    } pop{unitStack_};

    if (debugProgram_) {
        value::Ref<front::TtsBlock> block =
            ParseWithDebugData(text, shownName, fileIndex, std::move(into));
        if (sharedUnit) units_[fullPath] = block;
        return block;
    }

    front::TtsParser parser;
    front::LocatedErrors errors(shownName, lines, collectedErrors_);
    parser.OnNode = [&](front::TtsStatement& statement) {
        const front::LineColumn at = lines.Locate(statement.Position);
        statement.Line = at.Line;
        statement.Column = at.Column;
        statement.FileIndex = fileIndex;
    };
    parser.OnNodeEnd = [&](front::TtsControl& control) {
        const front::LineColumn at = lines.Locate(control.EndPosition);
        control.EndLine = at.Line;
        control.EndColumn = at.Column;
        control.EndFileIndex = fileIndex;
    };
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        errors.Report(position, message);
    };
    parser.OnLoadFile = [&](const std::string& included, value::Ref<front::TtsBlock> block) {
        return errors.Include([&] { return LoadUnit(included, std::move(block)); });
    };
    value::Ref<front::TtsBlock> block = parser.Parse(text, std::move(into));
    if (sharedUnit) units_[fullPath] = block;
    return block;
}

value::Ref<front::TtsBlock> RunCompiler::ParseWithDebugData(const std::string& text,
                                                            const std::string& shownName,
                                                            std::int32_t fileIndex,
                                                            value::Ref<front::TtsBlock> into) {
    auto data = std::make_shared<debugger::TVeDebugData>(shownName, fileIndex);
    debugProgram_->Units.push_back(data);
    const front::FileLoader include = [this](const std::string& included,
                                             value::Ref<front::TtsBlock> block) {
        return LoadUnit(included, std::move(block));
    };
    return debugger::TVeDebugCompiler::Parse(text, *data, include, std::move(into));
}

} // namespace ozra::app
