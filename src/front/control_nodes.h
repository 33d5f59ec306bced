// The control statements: every statement with a body block (if, case,
// loops, functions, classes, file blocks, assign, try) and the script object
// the runtime makes from a class.
//
// A control's constructor makes its `Body`, whose parent is the control. The
// builder then calls the control's set-up, which creates the variables the
// language makes by itself ("result", loop variables, "this", ...) in the
// body's names, by the rule of `CreateVariable`.
#pragma once

#include "front/statement_nodes.h"

#include <memory>
#include <string>
#include <vector>

namespace ozra::front {

class TtsControl : public TtsStatement {
  public:
    static constexpr NodeKind ClassKind = NodeKind::Control;
    explicit TtsControl(TtsNode* parent) : TtsControl(NodeKind::Control, parent) {}

    Ref<TtsBlock> Body;
    // Span of the statement that closed the control; the line fields are
    // filled by a compile driver.
    std::int32_t EndLength = 0;
    std::int32_t EndPosition = 0;
    std::int32_t EndColumn = 0;
    std::int32_t EndFileIndex = 0;
    std::int32_t EndLine = 0;

  protected:
    TtsControl(NodeKind kind, TtsNode* parent);
};

// Base of if and case: a branch body and what follows it.
class TtsLogicNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::LogicNode;

    // A block for "else", or the next link (elseif/elsecase) of the chain.
    Ref<TtsStatement> ElseBranch;

  protected:
    TtsLogicNode(NodeKind kind, TtsNode* parent) : TtsControl(kind, parent) {}
};

class TtsIfNode : public TtsLogicNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::IfNode;
    explicit TtsIfNode(TtsNode* parent) : TtsLogicNode(NodeKind::IfNode, parent) {}

    Ref<TtsExpression> Condition;
};

class TtsCaseNode : public TtsLogicNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::CaseNode;
    explicit TtsCaseNode(TtsNode* parent) : TtsLogicNode(NodeKind::CaseNode, parent) {}

    Ref<TtsExpression> Selector;
    Ref<TtsSet> CaseValues;
    // '=' or 'n' (for "<>").
    char CaseOperator = 0;
};

// «loop», «loop until (c)», «while (c)»; base of the counted loops.
class TtsLoopNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::LoopNode;
    explicit TtsLoopNode(TtsNode* parent) : TtsLoopNode(NodeKind::LoopNode, parent) {}

    Ref<TtsExpression> UntilCondition;
    Ref<TtsExpression> WhileCondition;

  protected:
    TtsLoopNode(NodeKind kind, TtsNode* parent) : TtsControl(kind, parent) {}
};

class TtsForNode : public TtsLoopNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::ForNode;
    explicit TtsForNode(TtsNode* parent) : TtsLoopNode(NodeKind::ForNode, parent) {}

    // Creates the loop variable in the body's names; `step` may be none.
    void SetUp(const std::string& name, Ref<TtsExpression> start, Ref<TtsExpression> step,
               Ref<TtsExpression> end);

    // Held by `Body.Names`.
    TtsVariable* Variable = nullptr;
    Ref<TtsExpression> StartValue;
    Ref<TtsExpression> EndValue;
    Ref<TtsExpression> StepValue;
};

class TtsForeachNode : public TtsLoopNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::ForeachNode;
    explicit TtsForeachNode(TtsNode* parent) : TtsLoopNode(NodeKind::ForeachNode, parent) {}

    // Creates the loop variable in the body's names and the cursor; `filter`
    // may be none.
    void SetUp(const std::string& name, Ref<TtsExpression> collection, Ref<TtsExpression> filter);

    // Held by `Body.Names`.
    TtsVariable* Variable = nullptr;
    Ref<TtsExpression> Collection;
    // Hidden holder of the collection's value while the loop runs.
    Ref<TtsVariable> Cursor;
    Ref<TtsExpression> Filter;
};

class TtsClassNode;

class TtsFunctionNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FunctionNode;
    explicit TtsFunctionNode(TtsNode* parent) : TtsFunctionNode(NodeKind::FunctionNode, parent) {}

    // Completes the definition: "result", the parameter locals and (for a
    // class) "this", "base" and the base reference; then enters the node in
    // its parent block's names. A failing step (a duplicate name) does not
    // stop the others; the first failure is raised at the end.
    void Define(const std::string& name, std::unique_ptr<value::TtsParameters> parameters,
                Ref<TtsVarRef> baseReference);
    // Derives what `Define` derives, for a function whose parts were
    // restored instead of defined (a tree loaded from its stored form): the
    // parameter locals, found by name in the body's names; `Locals`, which
    // are "result", the parameter locals and then those of `bodyLocals`
    // (variables the function owns) that are neither nor a formal
    // parameter; and `DirectCall`.
    void RestoreDerived(const std::vector<TtsVariable*>& bodyLocals);

    // None for "f()"; holds the formal parameters (`TtsFsVariable`) in
    // declaration order.
    std::unique_ptr<value::TtsParameters> Parameters;
    // Held by `Body.Names`.
    TtsVariable* ResultVariable = nullptr;
    // A class keeps its "this", "base" and "result" here across nested
    // constructions and method calls.
    value::TtsValueStack SavedValues;
    std::string FunctionName;
    // Every variable of this function's activations ("result", the
    // parameter locals and what the body defines), gathered as they are
    // made. The first activation works on their own storage; each nested
    // one points them at slots of its own for as long as it runs.
    std::vector<Ref<TtsVariable>> Locals;
    // Activations running now.
    int Activations = 0;
    // The body locals that the formal parameters feed, in declaration order
    // (null where one could not be made).
    std::vector<TtsVariable*> ParameterLocals;
    // A function (not a class) whose parameters all have locals, which
    // follow "result" at the head of `Locals`, and are at most
    // `DirectParameterLimit`: a positional call may bind them directly.
    static constexpr std::size_t DirectParameterLimit = 4;
    bool DirectCall = false;

  protected:
    TtsFunctionNode(NodeKind kind, TtsNode* parent) : TtsControl(kind, parent) {}

  private:
    void DecideDirectCall();
};

// A script object: made only by the runtime when a class is called.
class TtsObjectNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::ObjectNode;
    explicit TtsObjectNode(TtsNode* parent) : TtsControl(NodeKind::ObjectNode, parent) {}

    TtsClassNode* ClassNode = nullptr;
    // The member variables of `Body.Names` in the order the runtime made
    // them (this class's, then each base class's), which is the same for
    // every object of a class: a member found once by name is found again
    // by its position here.
    std::vector<TtsVariable*> Members;
};

class TtsClassNode : public TtsFunctionNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::ClassNode;
    explicit TtsClassNode(TtsNode* parent) : TtsFunctionNode(NodeKind::ClassNode, parent) {}
    ~TtsClassNode() override;

    // None without a base class.
    Ref<TtsVarRef> BaseReference;
    // "this" and "base" hold the class itself as a plain object reference, so
    // the class is not kept alive by its own variables.
    TtsVariable* BaseVariable = nullptr;
    // Resolved from `BaseReference` by the runtime at first use.
    TtsClassNode* BaseClass = nullptr;
    TtsVariable* ThisVariable = nullptr;
};

class TtsFileNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::FileNode;
    explicit TtsFileNode(TtsNode* parent) : TtsFileNode(NodeKind::FileNode, parent) {}

    // Creates "filename" and "target" and, when a loader is given and the
    // file name is not empty, compiles that file into the body.
    void SetUp(const std::string& fileName, bool overwrite, const FileLoader& loader);

    // Held by `Body.Names`.
    TtsVariable* FileNameVariable = nullptr;
    bool Overwrite = false;
    TtsVariable* TargetVariable = nullptr;

  protected:
    TtsFileNode(NodeKind kind, TtsNode* parent) : TtsControl(kind, parent) {}
};

// The older statement forms of «file('name', option = ...)».
class TtsOldFile : public TtsFileNode {
  public:
    static constexpr NodeKind ClassKind = NodeKind::OldFile;

  protected:
    TtsOldFile(NodeKind kind, TtsNode* parent) : TtsFileNode(kind, parent) {}
};

// «file('unit', x = Using)»: uses a unit like «using('unit')».
class TtsOldUsing : public TtsOldFile {
  public:
    static constexpr NodeKind ClassKind = NodeKind::OldUsing;
    explicit TtsOldUsing(TtsNode* parent) : TtsOldFile(NodeKind::OldUsing, parent) {}

    // Creates "filename" and "target" (nothing is compiled into the body),
    // then enters the compiled unit in the block that holds this node.
    void SetUp(const std::string& fileName, Ref<TtsBlock> usedBlock);

    // As in `TtsUsing`.
    Ref<TtsBlock> UsedBlock;
    Ref<TtsNode> UsedBlockParent;
    Ref<TtsNode> UsedTree;
};

class TtsOldCopy : public TtsOldFile {
  public:
    static constexpr NodeKind ClassKind = NodeKind::OldCopy;
    explicit TtsOldCopy(TtsNode* parent) : TtsOldFile(NodeKind::OldCopy, parent) {}

    void SetUp(const std::string& sourcePath, bool overwrite);

    std::string SourcePath;
};

class TtsOldExecute : public TtsOldFile {
  public:
    static constexpr NodeKind ClassKind = NodeKind::OldExecute;
    explicit TtsOldExecute(TtsNode* parent) : TtsOldFile(NodeKind::OldExecute, parent) {}

    // Also enters "filename" a second time, as "parameter".
    void SetUp(const std::string& programPath, bool overwrite);

    std::string ProgramPath;
    // The "filename" variable under its second name.
    TtsVariable* ParameterVariable = nullptr;
};

// «assign(variable)»: the body's output is assigned to the variable.
class TtsAssignNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::AssignNode;
    explicit TtsAssignNode(TtsNode* parent) : TtsControl(NodeKind::AssignNode, parent) {}

    Ref<TtsVarRef> Target;
};

class TtsTryNode : public TtsControl {
  public:
    static constexpr NodeKind ClassKind = NodeKind::TryNode;
    explicit TtsTryNode(TtsNode* parent) : TtsControl(NodeKind::TryNode, parent) {}

    // Makes the except block (with its "exception" variable) and returns it.
    TtsBlock& AttachExcept();
    TtsBlock& AttachFinally();

    // Held by `ExceptBlock->Names`.
    TtsVariable* ExceptionVariable = nullptr;
    Ref<TtsBlock> ExceptBlock;
    Ref<TtsBlock> FinallyBlock;
};

// Creates a variable for a definition made at `definer`, of the class the
// language's rule gives: inside a function (not a class) a `TtsFsVariable`
// owned by that function; elsewhere a `TtsGcVariable` for an explicit
// definition ("var") and a plain `TtsVariable` for the variables the
// language makes itself. The variable's parent is `definer`.
Ref<TtsVariable> CreateVariable(TtsNode& definer, const std::string& name, bool explicitDefinition,
                                std::int32_t paramMode = ParamMode::Plain);

// The function whose activations a definition at `definer` belongs to, or
// nullptr outside functions and anywhere in a class.
TtsFunctionNode* EnclosingFunction(const TtsNode& definer) noexcept;

// False for the statements a block skips: function and class definitions
// and the used units.
bool IsExecutable(const TtsStatement& statement) noexcept;

} // namespace ozra::front
