// Name references: plain names, dotted names and members of receivers.
//
// A reference resolves once and keeps what it found in the node
// (`TargetCache` for a variable, `FunctionCache` for a function or class,
// `FirstMember` for the dotted parts left to walk at run time), so a later
// definition of the same name in an inner block does not change what an
// already-resolved reference reads. The parts after the resolved prefix are
// members: of a script object, its member variables; of anything else, the
// properties and methods the host's libraries publish.
#include "runtime/evaluator.h"

#include "runtime/evaluator_internal.h"
#include "runtime/host.h"
#include "value/errors.h"
#include "value/names.h"

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace {

[[noreturn]] void RaiseNotFound(std::string_view name, NodeKind required) {
    switch (required) {
    case NodeKind::Variable:
        throw EtsRuntime::VariableNotFound(name);
    case NodeKind::FunctionNode:
        throw EtsRuntime::FunctionNotFound(name);
    case NodeKind::ClassNode:
        throw EtsRuntime::ClassNotFound(name);
    default:
        throw EtsRuntime::NotFoundOrInvalid(name);
    }
}

ItsHost& HostOf(TtsResult& context) {
    if (!context.Host) throw EtsRuntime("no host for a library operation.");
    return *context.Host;
}

TtsNode* AsNode(TtsObject* object) noexcept {
    return dynamic_cast<TtsNode*>(object);
}

TtsObjectNode* AsScriptObject(const TtsValue& value) noexcept {
    TtsObject* object = value.Object();
    return object ? NodeCast<TtsObjectNode>(AsNode(object)) : nullptr;
}

// Inside a filter condition an unresolved reference is moved under the
// filter (or foreach) node, so that the loop variable is found.
void ReparentForFilter(TtsVarRef& reference, const TtsResult& context) noexcept {
    if (context.FilterMode() && context.CurrentNode) reference.Parent = context.CurrentNode;
}

TtsVariable& ResolveVariable(TtsVarRef& reference, TtsResult& context) {
    if (reference.TargetCache) return static_cast<TtsVariable&>(*reference.TargetCache);
    ReparentForFilter(reference, context);
    if (!reference.RefName.empty() && reference.RefName.front() == '@') {
        reference.AtPrefix = true;
        reference.RefName.erase(0, 1);
    }
    TtsNode* found = reference.FindNode(reference.RefName, NodeKind::Variable);
    reference.TargetCache = found;
    auto& variable = static_cast<TtsVariable&>(*found);
    if (!reference.AtPrefix && found->Kind >= NodeKind::Variable &&
        found->Kind <= NodeKind::FsVariable)
        reference.PlainTarget = &variable;
    return variable;
}

// Resolves the longest prefix of a dotted name that names a tree node:
// a block and the names inside it, a class and the names of its body, a
// variable and, while its value is a block, the names of that block.
void ResolveDotted(TtsPropRef& reference, TtsResult& context, NodeKind required) {
    if (reference.ObjectExpression) {
        reference.FirstMember = 0;
        return;
    }
    if (reference.TargetCache) return;
    if (reference.FunctionCache) {
        if (!IsKindOf(reference.FunctionCache->Kind, required))
            RaiseNotFound(reference.RefName, required);
        return;
    }
    ReparentForFilter(reference, context);
    const auto& parts = reference.NameParts;
    const std::size_t count = parts.size();
    if (count == 0) throw EtsRuntime::NameNotFound(reference.RefName);

    TtsNode* node = AsNode(reference.FindNode(parts[0]));
    if (!node && context.Host) node = context.Host->FindLibrary(parts[0]);
    std::size_t used = 1;
    if (node && IsKindOf(node->Kind, NodeKind::Block) && used < count)
        node = AsNode(static_cast<TtsBlock*>(node)->Names.Find(parts[used++]));
    while (node && node->Kind == NodeKind::ClassNode && used < count)
        node = AsNode(static_cast<TtsClassNode*>(node)->Body->Names.Find(parts[used++]));

    TtsVariable* variable = nullptr;
    for (;;) {
        if (!node) throw EtsRuntime::NameNotFound(reference.RefName);
        if (!IsKindOf(node->Kind, NodeKind::Variable)) {
            if (used < count) throw EtsRuntime::VariableNotFound(reference.RefName);
            if (!IsKindOf(node->Kind, required)) RaiseNotFound(reference.RefName, required);
            reference.FunctionCache = node;
            reference.FirstMember = static_cast<std::int32_t>(used);
            return;
        }
        variable = static_cast<TtsVariable*>(node);
        if (used == count) break;
        auto* block = NodeCast<TtsBlock>(AsNode(variable->Value().Object()));
        if (!block) break;
        TtsNode* next = AsNode(block->Names.Find(parts[used]));
        if (!next) break;
        ++used;
        node = next;
    }
    reference.TargetCache = variable;
    reference.FirstMember = static_cast<std::int32_t>(used);
}

TtsExpression& StartOf(TtsPropRef& reference) {
    if (reference.ObjectExpression) return *reference.ObjectExpression;
    return static_cast<TtsExpression&>(*reference.TargetCache);
}

// Reads one member of a value: a script object's variable, or a property
// through the host. "@name" answers an address instead.
TtsValue ReadMember(const TtsValue& value, std::string_view part, TtsResult& context) {
    bool address = false;
    if (!part.empty() && part.front() == '@') {
        address = true;
        part.remove_prefix(1);
    }
    if (TtsObjectNode* object = AsScriptObject(value)) {
        TtsVariable& member = Member(*object, part);
        return address ? detail::AddressOf(&member) : member.Value();
    }
    TtsHostValue receiver(value);
    HostOf(context).GetProperty(receiver, part, address, context);
    if (!address) return receiver.Value();
    TtsObject* result = receiver.Value().Object();
    return result ? detail::AddressOf(result) : TtsValue();
}

// The value the walk of members starts from, followed through every member
// part before `end`.
TtsValue WalkMembers(TtsPropRef& reference, TtsResult& context, std::size_t end) {
    TtsValue current = Evaluate(StartOf(reference), context);
    for (std::size_t i = static_cast<std::size_t>(reference.FirstMember); i < end; ++i)
        current = ReadMember(current, reference.NameParts[i], context);
    return current;
}

void EvaluateDotted(TtsPropRef& reference, TtsResult& context) {
    ResolveDotted(reference, context, NodeKind::Variable);
    *reference.ValueSlot = WalkMembers(reference, context, reference.NameParts.size());
}

void AssignDotted(TtsPropRef& reference, TtsResult& context, const TtsValue& value) {
    ResolveDotted(reference, context, NodeKind::Variable);
    const std::size_t count = reference.NameParts.size();
    if (static_cast<std::size_t>(reference.FirstMember) >= count) {
        TtsExpression& start = StartOf(reference);
        if (!IsKindOf(start.Kind, NodeKind::Variable))
            throw EtsRuntime::NotFoundOrInvalid(reference.RefName);
        WriteVariable(static_cast<TtsVariable&>(start), value);
        return;
    }
    const TtsValue owner = WalkMembers(reference, context, count - 1);
    const std::string& last = reference.NameParts.back();
    if (TtsObjectNode* object = AsScriptObject(owner)) {
        WriteVariable(Member(*object, last), value);
        return;
    }
    TtsHostValue receiver(owner);
    HostOf(context).SetProperty(receiver, last, value, context);
}

void CallDotted(TtsPropRef& reference, TtsResult& context, const TtsExpressions* arguments,
                TtsValue& out) {
    ResolveDotted(reference, context, NodeKind::FunctionNode);
    if (reference.FunctionCache) {
        CallFunction(static_cast<TtsFunctionNode&>(*reference.FunctionCache), context, arguments,
                     out);
        return;
    }
    const std::size_t count = reference.NameParts.size();
    if (static_cast<std::size_t>(reference.FirstMember) >= count)
        throw EtsRuntime::FunctionNotFound(reference.RefName);
    const TtsValue owner = WalkMembers(reference, context, count - 1);
    const std::string& name = reference.NameParts.back();
    if (TtsObjectNode* object = AsScriptObject(owner)) {
        // «base.M()»: M is looked up from the base of the class that
        // declares this "base".
        TtsClassNode* startClass = nullptr;
        if (count == 2 && !reference.ObjectExpression &&
            NamesEqual(reference.NameParts[0], "base") && reference.TargetCache)
            startClass = NodeCast<TtsClassNode>(reference.TargetCache->Parent);
        CallMethod(*object, context, name, out, false, startClass, arguments);
        return;
    }
    TtsHostValue receiver(owner);
    HostOf(context).CallMethod(receiver, name, context, arguments);
    out = receiver.Value();
}

} // namespace

namespace detail {

void EvaluateReference(TtsVarRef& reference, TtsResult& context) {
    if (reference.PropRef) {
        *reference.ValueSlot = Evaluate(*reference.PropRef, context);
        return;
    }
    if (reference.Kind == NodeKind::PropRef) {
        EvaluateDotted(static_cast<TtsPropRef&>(reference), context);
        return;
    }
    TtsVariable& variable = ResolveVariable(reference, context);
    const TtsValue& value = Evaluate(variable, context);
    if (!reference.AtPrefix) {
        *reference.ValueSlot = value;
        return;
    }
    TtsObject* object = value.Object();
    *reference.ValueSlot = object ? AddressOf(object) : TtsValue();
}

void AssignReference(TtsVarRef& reference, TtsResult& context, const TtsValue& value) {
    if (reference.Kind == NodeKind::PropRef) {
        AssignDotted(static_cast<TtsPropRef&>(reference), context, value);
        return;
    }
    WriteVariable(ResolveVariable(reference, context), value);
}

} // namespace detail

void Call(TtsVarRef& reference, TtsResult& context, const TtsExpressions* arguments,
          TtsValue& out) {
    if (reference.PropRef) {
        Call(*reference.PropRef, context, arguments, out);
        return;
    }
    switch (reference.Kind) {
    case NodeKind::PropRef:
        CallDotted(static_cast<TtsPropRef&>(reference), context, arguments, out);
        return;
    case NodeKind::VarRef:
        if (!reference.FunctionCache)
            reference.FunctionCache = reference.FindNode(reference.RefName, NodeKind::FunctionNode);
        CallFunction(static_cast<TtsFunctionNode&>(*reference.FunctionCache), context, arguments,
                     out);
        return;
    default:
        throw EtsRuntime::FunctionNotFound(reference.RefName);
    }
}

TtsClassNode& FindClass(TtsVarRef& reference, TtsResult& context) {
    if (reference.PropRef) return FindClass(*reference.PropRef, context);
    if (reference.Kind != NodeKind::PropRef)
        return static_cast<TtsClassNode&>(
            *reference.FindNode(reference.RefName, NodeKind::ClassNode));
    auto& dotted = static_cast<TtsPropRef&>(reference);
    ResolveDotted(dotted, context, NodeKind::ClassNode);
    if (dotted.FunctionCache) return static_cast<TtsClassNode&>(*dotted.FunctionCache);
    const TtsValue& start = Evaluate(StartOf(dotted), context);
    if (auto* block = NodeCast<TtsBlock>(AsNode(start.Object()))) {
        if (auto* found =
                NodeCast<TtsClassNode>(AsNode(block->Names.Find(dotted.NameParts.back()))))
            return *found;
    }
    throw EtsRuntime::ClassNotFound(dotted.RefName);
}

} // namespace ozra::runtime
