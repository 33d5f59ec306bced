// The debugging compile: the parser's four callbacks recorded as debug data.
#include "debugger/debug_compiler.h"

#include "front/line_map.h"
#include "front/parser.h"
#include "front/raw_scanner.h"
#include "libs/path_helper.h"
#include "value/errors.h"

#include <new>
#include <stdexcept>

namespace ozra::debugger {

using namespace front;

namespace {

// Ends a parse that has recorded enough errors.
struct TooManyErrors {};

class Recorder {
  public:
    Recorder(std::string_view text, TVeDebugData& data)
        : text_(text), data_(data), lines_(text), function_(&data.RootNode()) {}

    void StatementStarted(TtsStatement& statement) {
        const LineColumn at = lines_.Locate(statement.Position);
        statement.Line = at.Line;
        statement.Column = at.Column;
        statement.FileIndex = data_.FileIndex;
        TVeDebugNode& node = data_.AddNode(*function_, statement, at.Line, at.Column);
        data_.MapLine(at.Line, statement);
        if (node.IsFunction()) {
            node.FunctionText = std::string(Slice(statement.Position, statement.Length));
            function_ = &node;
        }
    }

    void ControlEnded(TtsControl& control) {
        TVeDebugNode* node = TVeDebugNode::Of(control);
        if (!node) return;
        const LineColumn at = lines_.Locate(control.EndPosition);
        control.EndLine = at.Line;
        control.EndColumn = at.Column;
        control.EndFileIndex = data_.FileIndex;
        const bool function = node->IsFunction();
        Ref<TtsControlEnd> marker = function ? value::MakeRef<TtsFunctionEnd>(&control)
                                             : value::MakeRef<TtsControlEnd>(&control);
        marker->Position = control.EndPosition;
        marker->Length = control.EndLength;
        marker->Line = at.Line;
        marker->Column = at.Column;
        marker->FileIndex = data_.FileIndex;
        marker->Debug = node;
        node->EndLine = at.Line;
        node->EndColumn = at.Column;
        node->EndMarker = marker;
        data_.MapLine(at.Line, *marker);
        if (function && function_ == node && node->Parent) function_ = node->Parent;
    }

    void Error(std::int32_t position, std::int32_t length, const std::string& message) {
        if (static_cast<int>(data_.Bookmarks.size()) >= TVeDebugCompiler::MaxErrors) {
            Unplaced("Too many errors.");
            throw TooManyErrors{};
        }
        const LineColumn at = lines_.Locate(position);
        data_.Bookmarks.push_back(TVeBookmark{data_.FileName,
                                              message.empty() ? "Syntax error" : message, at.Column,
                                              at.Line, length, position - 1});
    }

    void Unplaced(std::string message) {
        data_.Bookmarks.push_back(TVeBookmark{data_.FileName, std::move(message)});
    }

  private:
    std::string_view Slice(std::int32_t position, std::int32_t length) const {
        if (position < 1 || static_cast<std::size_t>(position) > text_.size() || length < 0)
            return {};
        return text_.substr(static_cast<std::size_t>(position) - 1,
                            static_cast<std::size_t>(length));
    }

    std::string_view text_;
    TVeDebugData& data_;
    const LineMap lines_;
    TVeDebugNode* function_;
};

} // namespace

std::string InternalErrorMessage(std::string_view message) {
    return "Internal error " + std::to_string(libs::StringChecksum(message, true));
}

Ref<TtsBlock> TVeDebugCompiler::Parse(std::string_view text, TVeDebugData& data,
                                      const FileLoader& include, Ref<TtsBlock> parentBlock) {
    data.ReadLineEnds(text);
    Recorder recorder(text, data);
    TtsParser parser;
    parser.OnNode = [&](TtsStatement& statement) { recorder.StatementStarted(statement); };
    parser.OnNodeEnd = [&](TtsControl& control) { recorder.ControlEnded(control); };
    parser.OnError = [&](std::int32_t position, std::int32_t length, const std::string& message) {
        recorder.Error(position, length, message);
    };
    parser.OnLoadFile = include;
    try {
        parser.Parse(text, std::move(parentBlock));
    } catch (const TooManyErrors&) {
    } catch (const ScanError&) {
        // Reported as a syntax error where the token starts.
    } catch (const std::bad_alloc& error) {
        recorder.Unplaced(error.what());
    } catch (const value::EtsException& error) {
        recorder.Unplaced(error.what());
    } catch (const std::exception& error) {
        recorder.Unplaced(InternalErrorMessage(error.what()));
    } catch (...) {
        recorder.Unplaced(InternalErrorMessage(""));
    }
    data.Block = parser.Block;
    return parser.Block;
}

} // namespace ozra::debugger
