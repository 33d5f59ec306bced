// `TVeDebugData`: what a debugging compile learnt of one unit's text: its
// syntax errors as bookmarks, where its lines end, a record per statement
// (debug_node.h), which statement each line starts with, and the tree.
//
// Line ends: entry 0 is 0 and entry k is the 1-based character offset of
// the character that ends line k, a line feed or the last character of the
// text. The line map names, per line, the first statement that starts on
// it, or the first end marker there when no statement starts on it first;
// breakpoints go through it, so of two statements on one line only the
// first carries the line's breakpoint.
//
// The data owns its records and holds the tree it was compiled into; the
// statements it recorded are linked to their records until it is destroyed,
// which unlinks them, so a tree that outlives its debug data never points
// at a freed record.
#pragma once

#include "debugger/debug_node.h"
#include "front/syntax_tree.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::debugger {

class TVeDebugData {
  public:
    // `fileName` is the unit's name as messages show it; `fileIndex` the
    // index its statements carry (-1 for a text without a file).
    explicit TVeDebugData(std::string fileName = {}, std::int32_t fileIndex = -1);
    TVeDebugData(const TVeDebugData&) = delete;
    TVeDebugData& operator=(const TVeDebugData&) = delete;
    ~TVeDebugData();

    TVeDebugNode& RootNode() noexcept { return nodes_.front(); }
    const TVeDebugNode& RootNode() const noexcept { return nodes_.front(); }
    // A record for `statement`, linked to it and to `parent`.
    TVeDebugNode& AddNode(TVeDebugNode& parent, front::TtsStatement& statement, std::int32_t line,
                          std::int32_t column);
    // Maps the line to the statement unless the line has an entry already.
    void MapLine(std::int32_t line, front::TtsStatement& statement);
    // The statement or end marker a line is mapped to, or null.
    front::TtsStatement* LineEntry(std::int32_t line) const noexcept;
    // Records where each line of `text` ends.
    void ReadLineEnds(std::string_view text);

    // The offset before a line's first character: 0 for lines 0 and 1, the
    // largest integer for a line past the text.
    std::int32_t LineOffset(std::int32_t line) const noexcept;
    std::int32_t LineLength(std::int32_t line) const noexcept;
    // The line holding a 1-based offset; one past the last line for an
    // offset past the text.
    std::int32_t LineOfOffset(std::int32_t offset) const noexcept;
    std::int32_t LineCount() const noexcept {
        return static_cast<std::int32_t>(LineEnds.size()) - 1;
    }
    // The innermost function whose text, from its head to the end of its
    // closing keyword, spans the 0-based offset (an editor's caret),
    // searched from `from` (the root record when none is given), or null.
    const TVeDebugNode* FunctionAt(std::int32_t offset, const TVeDebugNode* from = nullptr) const;

    // Flips the breakpoint of a line: an end marker's end-breakpoint flag, a
    // statement's breakpoint flag. False when the line has no entry.
    bool ToggleBreakpoint(std::int32_t line);
    // Sets or clears it; false when the line has no entry.
    bool SetBreakpoint(std::int32_t line, bool on);
    bool HasBreakpoint(std::int32_t line) const noexcept;

    std::string FileName;
    std::int32_t FileIndex;
    std::vector<TVeBookmark> Bookmarks;
    std::vector<std::int32_t> LineEnds;
    value::Ref<front::TtsBlock> Block;

  private:
    std::atomic<bool>* BreakpointFlag(std::int32_t line) const noexcept;

    // The root record first; a deque keeps every record where it was made.
    std::deque<TVeDebugNode> nodes_;
    // Indexed by line; null where no statement starts.
    std::vector<front::TtsStatement*> lineMap_;
};

} // namespace ozra::debugger
