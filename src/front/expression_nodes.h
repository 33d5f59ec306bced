// The expression nodes: variables, constants, name references, sets,
// operators, calls, ranges, sub-sets and filters.
//
// Each node is made with its parent (the block that was current when the
// builder made it) and then filled by the builder; the set-up operations
// here are the ones construction needs (`SetName`, `MakePropRef`,
// `TtsSet::SetUp`). Operator codes are the one-character codes of the
// builder's operator table.
#pragma once

#include "front/syntax_node.h"

#include <memory>
#include <string>
#include <vector>

namespace ozra::front {

class TtsFunctionNode;
class TtsPropRef;

// A named value slot. The plain form is what the runtime makes for itself
// outside functions (loop variables, "result" of a class, "this", ...).
class TtsVariable : public TtsExpression {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Variable;
    explicit TtsVariable(TtsNode* parent) noexcept : TtsVariable(NodeKind::Variable, parent) {}

    // The function whose activations this variable belongs to; set on
    // `TtsFsVariable` and on formal parameters.
    TtsFunctionNode* Owner = nullptr;

  protected:
    TtsVariable(NodeKind kind, TtsNode* parent) noexcept : TtsExpression(kind, parent) {}
};

// A variable that owns a counted reference to the object it holds: what an
// explicit definition outside a function makes.
class TtsGcVariable : public TtsVariable {
  public:
    static constexpr NodeKind ClassKind = NodeKind::GcVariable;
    explicit TtsGcVariable(TtsNode* parent) noexcept
        : TtsGcVariable(NodeKind::GcVariable, parent) {}

  protected:
    TtsGcVariable(NodeKind kind, TtsNode* parent) noexcept : TtsVariable(kind, parent) {}
};

// A variable of a function (`Owner`): every variable defined inside a
// function body, its parameters and parameter locals.
class TtsFsVariable : public TtsGcVariable {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FsVariable;
    explicit TtsFsVariable(TtsNode* parent) noexcept
        : TtsGcVariable(NodeKind::FsVariable, parent) {}
};

// A literal; its value is `OwnValue`, set once by the builder.
class TtsConst : public TtsExpression {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Const;
    explicit TtsConst(TtsNode* parent) noexcept : TtsExpression(NodeKind::Const, parent) {}
};

// A reference to a variable or function by name. `MakePropRef` turns it into
// a member access: the member reference then does the work (`PropRef`).
class TtsVarRef : public TtsExpression {
  public:
    static constexpr NodeKind ClassKind = NodeKind::VarRef;
    explicit TtsVarRef(TtsNode* parent) noexcept : TtsExpression(NodeKind::VarRef, parent) {}
    ~TtsVarRef() override;

    void SetName(std::string_view name);
    // The receiver of a member access «receiver.name».
    void MakePropRef(Ref<TtsExpression> receiver);

    bool AtPrefix = false;
    Ref<TtsPropRef> PropRef;
    Ref<TtsExpression> ObjectExpression;
    TtsNode* FunctionCache = nullptr;
    TtsNode* TargetCache = nullptr;
    // `TargetCache` when reading the name is no more than reading that
    // variable's slot (not "@x", not a system variable that computes its
    // value); set by the runtime as it resolves the name.
    TtsVariable* PlainTarget = nullptr;
    std::string RefName;

  protected:
    TtsVarRef(NodeKind kind, TtsNode* parent) noexcept : TtsExpression(kind, parent) {}
};

// A dotted name «a.b.c», or a member of a receiver expression.
class TtsPropRef : public TtsVarRef {
  public:
    static constexpr NodeKind ClassKind = NodeKind::PropRef;
    explicit TtsPropRef(TtsNode* parent) noexcept : TtsVarRef(NodeKind::PropRef, parent) {}

    // Index of the first name part still to resolve as a member.
    std::int32_t FirstMember = 0;
    std::vector<std::string> NameParts;
    // What the runtime found for each member part the last time, keyed by
    // the receiver's class; never streamed.
    std::unique_ptr<DerivedCode> MemberCache;
};

class TtsIndexExpr : public TtsVarRef {
  public:
    static constexpr NodeKind ClassKind = NodeKind::IndexExpr;
    explicit TtsIndexExpr(TtsNode* parent) noexcept : TtsVarRef(NodeKind::IndexExpr, parent) {}

    Ref<TtsExpression> Target;
    Ref<TtsExpression> Index;
};

// Base of the expressions made of other expressions.
class TtsComplex : public TtsExpression {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Complex;

  protected:
    TtsComplex(NodeKind kind, TtsNode* parent) noexcept : TtsExpression(kind, parent) {}
};

// A list literal (and the result of sub-sets and filters). Its value is a
// plain reference to itself.
class TtsSet : public TtsComplex {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Set;
    explicit TtsSet(TtsNode* parent) noexcept : TtsComplex(NodeKind::Set, parent) {}

    void SetUp(TtsExpressions elements);

    TtsExpressions Elements;
};

class TtsOperator : public TtsComplex {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Operator;

  protected:
    TtsOperator(NodeKind kind, TtsNode* parent) noexcept : TtsComplex(kind, parent) {}
};

class TtsNaryOperator : public TtsOperator {
  public:
    static constexpr NodeKind ClassKind = NodeKind::NaryOperator;
    explicit TtsNaryOperator(TtsNode* parent) noexcept
        : TtsOperator(NodeKind::NaryOperator, parent) {}

    Ref<TtsExpression> Operand;
    char OperatorCode = 0;
};

class TtsDualOperator : public TtsOperator {
  public:
    static constexpr NodeKind ClassKind = NodeKind::DualOperator;
    explicit TtsDualOperator(TtsNode* parent) noexcept
        : TtsOperator(NodeKind::DualOperator, parent) {}

    Ref<TtsExpression> Left;
    Ref<TtsExpression> Right;
    char OperatorCode = 0;
    // Set by the runtime once both operands read without effect (a constant,
    // or a name resolved to a plain variable): the slot pointer through
    // which each operand's value is found.
    value::TtsValue* const* LeftSlot = nullptr;
    value::TtsValue* const* RightSlot = nullptr;
};

class TtsFunctionExpr : public TtsComplex {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FunctionExpr;
    explicit TtsFunctionExpr(TtsNode* parent) noexcept
        : TtsComplex(NodeKind::FunctionExpr, parent) {}

    // Stores the arguments and notes whether all are passed by position.
    void SetArguments(TtsExpressions arguments);

    Ref<TtsVarRef> Callee;
    TtsExpressions Arguments;
    // Every argument is `PassedByPosition`.
    bool PositionalArguments = true;
    // Set by the runtime when the callee has resolved to a function that
    // these arguments may call directly (`TtsFunctionNode::DirectCall`).
    TtsFunctionNode* DirectFunction = nullptr;
};

// An argument passed neither by name nor with "ref" (which passes the
// variable node itself).
inline bool PassedByPosition(const TtsExpression& argument) noexcept {
    return !IsKindOf(argument.Kind, NodeKind::Variable) && argument.Name.empty();
}

// Base of the expressions whose value is a set they build when evaluated.
class TtsSetExpr : public TtsComplex {
  public:
    static constexpr NodeKind ClassKind = NodeKind::SetExpr;

    Ref<TtsSet> ResultSet;

  protected:
    TtsSetExpr(NodeKind kind, TtsNode* parent) noexcept : TtsComplex(kind, parent) {}
};

// «[item = source | condition]».
class TtsFilterExpr : public TtsSetExpr {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FilterExpr;
    explicit TtsFilterExpr(TtsNode* parent) noexcept : TtsSetExpr(NodeKind::FilterExpr, parent) {}

    Ref<TtsVariable> ItemVariable;
    Ref<TtsExpression> Source;
    Ref<TtsExpression> Condition;
    std::string ItemName;
};

// «start : end» inside a sub-set.
class TtsRangeExpr : public TtsSetExpr {
  public:
    static constexpr NodeKind ClassKind = NodeKind::RangeExpr;
    explicit TtsRangeExpr(TtsNode* parent) noexcept : TtsSetExpr(NodeKind::RangeExpr, parent) {}

    Ref<TtsExpression> RangeStart;
    Ref<TtsExpression> RangeEnd;
};

// «source[selector, start:end, ...]».
class TtsSubSetExpr : public TtsSetExpr {
  public:
    static constexpr NodeKind ClassKind = NodeKind::SubSetExpr;
    explicit TtsSubSetExpr(TtsNode* parent) noexcept : TtsSetExpr(NodeKind::SubSetExpr, parent) {}

    Ref<TtsExpression> Source;
    TtsExpressions Ranges;
};

} // namespace ozra::front
