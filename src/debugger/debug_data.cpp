// Debug data: records, the line map, line arithmetic and breakpoints.
#include "debugger/debug_data.h"

#include <algorithm>
#include <limits>

namespace ozra::debugger {

TVeDebugData::TVeDebugData(std::string fileName, std::int32_t fileIndex)
    : FileName(std::move(fileName)), FileIndex(fileIndex) {
    nodes_.emplace_back(*this, nullptr, nullptr, 0, 0);
    LineEnds.push_back(0);
}

TVeDebugData::~TVeDebugData() {
    for (TVeDebugNode& node : nodes_) {
        if (node.Statement) node.Statement->Debug = nullptr;
        if (node.EndMarker) node.EndMarker->Debug = nullptr;
    }
    // Outer statements first: each then frees only itself, as the records
    // still hold the statements nested in it.
    for (TVeDebugNode& node : nodes_) {
        node.EndMarker.Reset();
        node.Statement.Reset();
    }
}

TVeDebugNode& TVeDebugData::AddNode(TVeDebugNode& parent, front::TtsStatement& statement,
                                    std::int32_t line, std::int32_t column) {
    TVeDebugNode& node = nodes_.emplace_back(*this, &parent, &statement, line, column);
    statement.Debug = &node;
    parent.Children.push_back(&node);
    if (node.IsFunction()) parent.FunctionChildren.push_back(&node);
    return node;
}

void TVeDebugData::MapLine(std::int32_t line, front::TtsStatement& statement) {
    if (line <= 0) return;
    const auto index = static_cast<std::size_t>(line);
    if (lineMap_.size() <= index) lineMap_.resize(index + 1, nullptr);
    if (!lineMap_[index]) lineMap_[index] = &statement;
}

front::TtsStatement* TVeDebugData::LineEntry(std::int32_t line) const noexcept {
    if (line <= 0 || static_cast<std::size_t>(line) >= lineMap_.size()) return nullptr;
    return lineMap_[static_cast<std::size_t>(line)];
}

void TVeDebugData::ReadLineEnds(std::string_view text) {
    LineEnds.assign(1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || i + 1 == text.size())
            LineEnds.push_back(static_cast<std::int32_t>(i) + 1);
    }
}

std::int32_t TVeDebugData::LineOffset(std::int32_t line) const noexcept {
    if (line <= 1) return 0;
    if (static_cast<std::size_t>(line - 1) >= LineEnds.size())
        return std::numeric_limits<std::int32_t>::max();
    return LineEnds[static_cast<std::size_t>(line - 1)];
}

std::int32_t TVeDebugData::LineLength(std::int32_t line) const noexcept {
    if (line < 1 || line > LineCount()) return 0;
    return LineOffset(line + 1) - LineOffset(line);
}

std::int32_t TVeDebugData::LineOfOffset(std::int32_t offset) const noexcept {
    const auto end = std::lower_bound(LineEnds.begin() + 1, LineEnds.end(), std::max(offset, 1));
    return static_cast<std::int32_t>(end - LineEnds.begin());
}

const TVeDebugNode* TVeDebugData::FunctionAt(std::int32_t offset, const TVeDebugNode* from) const {
    const TVeDebugNode* found = nullptr;
    for (const TVeDebugNode* node = from ? from : &RootNode(); node;) {
        const TVeDebugNode* inner = nullptr;
        for (const TVeDebugNode* function : node->FunctionChildren) {
            const auto& control = static_cast<const front::TtsControl&>(*function->Statement);
            if (offset >= control.Position - 1 &&
                offset <= control.EndPosition + control.EndLength - 1) {
                inner = function;
                break;
            }
        }
        if (inner) found = inner;
        node = inner;
    }
    return found;
}

std::atomic<bool>* TVeDebugData::BreakpointFlag(std::int32_t line) const noexcept {
    front::TtsStatement* entry = LineEntry(line);
    TVeDebugNode* node = entry ? TVeDebugNode::Of(*entry) : nullptr;
    if (!node) return nullptr;
    const bool endMarker = front::IsKindOf(entry->Kind, front::NodeKind::ControlEnd);
    return endMarker ? &node->EndBreakpoint : &node->Breakpoint;
}

bool TVeDebugData::ToggleBreakpoint(std::int32_t line) {
    std::atomic<bool>* flag = BreakpointFlag(line);
    if (!flag) return false;
    flag->store(!flag->load(std::memory_order_relaxed), std::memory_order_relaxed);
    return true;
}

bool TVeDebugData::SetBreakpoint(std::int32_t line, bool on) {
    std::atomic<bool>* flag = BreakpointFlag(line);
    if (!flag) return false;
    flag->store(on, std::memory_order_relaxed);
    return true;
}

bool TVeDebugData::HasBreakpoint(std::int32_t line) const noexcept {
    const std::atomic<bool>* flag = BreakpointFlag(line);
    return flag && flag->load(std::memory_order_relaxed);
}

} // namespace ozra::debugger
