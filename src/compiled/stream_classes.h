// The class registry of the compiled stream and the table of its fields.
//
// Every object of a stream is written as one block under the number of its
// exact class. The node classes are those of the syntax tree; the others are
// the containers nodes hold (statement and expression lists, name tables
// and the string lists they keep their entries in, the value stacks of
// functions and expressions), which the tree holds by value and the stream
// writes as objects of their own.
//
// A class's fields come in groups, one per registered class of its ancestry,
// each group numbered like the class that declares it. A field is a tag
// (group, field) and then its content, by kind:
//
//   Integer     a compact integer: int, bool and byte fields, omitted when 0
//   String      a string, omitted when empty
//   Reference   an object number, omitted when there is no object
//   Value       a value, omitted when Empty
//   Marker      the tag alone
//   List        the tag, a compact count, then one object number per item
//   StringList  the tag, a compact count, the sorted flag, then per item its
//               string and the number of its object (0 for none)
//
// What a reference means for the tree decides how a loaded stream is
// checked before it becomes one:
//
//   Owned     the field owns its object, and no other owning field does
//   Shared    the field owns its object, which other fields may own too
//             (a used unit's block)
//   Link      a back or side reference to an object owned elsewhere
//   RunTime   run-time state (caches, value stacks): never restored, so a
//             loaded tree starts fresh, like a parsed one
#pragma once

#include "front/node_kind.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace ozra::compiled {

enum class StreamClass : std::int32_t {
    HashedStringList = 0,
    Object = 1,
    List = 3,
    GenericList = 4,
    StringListEx = 5,
    GenericStringList = 6,
    Hash = 7,
    UserIds = 9,
    ValueStack = 13,
    PValueStack = 15,
    Nodes = 20,
    Parameters = 21,
    Node = 22,
    Expression = 23,
    Expressions = 24,
    Variable = 25,
    GcVariable = 26,
    FsVariable = 27,
    Const = 28,
    VarRef = 29,
    PropRef = 30,
    Complex = 31,
    Set = 32,
    Operator = 33,
    NaryOperator = 34,
    DualOperator = 35,
    FunctionExpr = 36,
    SetExpr = 37,
    FilterExpr = 38,
    IndexExpr = 39,
    RangeExpr = 40,
    SubSetExpr = 41,
    Statement = 42,
    Text = 43,
    Block = 44,
    Control = 45,
    LogicNode = 46,
    IfNode = 47,
    CaseNode = 48,
    LoopNode = 49,
    ForNode = 50,
    ForeachNode = 51,
    FunctionNode = 52,
    ClassNode = 53,
    FileNode = 54,
    AssignNode = 55,
    TryNode = 56,
    Command = 57,
    Exit = 58,
    Skip = 59,
    Assign = 60,
    VarDefine = 61,
    RefDefine = 62,
    Call = 63,
    Output = 64,
    Using = 65,
    ObjectNode = 66,
    OldFile = 67,
    OldUsing = 68,
    OldCopy = 69,
    OldExecute = 70,
};

// The class number of a node's exact class; none for the runtime's own
// nodes and the debugger's end markers, which have no stored form.
std::optional<StreamClass> ClassOfNode(front::NodeKind kind) noexcept;

// What the reader makes of a class number: a node it can build (its kind),
// a container, or nothing (abstract classes, script objects, which exist
// only at run time, and the containers no tree holds).
enum class ClassUse : std::uint8_t { None, Node, List, StringList, Table, ValueStack };
struct ClassInfo {
    ClassUse Use = ClassUse::None;
    front::NodeKind Kind = front::NodeKind::Node;
};
inline ClassInfo ReadableClass(std::int32_t number) noexcept;

enum class FieldKind : std::uint8_t { Integer, String, Reference, Value, Marker, List, StringList };
enum class LinkRole : std::uint8_t { None, Owned, Shared, Link, RunTime };
// What a reference may name: a node, or the container class the field
// holds by value.
enum class FieldTarget : std::uint8_t {
    Node,
    Nodes,
    Expressions,
    UserIds,
    Parameters,
    StringList,
    ValueStack,
    PValueStack,
};

struct FieldRule {
    std::uint8_t Group;
    std::uint8_t Field;
    FieldKind Kind;
    LinkRole Role;
    FieldTarget Target = FieldTarget::Node;
};

// Whether the class numbered `classNumber` is what a field may name.
inline bool FitsTarget(FieldTarget target, std::int32_t classNumber) noexcept;

// The fields of the class numbered `classNumber`: the rule of a field the
// class has, looked up as a reader meets it.
class ClassFields {
  public:
    inline explicit ClassFields(std::int32_t classNumber) noexcept;

    const FieldRule* Find(std::int32_t group, std::int32_t field) const noexcept {
        const auto g = static_cast<std::uint32_t>(group);
        const auto f = static_cast<std::uint32_t>(field);
        if (g >= kGroupCount || f >= kFieldsPerGroup) return nullptr;
        const std::uint8_t entry = byTag_[g * kFieldsPerGroup + f];
        return entry == 0 ? nullptr : rules_ + (entry - 1);
    }

    static constexpr std::uint32_t kGroupCount = 71;
    static constexpr std::uint32_t kFieldsPerGroup = 8;

  private:
    // By group * 8 + field: the rule's index + 1, or 0.
    const std::uint8_t* byTag_;
    const FieldRule* rules_;
};

// The tables behind the lookups above, read for every block, so the
// lookups are inline.
namespace detail {
inline constexpr std::uint32_t kClassCount = ClassFields::kGroupCount;
inline constexpr std::uint32_t kTargetCount = 8;
extern const std::array<ClassInfo, kClassCount> kClasses;
// By target, then class number.
extern const std::array<std::array<bool, kClassCount>, kTargetCount> kFits;
// By class number (the last row for numbers out of range), then tag: the
// field's index in `kFields` + 1, or 0.
extern const std::array<std::array<std::uint8_t, kClassCount * ClassFields::kFieldsPerGroup>,
                        kClassCount + 1>
    kFieldRows;
extern const FieldRule kFields[];
} // namespace detail

ClassInfo ReadableClass(std::int32_t number) noexcept {
    return static_cast<std::uint32_t>(number) < detail::kClassCount
               ? detail::kClasses[static_cast<std::uint32_t>(number)]
               : ClassInfo{};
}

bool FitsTarget(FieldTarget target, std::int32_t classNumber) noexcept {
    return static_cast<std::uint32_t>(classNumber) < detail::kClassCount &&
           detail::kFits[static_cast<std::uint32_t>(target)]
                        [static_cast<std::uint32_t>(classNumber)];
}

ClassFields::ClassFields(std::int32_t classNumber) noexcept
    : byTag_(
          detail::kFieldRows[std::min(static_cast<std::uint32_t>(classNumber), detail::kClassCount)]
              .data()),
      rules_(detail::kFields) {}

// Field tags the reader and the writer name.
namespace Tag {
inline constexpr std::uint8_t ObjectGroup = 1;
inline constexpr std::uint8_t ListGroup = 4;
inline constexpr std::uint8_t StringListGroup = 6;
inline constexpr std::uint8_t TableGroup = 7;
inline constexpr std::uint8_t ValueStackGroup = 13;
inline constexpr std::uint8_t NodeGroup = 22;
inline constexpr std::uint8_t ParentField = 0;
inline constexpr std::uint8_t UsingGroup = 65;
inline constexpr std::uint8_t UsedBlockField = 0;
} // namespace Tag

} // namespace ozra::compiled
