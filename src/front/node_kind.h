// The class tag of every syntax node.
//
// The evaluator walks the tree with switches on `NodeKind` instead of
// virtual calls. The enumerators list the node class tree in pre-order, so
// the descendants of a class follow it without a gap: "is an instance of"
// becomes a range test (`IsKindOf`), and `NodeCast` is a checked static
// downcast. Abstract classes have a tag too, which keeps the ranges simple;
// no node ever carries one of those. The runtime's own node classes (the
// host block and the system variables) have their places in the tree here.
#pragma once

#include <cstdint>
#include <string_view>

namespace ozra::front {

enum class NodeKind : std::uint8_t {
    Node,       // abstract
    Expression, // abstract
    Variable,
    GcVariable,
    FsVariable,
    SysTick, // a TtsVariable of the runtime
    SysNow,  // a TtsVariable of the runtime
    Const,
    VarRef,
    PropRef,
    IndexExpr,
    Complex, // abstract
    Set,
    Operator, // abstract
    NaryOperator,
    DualOperator,
    FunctionExpr,
    SetExpr, // abstract
    FilterExpr,
    RangeExpr,
    SubSetExpr,
    Statement, // abstract
    Text,
    Block,
    Host, // the runtime's root block
    Control,
    LogicNode, // abstract
    IfNode,
    CaseNode,
    LoopNode,
    ForNode,
    ForeachNode,
    FunctionNode,
    ClassNode,
    FileNode,
    OldFile,
    OldUsing,
    OldCopy,
    OldExecute,
    AssignNode,
    TryNode,
    ObjectNode,
    Command, // abstract
    Exit,
    Skip,
    Assign,
    VarDefine,
    RefDefine,
    Call,
    Output,
    Using,
    ControlEnd,
    FunctionEnd,
};

// The last tag of the subtree that starts at `kind`.
constexpr NodeKind LastDescendant(NodeKind kind) noexcept {
    switch (kind) {
    case NodeKind::Node:
        return NodeKind::FunctionEnd;
    case NodeKind::Expression:
        return NodeKind::SubSetExpr;
    case NodeKind::Variable:
        return NodeKind::SysNow;
    case NodeKind::GcVariable:
        return NodeKind::FsVariable;
    case NodeKind::VarRef:
        return NodeKind::IndexExpr;
    case NodeKind::Complex:
        return NodeKind::SubSetExpr;
    case NodeKind::Operator:
        return NodeKind::DualOperator;
    case NodeKind::SetExpr:
        return NodeKind::SubSetExpr;
    case NodeKind::Statement:
        return NodeKind::FunctionEnd;
    case NodeKind::Block:
        return NodeKind::Host;
    case NodeKind::Control:
        return NodeKind::ObjectNode;
    case NodeKind::LogicNode:
        return NodeKind::CaseNode;
    case NodeKind::LoopNode:
        return NodeKind::ForeachNode;
    case NodeKind::FunctionNode:
        return NodeKind::ClassNode;
    case NodeKind::FileNode:
        return NodeKind::OldExecute;
    case NodeKind::OldFile:
        return NodeKind::OldExecute;
    case NodeKind::Command:
        return NodeKind::Using;
    case NodeKind::Exit:
        return NodeKind::Skip;
    case NodeKind::Assign:
        return NodeKind::RefDefine;
    case NodeKind::VarDefine:
        return NodeKind::RefDefine;
    case NodeKind::Call:
        return NodeKind::Output;
    case NodeKind::ControlEnd:
        return NodeKind::FunctionEnd;
    default:
        return kind;
    }
}

// True when a node tagged `kind` is an instance of the class tagged `base`.
constexpr bool IsKindOf(NodeKind kind, NodeKind base) noexcept {
    return kind >= base && kind <= LastDescendant(base);
}

// The class name of a tag ("TtsIfNode"), for dumps and for the host's
// choice of library.
std::string_view NodeKindName(NodeKind kind) noexcept;

} // namespace ozra::front
