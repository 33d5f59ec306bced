// Set-up of control statements, and the rule that picks the class of the
// variables a definition creates.
#include "front/control_nodes.h"

#include "value/errors.h"

#include <algorithm>
#include <optional>

namespace ozra::front {

namespace {

// Enters a variable in a block's names and answers it; the names table holds
// the only reference, so a rejected duplicate is already freed when the
// error leaves.
TtsVariable* Enter(TtsBlock& block, Ref<TtsVariable> variable) {
    TtsVariable* raw = variable.Get();
    block.Names.Add(raw->Name, std::move(variable));
    return raw;
}

// Runs the steps of a definition, keeping the first name-table error and
// raising it once every step has had its turn.
class FirstError {
  public:
    template <class Step> void Attempt(Step&& step) {
        try {
            step();
        } catch (const value::EtsException& error) {
            if (!error_) error_ = error;
        }
    }
    void RaiseIfAny() const {
        if (error_) throw *error_;
    }

  private:
    std::optional<value::EtsException> error_;
};

} // namespace

TtsFunctionNode* EnclosingFunction(const TtsNode& definer) noexcept {
    if (definer.Kind == NodeKind::ClassNode) return nullptr;
    if (IsKindOf(definer.Kind, NodeKind::Block) && definer.Parent &&
        definer.Parent->Kind == NodeKind::ClassNode)
        return nullptr;
    for (const TtsNode* node = &definer; node; node = node->Parent) {
        if (node->Kind == NodeKind::ClassNode) return nullptr;
        if (node->Kind == NodeKind::FunctionNode)
            return static_cast<TtsFunctionNode*>(const_cast<TtsNode*>(node));
    }
    return nullptr;
}

Ref<TtsVariable> CreateVariable(TtsNode& definer, const std::string& name, bool explicitDefinition,
                                std::int32_t paramMode) {
    Ref<TtsVariable> variable;
    if (TtsFunctionNode* function = EnclosingFunction(definer)) {
        auto local = value::MakeRef<TtsFsVariable>(&definer);
        local->Owner = function;
        function->Locals.push_back(local);
        variable = std::move(local);
    } else if (explicitDefinition) {
        variable = value::MakeRef<TtsGcVariable>(&definer);
    } else {
        variable = value::MakeRef<TtsVariable>(&definer);
    }
    variable->Name = name;
    variable->Tag = paramMode;
    return variable;
}

bool IsExecutable(const TtsStatement& statement) noexcept {
    if (IsKindOf(statement.Kind, NodeKind::FunctionNode)) return false;
    if (statement.Kind == NodeKind::OldUsing) return false;
    if (statement.Kind == NodeKind::Using)
        return static_cast<const TtsUsing&>(statement).UsedBlock != nullptr;
    return true;
}

TtsControl::TtsControl(NodeKind kind, TtsNode* parent)
    : TtsStatement(kind, parent), Body(value::MakeRef<TtsBlock>(this)) {}

void TtsForNode::SetUp(const std::string& name, Ref<TtsExpression> start, Ref<TtsExpression> step,
                       Ref<TtsExpression> end) {
    StartValue = std::move(start);
    StepValue = std::move(step);
    EndValue = std::move(end);
    Variable = Enter(*Body, CreateVariable(*this, name, false));
}

void TtsForeachNode::SetUp(const std::string& name, Ref<TtsExpression> collection,
                           Ref<TtsExpression> filter) {
    Collection = std::move(collection);
    Filter = std::move(filter);
    Cursor = CreateVariable(*this, std::string(), false);
    Variable = Enter(*Body, CreateVariable(*this, name, false));
}

void TtsFunctionNode::Define(const std::string& name,
                             std::unique_ptr<value::TtsParameters> parameters,
                             Ref<TtsVarRef> baseReference) {
    FunctionName = name;
    Parameters = std::move(parameters);
    FirstError errors;
    errors.Attempt([&] {
        ResultVariable = Enter(*Body, CreateVariable(*this, "result", false, ParamMode::Parameter));
    });
    if (Parameters) {
        for (int i = 0; i < Parameters->Count(); ++i) {
            auto* parameter = NodeCast<TtsVariable>(Parameters->Item(i));
            if (!parameter) continue;
            parameter->Parent = this;
            parameter->Owner = this;
        }
        ParameterLocals.assign(static_cast<std::size_t>(Parameters->Count()), nullptr);
        for (int i = 0; i < Parameters->Count(); ++i) {
            auto* parameter = NodeCast<TtsVariable>(Parameters->Item(i));
            if (!parameter) continue;
            errors.Attempt([&] {
                auto local = value::MakeRef<TtsFsVariable>(this);
                local->Owner = this;
                Locals.push_back(local);
                local->Name = parameter->Name;
                local->Tag = ParamMode::Parameter;
                ParameterLocals[static_cast<std::size_t>(i)] = Enter(*Body, std::move(local));
            });
        }
    }
    DecideDirectCall();
    if (Kind == NodeKind::ClassNode) {
        auto& self = static_cast<TtsClassNode&>(*this);
        errors.Attempt([&] {
            auto variable = CreateVariable(*this, "this", false, ParamMode::Parameter);
            variable->SetObject(this);
            self.ThisVariable = Enter(*Body, std::move(variable));
        });
        errors.Attempt([&] {
            auto variable = CreateVariable(*this, "base", false, ParamMode::Parameter);
            variable->SetObject(this);
            self.BaseVariable = Enter(*Body, std::move(variable));
        });
        self.BaseReference = std::move(baseReference);
    }
    errors.Attempt([&] { HoldingBlock(*this).Names.AddCounted(FunctionName, this); });
    errors.RaiseIfAny();
}

void TtsFunctionNode::RestoreDerived(const std::vector<TtsVariable*>& bodyLocals) {
    Locals.clear();
    ParameterLocals.clear();
    const auto owned = [this](TtsVariable* variable) {
        return variable && variable->Kind == NodeKind::FsVariable && variable->Owner == this;
    };
    if (owned(ResultVariable)) Locals.push_back(Ref<TtsVariable>::Retain(ResultVariable));
    if (Parameters) {
        for (int i = 0; i < Parameters->Count(); ++i) {
            TtsVariable* local = nullptr;
            if (auto* parameter = NodeCast<TtsVariable>(Parameters->Item(i)))
                local = NodeCast<TtsVariable>(Body->Names.Find(parameter->Name));
            if (!owned(local)) local = nullptr;
            ParameterLocals.push_back(local);
            if (local) Locals.push_back(Ref<TtsVariable>::Retain(local));
        }
    }
    // The formal parameters are the function's too, but never its locals.
    std::vector<const value::TtsObject*> head;
    for (const auto& local : Locals)
        head.push_back(local.Get());
    for (int i = 0; Parameters && i < Parameters->Count(); ++i)
        head.push_back(Parameters->Item(i));
    std::sort(head.begin(), head.end());
    for (TtsVariable* variable : bodyLocals) {
        if (owned(variable) && !std::binary_search(head.begin(), head.end(), variable))
            Locals.push_back(Ref<TtsVariable>::Retain(variable));
    }
    DecideDirectCall();
}

void TtsFunctionNode::DecideDirectCall() {
    DirectCall = Kind == NodeKind::FunctionNode && ParameterLocals.size() <= DirectParameterLimit &&
                 Locals.size() > ParameterLocals.size() && Locals[0].Get() == ResultVariable;
    for (std::size_t i = 0; DirectCall && i < ParameterLocals.size(); ++i)
        DirectCall = ParameterLocals[i] && Locals[i + 1].Get() == ParameterLocals[i];
}

TtsClassNode::~TtsClassNode() = default;

void TtsFileNode::SetUp(const std::string& fileName, bool overwrite, const FileLoader& loader) {
    Overwrite = overwrite;
    FileNameVariable = Enter(*Body, CreateVariable(*this, "filename", false));
    TargetVariable = Enter(*Body, CreateVariable(*this, "target", false));
    if (loader && !fileName.empty()) loader(fileName, Body);
}

void TtsOldUsing::SetUp(const std::string& fileName, Ref<TtsBlock> usedBlock) {
    TtsFileNode::SetUp(fileName, false, nullptr);
    AttachUsedBlock(HoldingBlock(*this), std::move(usedBlock), fileName, std::string(), UsedBlock,
                    UsedBlockParent, UsedTree);
}

void TtsOldCopy::SetUp(const std::string& sourcePath, bool overwrite) {
    TtsFileNode::SetUp(sourcePath, overwrite, nullptr);
    SourcePath = sourcePath;
}

void TtsOldExecute::SetUp(const std::string& programPath, bool overwrite) {
    TtsFileNode::SetUp(programPath, overwrite, nullptr);
    ProgramPath = programPath;
    Body->Names.AddCounted("parameter", FileNameVariable);
    ParameterVariable = FileNameVariable;
}

TtsBlock& TtsTryNode::AttachExcept() {
    ExceptBlock = value::MakeRef<TtsBlock>(this);
    ExceptionVariable = Enter(*ExceptBlock, CreateVariable(*ExceptBlock, "exception", false));
    return *ExceptBlock;
}

TtsBlock& TtsTryNode::AttachFinally() {
    FinallyBlock = value::MakeRef<TtsBlock>(this);
    return *FinallyBlock;
}

} // namespace ozra::front
