// The debug records of a parsed unit: `TVeDebugNode`, one per statement,
// and `TVeBookmark`, a located message such as a syntax error.
//
// Records nest by function only: every statement of a function, whatever
// block it sits in, is a child of the function's record, and a function's
// record is a child of the enclosing function's record or of the unit's
// root record. The unit's `TVeDebugData` owns all its records; parent,
// children and unit are plain links. A statement reaches its record through
// its `Debug` field, and so does the end marker of a control: a statement
// that never runs and stands for the keyword that closed the control, so
// that a function's closing line can carry a breakpoint and be shown when a
// run stops at the function's end.
//
// The breakpoint flags (in `front::DebugRecord`) are the only fields that
// change after the parse: the environment flips them while a run reads
// them, so they are atomic.
#pragma once

#include "front/syntax_tree.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace ozra::debugger {

class TVeDebugData;

class TVeDebugNode : public front::DebugRecord {
  public:
    TVeDebugNode(TVeDebugData& unit, TVeDebugNode* parent, front::TtsStatement* statement,
                 std::int32_t line, std::int32_t column)
        : Line(line), Column(column), Parent(parent),
          Statement(value::Ref<front::TtsStatement>::Retain(statement)), Unit(&unit) {}
    TVeDebugNode(const TVeDebugNode&) = delete;
    TVeDebugNode& operator=(const TVeDebugNode&) = delete;

    // The record of a statement or end marker, or null when it has none.
    static TVeDebugNode* Of(const front::TtsStatement& statement) noexcept {
        return static_cast<TVeDebugNode*>(statement.Debug);
    }
    bool IsFunction() const noexcept {
        return Statement && front::IsKindOf(Statement->Kind, front::NodeKind::FunctionNode);
    }

    std::int32_t Line;
    std::int32_t Column;
    // The source text of the function the statement opens (functions only).
    std::string FunctionText;
    // Where the closing keyword stands (controls only; 0 until it is read).
    std::int32_t EndLine = 0;
    std::int32_t EndColumn = 0;
    // Controls only, once closed.
    value::Ref<front::TtsControlEnd> EndMarker;
    std::vector<TVeDebugNode*> Children;
    std::vector<TVeDebugNode*> FunctionChildren;
    TVeDebugNode* Parent;
    // Null for the root record.
    value::Ref<front::TtsStatement> Statement;
    TVeDebugData* Unit;
};

// A located message. Line and column are 1-based; a message without a
// place has line and column 0 and length and offset -1.
struct TVeBookmark {
    std::string FileName;
    std::string Message;
    std::int32_t Column = 0;
    std::int32_t Line = 0;
    std::int32_t Length = -1;
    // The 0-based character offset.
    std::int32_t Offset = -1;
};

} // namespace ozra::debugger
