// The base classes of the syntax tree: `TtsNode`, `TtsExpression` and
// `TtsStatement`.
//
// A compiled script is a tree of reference-counted node objects that is both
// the program and its memory: expressions keep their current value in their
// own storage. Ownership runs downwards through counted pointers (`Ref`):
// a node owns the nodes in its fields and lists, and destroying the root
// block frees the whole tree. Upward and sideways links (`Parent`, caches,
// owners) are plain pointers and are never followed by a destructor. A node
// reachable from two places (a function entered in its block's names, a
// variable passed or bound with "ref", a used block) holds one counted
// reference per place.
//
// Nodes carry data, their set-up operations and name lookup (`FindNode`);
// evaluation lives in the runtime, which dispatches on `Kind`.
#pragma once

#include "front/node_arena.h"
#include "front/node_kind.h"
#include "value/object.h"
#include "value/object_list.h"
#include "value/value.h"
#include "value/value_stack.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::front {

using value::Ref;

class TtsNode : public value::TtsObject {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Node;

    ~TtsNode() override;

    std::string_view ClassName() const override { return NodeKindName(Kind); }

    // Nodes come from an arena (`MakeNode`) or, made any other way, from
    // the heap; either way a node frees itself (node_arena.h).
    static void* operator new(std::size_t size) { return NodeArena::AllocateNode(size, nullptr); }
    static void* operator new(std::size_t size, NodeArena& arena) {
        return NodeArena::AllocateNode(size, &arena);
    }
    static void operator delete(void* node, std::size_t size) noexcept {
        NodeArena::FreeNode(node, size);
    }
    static void operator delete(void* node, NodeArena&) noexcept { NodeArena::FreeNode(node, 0); }

    // Looks a name up from this node outwards along the `Parent` chain: a
    // block answers from its `Names`, a foreach or filter answers its own
    // loop variable, a class answers from its body and its base classes'
    // bodies. Without a required class any entry counts and a failed search
    // answers nullptr.
    value::TtsObject* FindNode(std::string_view name) const;
    // The same, counting only instances of `required`; a failed search
    // raises the lookup error of that class ("variable x not found.", ...).
    TtsNode* FindNode(std::string_view name, NodeKind required) const;

    const NodeKind Kind;
    TtsNode* Parent = nullptr;
    std::string Name;
    std::int32_t Tag = 0;

  protected:
    TtsNode(NodeKind kind, TtsNode* parent) noexcept : Kind(kind), Parent(parent) {}

    // Hands over every node the fields of this node own, and an object its
    // own value holds counted (node_release.cpp), so that freeing a tree of
    // any depth, or a chain of script objects, uses no more stack than
    // freeing one node.
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override;
};

// A new node of class T from an arena, owned by the returned reference.
template <class T> Ref<T> MakeNode(NodeArena& arena, TtsNode* parent) {
    return Ref<T>::Adopt(new (arena) T(parent));
}

// A checked downcast: the node as a T, or nullptr when it is not one.
template <class T> T* NodeCast(TtsNode* node) noexcept {
    return node && IsKindOf(node->Kind, T::ClassKind) ? static_cast<T*>(node) : nullptr;
}
template <class T> const T* NodeCast(const TtsNode* node) noexcept {
    return node && IsKindOf(node->Kind, T::ClassKind) ? static_cast<const T*>(node) : nullptr;
}
// The same for an entry of a name table, which may hold library objects.
template <class T> T* NodeCast(value::TtsObject* object) noexcept {
    return NodeCast<T>(dynamic_cast<TtsNode*>(object));
}

// What a runtime derives from nodes as it runs them (a block's prepared
// statements, a name's member caches). Never part of the tree's own data:
// not streamed or dumped; the tree stays the source of truth.
class DerivedCode {
  public:
    DerivedCode() = default;
    DerivedCode(const DerivedCode&) = delete;
    DerivedCode& operator=(const DerivedCode&) = delete;
    virtual ~DerivedCode() = default;
};

// The values of an expression's `Tag`, read as its parameter mode.
namespace ParamMode {
inline constexpr std::int32_t Plain = 0;
// Formal parameters, parameter locals, "result", "this" and "base".
inline constexpr std::int32_t Parameter = 1;
// A formal parameter during binding: its value came from an argument...
inline constexpr std::int32_t FromArgument = 2;
// ...or it shares the slot of the variable passed with "ref".
inline constexpr std::int32_t SharedSlot = 4;
} // namespace ParamMode

class TtsExpression : public TtsNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Expression;

    // The node's current value; reads and writes always go through
    // `ValueSlot`, which two nodes may share.
    const value::TtsValue& Value() const noexcept { return *ValueSlot; }

    // Writing the slot. A garbage-collecting variable (`TtsGcVariable`,
    // `TtsFsVariable`) owns a counted reference to an object it holds.
    // Every other node stores the value as it is, an object as a plain
    // (not counted) reference. The new value is taken before the old one is
    // let go, so writing a variable's own object back into it never frees
    // that object in between.
    void SetValue(const value::TtsValue& value) {
        if (!IsKindOf(Kind, NodeKind::GcVariable)) {
            *ValueSlot = value;
            return;
        }
        *ValueSlot = value;
        value::TtsValueHelper::MarkCounted(*ValueSlot);
    }
    void SetObject(value::TtsObject* object);
    void AssignFrom(const TtsExpression& other) { SetValue(other.Value()); }

    value::TtsValue OwnValue;
    value::TtsPValueStack SlotStack;
    value::TtsValue* ValueSlot = &OwnValue;

  protected:
    TtsExpression(NodeKind kind, TtsNode* parent) noexcept : TtsNode(kind, parent) {}
};

// What a debugger records of a statement (its line, breakpoints, where it
// nests). The tree only carries the link; the debugger owns the record,
// which outlives every run of the tree it was made for. Never streamed.
// The breakpoint flags live here so that a debugged run can test them
// without leaving the evaluator; the debugger flips them while a run
// reads them.
class DebugRecord {
  public:
    // Pause before the statement.
    std::atomic<bool> Breakpoint{false};
    // Pause at the end of the control (functions only).
    std::atomic<bool> EndBreakpoint{false};

  protected:
    DebugRecord() = default;
    ~DebugRecord() = default;
};

class TtsStatement : public TtsNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Statement;

    std::int32_t Length = 0;
    std::int32_t Position = 0;
    std::int32_t Column = 0;
    std::int32_t FileIndex = 0;
    std::int32_t Line = 0;
    // Set by a debugging compile only.
    DebugRecord* Debug = nullptr;

  protected:
    TtsStatement(NodeKind kind, TtsNode* parent) noexcept : TtsNode(kind, parent) {}
};

using TtsNodes = value::TtsListOf<TtsStatement>;
using TtsExpressions = value::TtsListOf<TtsExpression>;

} // namespace ozra::front
