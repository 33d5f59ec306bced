// The script-object library.
#include "compiled/ozra_script_lib.h"

#include "compiled/script_calls.h"
#include "libs/lib_support.h"
#include "runtime/evaluator.h"
#include "runtime/host.h"
#include "runtime/result.h"
#include "runtime/run_error.h"

#include <unordered_set>

namespace ozra::compiled {

using namespace front;
using runtime::LibCall;
using value::Ref;

namespace {

bool Within(const TtsNode* node, const TtsNode& ancestor) {
    for (; node; node = node->Parent) {
        if (node == &ancestor) return true;
    }
    return false;
}

// Whether `from` names `target`, directly or through the blocks it names:
// naming a block that names this one back would tie both trees to each
// other.
bool Reaches(const TtsBlock& from, const TtsBlock& target) {
    std::vector<const TtsBlock*> pending{&from};
    std::unordered_set<const TtsBlock*> seen{&from};
    while (!pending.empty()) {
        const TtsBlock* block = pending.back();
        pending.pop_back();
        if (block == &target) return true;
        for (int i = 0; i < block->Names.Count(); ++i) {
            const auto* named = NodeCast<TtsBlock>(block->Names.Item(i));
            if (named && seen.insert(named).second) pending.push_back(named);
        }
    }
    return false;
}

// Enters another block in a script's names under the block's identity and
// merges its names in, as a used unit's are.
void UseBlock(TtsBlock& root, TtsBlock& used) {
    if (Reaches(used, root)) throw value::EtsRuntime("Circular script reference.");
    root.Names.AddCounted(libs::IdentityText(&used), &used);
    root.Names.MergeSkipping<TtsBlock>(used.Names);
}

// The parent a script's root block has while it runs, given back after.
class BorrowedScope {
  public:
    BorrowedScope(TtsBlock& root, TtsNode* scope) : root_(root), previous_(root.Parent) {
        // A scope inside the script's own tree would make it its own
        // ancestor.
        if (!Within(scope, root)) root_.Parent = scope;
    }
    BorrowedScope(const BorrowedScope&) = delete;
    BorrowedScope& operator=(const BorrowedScope&) = delete;
    ~BorrowedScope() { root_.Parent = previous_; }

  private:
    TtsBlock& root_;
    TtsNode* previous_;
};

// Sets the script's top-level variables from the named arguments; an
// argument without a name is ignored.
void SetArguments(TtsBlock& root, const LibCall& call) {
    for (int i = 0; i < call.Count(); ++i) {
        const std::string_view name = runtime::TtsLibBase::ArgName(*call.Arguments()->Item(i));
        if (name.empty()) continue;
        auto* variable = NodeCast<TtsVariable>(root.Names.Find(name));
        if (!variable) {
            // A defined variable: it keeps a counted reference to an object
            // passed in.
            auto made = value::MakeRef<TtsGcVariable>(&root);
            made->Name = name;
            variable = made.Get();
            root.Names.Add(name, std::move(made));
        }
        runtime::WriteVariable(*variable, call.Argument(i));
    }
}

} // namespace

void TObj_Lib_OzraScript::Execute(LibCall& call, TObj_Impl_OzraScript& script) {
    TtsBlock& root = *script.Root;
    const BorrowedScope scope(root, call.Count() == 0 ? call.Context.CurrentNode : nullptr);
    if (call.Count() > 0) SetArguments(root, call);
    const RunningFiles files(global_, &script.FileList);
    const runtime::ChildContext child(call.Context, false);
    try {
        runtime::Run(root, child.Get());
    } catch (...) {
        runtime::RethrowFromInnerScript(child.Get(), script.FileList, call.Context);
    }
    call.ReturnText(child.Get().Text);
}

void TObj_Lib_OzraScript::Call(LibCall& call, TObj_Impl_OzraScript& script) {
    const Ref<TtsVarRef> reference = NameReference(call.Text(0), script.Root.Get());
    const TtsExpressions arguments = ArgumentsAfterFirst(call);
    const RunningFiles files(global_, &script.FileList);
    const runtime::ChildContext child(call.Context, false);
    value::TtsValue result;
    try {
        runtime::Call(*reference, child.Get(), arguments.IsEmpty() ? nullptr : &arguments, result);
    } catch (...) {
        runtime::RethrowFromInnerScript(child.Get(), script.FileList, call.Context);
    }
    call.Context.Append(child.Get().Text);
    call.Return(result);
}

void TObj_Lib_OzraScript::HasFunction(LibCall& call, TObj_Impl_OzraScript& script) {
    bool found = true;
    try {
        script.Root->FindNode(call.Text(0), NodeKind::FunctionNode);
    } catch (const value::EtsException&) {
        found = false;
    }
    call.ReturnBoolean(found);
}

void TObj_Lib_OzraScript::Using(LibCall& call, TObj_Impl_OzraScript& script) {
    UseBlock(*script.Root, *call.ObjectAs<TObj_Impl_OzraScript>(0).Root);
}

// The caller's unit that holds the name: the node just below the top of the
// caller's tree on the way up from what the name finds.
void TObj_Lib_OzraScript::UsingScope(LibCall& call, TObj_Impl_OzraScript& script) {
    auto* found = dynamic_cast<TtsNode*>(call.Arguments()->Item(0)->FindNode(call.Text(0)));
    if (!found || !found->Parent) return;
    while (found->Parent->Parent)
        found = found->Parent;
    if (auto* unit = NodeCast<TtsBlock>(found)) UseBlock(*script.Root, *unit);
}

TObj_Lib_OzraScript::TObj_Lib_OzraScript(runtime::TtsHost& host, runtime::TGlobalData& global)
    : TtsLibBase(host), global_(global) {
    RegisterFor<TObj_Impl_OzraScript>(runtime::AccessMethod);
    Publish({
        {"Execute", Method<&TObj_Lib_OzraScript::Execute>, 0, Unlimited},
        {"Call", Method<&TObj_Lib_OzraScript::Call>, 1, Unlimited},
        {"HasFunction", Method<&TObj_Lib_OzraScript::HasFunction>, 1, 1},
        {"Using", Method<&TObj_Lib_OzraScript::Using>, 1, 1},
        {"UsingScope", Method<&TObj_Lib_OzraScript::UsingScope>, 1, 1},
    });
}

} // namespace ozra::compiled
