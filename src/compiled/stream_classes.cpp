// The class numbers of the stream and the field table, read-only tables
// made at compile time.
#include "compiled/stream_classes.h"

#include <array>
#include <cstddef>

namespace ozra::compiled {

using front::NodeKind;

namespace {

struct ClassRow {
    StreamClass Number;
    NodeKind Kind;
    // The reader builds instances of it.
    bool Readable;
};

// The node classes, abstract ones included: their numbers also name the
// field groups their descendants write.
constexpr ClassRow kNodeClasses[] = {
    {StreamClass::Node, NodeKind::Node, false},
    {StreamClass::Expression, NodeKind::Expression, false},
    {StreamClass::Variable, NodeKind::Variable, true},
    {StreamClass::GcVariable, NodeKind::GcVariable, true},
    {StreamClass::FsVariable, NodeKind::FsVariable, true},
    {StreamClass::Const, NodeKind::Const, true},
    {StreamClass::VarRef, NodeKind::VarRef, true},
    {StreamClass::PropRef, NodeKind::PropRef, true},
    {StreamClass::Complex, NodeKind::Complex, false},
    {StreamClass::Set, NodeKind::Set, true},
    {StreamClass::Operator, NodeKind::Operator, false},
    {StreamClass::NaryOperator, NodeKind::NaryOperator, true},
    {StreamClass::DualOperator, NodeKind::DualOperator, true},
    {StreamClass::FunctionExpr, NodeKind::FunctionExpr, true},
    {StreamClass::SetExpr, NodeKind::SetExpr, false},
    {StreamClass::FilterExpr, NodeKind::FilterExpr, true},
    {StreamClass::IndexExpr, NodeKind::IndexExpr, true},
    {StreamClass::RangeExpr, NodeKind::RangeExpr, true},
    {StreamClass::SubSetExpr, NodeKind::SubSetExpr, true},
    {StreamClass::Statement, NodeKind::Statement, false},
    {StreamClass::Text, NodeKind::Text, true},
    {StreamClass::Block, NodeKind::Block, true},
    {StreamClass::Control, NodeKind::Control, true},
    {StreamClass::LogicNode, NodeKind::LogicNode, false},
    {StreamClass::IfNode, NodeKind::IfNode, true},
    {StreamClass::CaseNode, NodeKind::CaseNode, true},
    {StreamClass::LoopNode, NodeKind::LoopNode, true},
    {StreamClass::ForNode, NodeKind::ForNode, true},
    {StreamClass::ForeachNode, NodeKind::ForeachNode, true},
    {StreamClass::FunctionNode, NodeKind::FunctionNode, true},
    {StreamClass::ClassNode, NodeKind::ClassNode, true},
    {StreamClass::FileNode, NodeKind::FileNode, true},
    {StreamClass::AssignNode, NodeKind::AssignNode, true},
    {StreamClass::TryNode, NodeKind::TryNode, true},
    {StreamClass::Command, NodeKind::Command, false},
    {StreamClass::Exit, NodeKind::Exit, true},
    {StreamClass::Skip, NodeKind::Skip, true},
    {StreamClass::Assign, NodeKind::Assign, true},
    {StreamClass::VarDefine, NodeKind::VarDefine, true},
    {StreamClass::RefDefine, NodeKind::RefDefine, true},
    {StreamClass::Call, NodeKind::Call, true},
    {StreamClass::Output, NodeKind::Output, true},
    {StreamClass::Using, NodeKind::Using, true},
    // Script objects are made only by a run.
    {StreamClass::ObjectNode, NodeKind::ObjectNode, false},
    {StreamClass::OldFile, NodeKind::OldFile, false},
    {StreamClass::OldUsing, NodeKind::OldUsing, true},
    {StreamClass::OldCopy, NodeKind::OldCopy, true},
    {StreamClass::OldExecute, NodeKind::OldExecute, true},
};

constexpr std::size_t kClassCount = static_cast<std::size_t>(StreamClass::OldExecute) + 1;
constexpr std::size_t kKindCount = static_cast<std::size_t>(NodeKind::FunctionEnd) + 1;

constexpr std::array<ClassInfo, kClassCount> MakeClassTable() {
    std::array<ClassInfo, kClassCount> table{};
    for (const ClassRow& row : kNodeClasses) {
        table[static_cast<std::size_t>(row.Number)] =
            ClassInfo{row.Readable ? ClassUse::Node : ClassUse::None, row.Kind};
    }
    table[static_cast<std::size_t>(StreamClass::HashedStringList)].Use = ClassUse::StringList;
    table[static_cast<std::size_t>(StreamClass::StringListEx)].Use = ClassUse::StringList;
    table[static_cast<std::size_t>(StreamClass::GenericStringList)].Use = ClassUse::StringList;
    table[static_cast<std::size_t>(StreamClass::UserIds)].Use = ClassUse::Table;
    table[static_cast<std::size_t>(StreamClass::Parameters)].Use = ClassUse::Table;
    table[static_cast<std::size_t>(StreamClass::Nodes)].Use = ClassUse::List;
    table[static_cast<std::size_t>(StreamClass::Expressions)].Use = ClassUse::List;
    table[static_cast<std::size_t>(StreamClass::ValueStack)].Use = ClassUse::ValueStack;
    table[static_cast<std::size_t>(StreamClass::PValueStack)].Use = ClassUse::ValueStack;
    return table;
}

constexpr std::array<ClassInfo, kClassCount> kClassTable = MakeClassTable();

// Node kind -> class number + 1 (0: not registered).
constexpr std::array<std::int32_t, kKindCount> MakeKindTable() {
    std::array<std::int32_t, kKindCount> table{};
    for (const ClassRow& row : kNodeClasses)
        table[static_cast<std::size_t>(row.Kind)] = static_cast<std::int32_t>(row.Number) + 1;
    return table;
}

constexpr std::array<std::int32_t, kKindCount> kKindClasses = MakeKindTable();

using enum FieldKind;
using enum LinkRole;

} // namespace

// One row a field: group, field, kind, what a reference means, and what it
// may name.
// clang-format off
constexpr FieldRule detail::kFields[] = {
    {1, 0, Integer, None},                               // reference count
    {4, 0, List, Owned},
    {6, 0, StringList, Shared},
    {7, 0, Reference, Owned, FieldTarget::StringList},   // storage
    {7, 1, Integer, None},                               // replace-on-add
    {13, 0, Integer, None},                              // activation depth
    {22, 0, Reference, Link},                            // Parent
    {22, 1, String, None},
    {22, 2, Integer, None},
    {23, 0, Value, Link},                                // OwnValue
    {23, 1, Reference, RunTime, FieldTarget::PValueStack}, // SlotStack
    {23, 2, Marker, None},
    {25, 0, Reference, Link},                            // Owner
    {29, 0, Integer, None},
    {29, 1, Reference, RunTime},                         // FunctionCache
    {29, 2, Reference, RunTime},                         // TargetCache
    {29, 3, String, None},
    {29, 4, Reference, Owned},
    {29, 5, Reference, Owned},
    {30, 0, Integer, None},                              // FirstMember, a cache
    {30, 1, Reference, Owned, FieldTarget::StringList},
    {32, 0, Reference, Owned, FieldTarget::Expressions},
    {34, 0, Reference, Owned},
    {34, 1, Integer, None},
    {35, 0, Reference, Owned},
    {35, 1, Reference, Owned},
    {35, 2, Integer, None},
    {36, 0, Reference, Owned},
    {36, 1, Reference, Owned, FieldTarget::Expressions},
    {37, 0, Reference, RunTime},                         // ResultSet
    {38, 0, Reference, Owned},
    {38, 1, Reference, Owned},
    {38, 2, Reference, Owned},
    {38, 3, String, None},
    {39, 0, Reference, Owned},
    {39, 1, Reference, Owned},
    {40, 0, Reference, Owned},
    {40, 1, Reference, Owned},
    {41, 0, Reference, Owned},
    {41, 1, Reference, Owned, FieldTarget::Expressions},
    {43, 0, String, None},
    {44, 0, Reference, Owned, FieldTarget::Nodes},
    {44, 1, Reference, Owned, FieldTarget::UserIds},
    {45, 0, Reference, Owned},
    {46, 0, Reference, Owned},
    {47, 0, Reference, Owned},
    {48, 0, Reference, Owned},
    {48, 1, Reference, Owned},
    {48, 2, Integer, None},
    {49, 0, Reference, Owned},
    {49, 1, Reference, Owned},
    {50, 0, Reference, Link},
    {50, 1, Reference, Owned},
    {50, 2, Reference, Owned},
    {50, 3, Reference, Owned},
    {51, 0, Reference, Link},
    {51, 1, Reference, Owned},
    {51, 2, Reference, Owned},
    {51, 3, Reference, Owned},
    {52, 0, Reference, Owned, FieldTarget::Parameters},
    {52, 1, Reference, Link},
    {52, 2, Reference, RunTime, FieldTarget::ValueStack}, // SavedValues
    {52, 3, String, None},
    {53, 0, Reference, Owned},
    {53, 1, Reference, Link},
    {53, 2, Reference, RunTime},                         // BaseClass
    {53, 3, Reference, RunTime},                         // CurrentObject
    {53, 4, Reference, Link},
    {54, 0, Reference, Link},
    {54, 1, Integer, None},
    {54, 2, Reference, Link},
    {55, 0, Reference, Owned},
    {56, 0, Reference, Link},
    {56, 1, Reference, Owned},
    {56, 2, Reference, Owned},
    {60, 0, Reference, Owned},
    {60, 1, Integer, None},
    {60, 2, Reference, Owned},
    {63, 0, Reference, Owned},
    {63, 1, Integer, None},
    {65, 0, Reference, Shared},                          // UsedBlock
    {69, 0, String, None},
    {70, 0, String, None},
    {70, 1, Reference, Link},
};
// clang-format on

namespace {

using detail::kFields;

constexpr std::size_t kFieldsPerGroup = 8;

// (group, field) -> index in kFields + 1 (0: no such field).
constexpr std::array<std::uint8_t, kClassCount * kFieldsPerGroup> MakeFieldIndex() {
    std::array<std::uint8_t, kClassCount * kFieldsPerGroup> index{};
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        index[kFields[i].Group * kFieldsPerGroup + kFields[i].Field] =
            static_cast<std::uint8_t>(i + 1);
    return index;
}

constexpr auto kFieldIndex = MakeFieldIndex();

constexpr bool GroupBelongs(std::int32_t classNumber, std::int32_t group) noexcept {
    const ClassInfo& info = kClassTable[static_cast<std::size_t>(classNumber)];
    switch (group) {
    case Tag::ObjectGroup:
        return true;
    case Tag::ListGroup:
        return info.Use == ClassUse::List;
    case Tag::StringListGroup:
        return info.Use == ClassUse::StringList;
    case Tag::TableGroup:
        return info.Use == ClassUse::Table;
    case Tag::ValueStackGroup:
        return info.Use == ClassUse::ValueStack;
    default:
        break;
    }
    if (info.Use != ClassUse::Node || group < 0 || static_cast<std::size_t>(group) >= kClassCount)
        return false;
    const ClassInfo& declaring = kClassTable[static_cast<std::size_t>(group)];
    const bool isNodeGroup = group >= static_cast<std::int32_t>(StreamClass::Node) &&
                             group != static_cast<std::int32_t>(StreamClass::Expressions);
    return isNodeGroup && front::IsKindOf(info.Kind, declaring.Kind);
}

// Class number -> group number -> whether the class writes that group.
constexpr auto MakeGroupTable() {
    std::array<std::array<bool, kClassCount>, kClassCount> table{};
    for (std::size_t c = 0; c < kClassCount; ++c) {
        for (std::size_t g = 0; g < kClassCount; ++g) {
            table[c][g] = kClassTable[c].Use != ClassUse::None &&
                          GroupBelongs(static_cast<std::int32_t>(c), static_cast<std::int32_t>(g));
        }
    }
    return table;
}

constexpr auto kGroupBelongs = MakeGroupTable();

static_assert(ClassFields::kGroupCount == kClassCount &&
              ClassFields::kFieldsPerGroup == kFieldsPerGroup);

// Class number -> tag -> field index + 1; the last row, for class numbers
// out of range, names no field.
constexpr auto MakeFieldRows() {
    std::array<std::array<std::uint8_t, kClassCount * kFieldsPerGroup>, kClassCount + 1> rows{};
    for (std::size_t c = 0; c < kClassCount; ++c) {
        for (std::size_t tag = 0; tag < kClassCount * kFieldsPerGroup; ++tag) {
            if (kGroupBelongs[c][tag / kFieldsPerGroup]) rows[c][tag] = kFieldIndex[tag];
        }
    }
    return rows;
}

constexpr bool Fits(FieldTarget target, std::int32_t classNumber) noexcept {
    const ClassInfo info = kClassTable[static_cast<std::size_t>(classNumber)];
    switch (target) {
    case FieldTarget::Node:
        return info.Use == ClassUse::Node;
    case FieldTarget::Nodes:
        return classNumber == static_cast<std::int32_t>(StreamClass::Nodes);
    case FieldTarget::Expressions:
        return classNumber == static_cast<std::int32_t>(StreamClass::Expressions);
    case FieldTarget::UserIds:
        return classNumber == static_cast<std::int32_t>(StreamClass::UserIds);
    case FieldTarget::Parameters:
        return classNumber == static_cast<std::int32_t>(StreamClass::Parameters);
    case FieldTarget::StringList:
        return info.Use == ClassUse::StringList;
    case FieldTarget::ValueStack:
        return classNumber == static_cast<std::int32_t>(StreamClass::ValueStack);
    case FieldTarget::PValueStack:
        return classNumber == static_cast<std::int32_t>(StreamClass::PValueStack);
    }
    return false;
}

// By target, then class number.
constexpr auto MakeFitsTable() {
    std::array<std::array<bool, kClassCount>, detail::kTargetCount> table{};
    for (std::size_t t = 0; t < detail::kTargetCount; ++t) {
        for (std::size_t c = 0; c < kClassCount; ++c)
            table[t][c] = Fits(static_cast<FieldTarget>(t), static_cast<std::int32_t>(c));
    }
    return table;
}

} // namespace

constexpr std::array<ClassInfo, kClassCount> detail::kClasses = kClassTable;
constexpr std::array<std::array<bool, kClassCount>, detail::kTargetCount> detail::kFits =
    MakeFitsTable();
constexpr std::array<std::array<std::uint8_t, kClassCount * kFieldsPerGroup>, kClassCount + 1>
    detail::kFieldRows = MakeFieldRows();

std::optional<StreamClass> ClassOfNode(NodeKind kind) noexcept {
    const auto index = static_cast<std::size_t>(kind);
    if (index >= kKindCount || kKindClasses[index] == 0) return std::nullopt;
    return static_cast<StreamClass>(kKindClasses[index] - 1);
}

} // namespace ozra::compiled
