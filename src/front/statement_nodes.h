// The statement nodes that are not control statements: template text, the
// block, and the commands (exit, skip, assignments and definitions, calls,
// output, using), plus the end markers of the debugger's compile.
//
// A block owns its statements and holds the names declared in it; the names
// table holds one counted reference per entry, so a node entered there and
// also listed as a statement (a function) is freed once, when both let go.
#pragma once

#include "front/expression_nodes.h"
#include "value/errors.h"
#include "value/name_table.h"

#include <functional>
#include <memory>
#include <string>

namespace ozra::front {

class TtsBlock;

// Compiles a named script file into the given block (or a new one when none
// is given) and returns that block; may answer null for a unit that is still
// being compiled.
using FileLoader = std::function<Ref<TtsBlock>(const std::string& fileName, Ref<TtsBlock> block)>;

// Raised by a file loader that will not compile a file where it is named (a
// file that includes itself, directly or through others). The builder
// reports it at the statement that names the file, like a structure error.
class IncludeRefused : public value::EtsException {
  public:
    using EtsException::EtsException;
};

class TtsText : public TtsStatement {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Text;
    explicit TtsText(TtsNode* parent) noexcept : TtsStatement(NodeKind::Text, parent) {}

    std::string Text;
};

class TtsBlock : public TtsStatement {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Block;
    explicit TtsBlock(TtsNode* parent) noexcept : TtsBlock(NodeKind::Block, parent) {}

    TtsNodes Statements;
    value::TtsUserIds Names;
    // Made by the runtime at the block's first run.
    std::unique_ptr<DerivedCode> Code;

  protected:
    TtsBlock(NodeKind kind, TtsNode* parent) noexcept : TtsStatement(kind, parent) {}
};

class TtsCommand : public TtsStatement {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Command;

  protected:
    TtsCommand(NodeKind kind, TtsNode* parent) noexcept : TtsStatement(kind, parent) {}
};

// «exit keyword»: `Name` is the keyword of the construct to leave.
class TtsExit : public TtsCommand {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Exit;
    explicit TtsExit(TtsNode* parent) noexcept : TtsExit(NodeKind::Exit, parent) {}

  protected:
    TtsExit(NodeKind kind, TtsNode* parent) noexcept : TtsCommand(kind, parent) {}
};

// «skip keyword»: go on with the next round of the named loop.
class TtsSkip : public TtsExit {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Skip;
    explicit TtsSkip(TtsNode* parent) noexcept : TtsExit(NodeKind::Skip, parent) {}
};

// An assignment; also the base of the definitions "var" and "ref".
class TtsAssign : public TtsCommand {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Assign;
    explicit TtsAssign(TtsNode* parent) noexcept : TtsAssign(NodeKind::Assign, parent) {}

    // Targets a new reference to the name. On a `TtsVarDefine` this also
    // defines the variable in the parent block, failing with
    // name + " already exists." for a duplicate (the statement stays valid).
    void InitNamed(std::string_view name, char assignOperator, Ref<TtsExpression> value);
    // Targets an existing reference.
    void InitTarget(Ref<TtsVarRef> target, char assignOperator, Ref<TtsExpression> value);

    // None for "++" and "--".
    Ref<TtsExpression> Value;
    // 0 for a plain assignment, else the operator code of the compound one.
    char AssignOperator = 0;
    Ref<TtsVarRef> Target;

  protected:
    TtsAssign(NodeKind kind, TtsNode* parent) noexcept : TtsCommand(kind, parent) {}
};

class TtsVarDefine : public TtsAssign {
  public:
    static constexpr NodeKind ClassKind = NodeKind::VarDefine;
    explicit TtsVarDefine(TtsNode* parent) noexcept : TtsVarDefine(NodeKind::VarDefine, parent) {}

  protected:
    TtsVarDefine(NodeKind kind, TtsNode* parent) noexcept : TtsAssign(kind, parent) {}
};

// «ref r = y»: the builder enters y under r; nothing happens at run time.
class TtsRefDefine : public TtsVarDefine {
  public:
    static constexpr NodeKind ClassKind = NodeKind::RefDefine;
    explicit TtsRefDefine(TtsNode* parent) noexcept : TtsVarDefine(NodeKind::RefDefine, parent) {}
};

// A call made for its effect; `TtsOutput` writes the value instead.
class TtsCall : public TtsCommand {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Call;
    explicit TtsCall(TtsNode* parent) noexcept : TtsCall(NodeKind::Call, parent) {}

    Ref<TtsExpression> Expression;
    // Output only: write a line break after the value ("??").
    bool NewLine = false;

  protected:
    TtsCall(NodeKind kind, TtsNode* parent) noexcept : TtsCommand(kind, parent) {}
};

class TtsOutput : public TtsCall {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Output;
    explicit TtsOutput(TtsNode* parent) noexcept : TtsCall(NodeKind::Output, parent) {}
};

// «using('file')» / «using('file', alias)»: another unit's block, entered in
// the names of the block that holds the statement.
class TtsUsing : public TtsCommand {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Using;
    explicit TtsUsing(TtsNode* parent) noexcept : TtsCommand(NodeKind::Using, parent) {}

    // Compiles the file through the loader and enters its block (`Attach`).
    // An empty file name, no loader or no block leaves `UsedBlock` none.
    void SetUp(const std::string& fileName, const std::string& alias, const FileLoader& loader);
    // Enters an already compiled block; the builder calls the loader itself
    // so that the loader's own errors are not taken for set-up errors.
    void Attach(Ref<TtsBlock> block, const std::string& fileName, const std::string& alias);

    Ref<TtsBlock> UsedBlock;
    // The used block's parent; its `Tag` is the unit's run-once mark. A block
    // that comes without a parent is given a new empty control as parent.
    Ref<TtsNode> UsedBlockParent;
    // The topmost node above the used block, kept alive so that lookups from
    // inside the unit never reach a freed node.
    Ref<TtsNode> UsedTree;
};

// Stands for the statement that closed a control (debug compiles only).
class TtsControlEnd : public TtsStatement {
  public:
    static constexpr NodeKind ClassKind = NodeKind::ControlEnd;
    explicit TtsControlEnd(TtsNode* parent) noexcept
        : TtsControlEnd(NodeKind::ControlEnd, parent) {}

  protected:
    TtsControlEnd(NodeKind kind, TtsNode* parent) noexcept : TtsStatement(kind, parent) {}
};

class TtsFunctionEnd : public TtsControlEnd {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FunctionEnd;
    explicit TtsFunctionEnd(TtsNode* parent) noexcept
        : TtsControlEnd(NodeKind::FunctionEnd, parent) {}
};

// The nearest block above a node: where a statement's definitions go.
TtsBlock& HoldingBlock(TtsNode& statement);

// Loads a used file: null when the file name is empty, no loader is set or
// the loader gives no block.
Ref<TtsBlock> LoadUsedFile(const std::string& fileName, const FileLoader& loader);

// Enters a used block in `holder`'s names: under the alias, or, without one,
// under the file name with the block's own names (other than blocks) merged
// in. Fills the holders as `HoldUsedBlock` does; a null block changes
// nothing. A block from the holder's own tree is refused with "Circular file
// reference : " + file name, since keeping it would keep the tree alive from
// inside.
void AttachUsedBlock(TtsBlock& holder, Ref<TtsBlock> block, const std::string& fileName,
                     const std::string& alias, Ref<TtsBlock>& usedBlock,
                     Ref<TtsNode>& usedBlockParent, Ref<TtsNode>& usedTree);
// Fills the holders of a used block, as `TtsUsing` describes: the block, its
// parent (a new empty control when it has none) and the topmost node above it.
void HoldUsedBlock(Ref<TtsBlock> block, Ref<TtsBlock>& usedBlock, Ref<TtsNode>& usedBlockParent,
                   Ref<TtsNode>& usedTree);

} // namespace ozra::front
