// Name references: plain names, dotted names and members of receivers.
//
// A reference resolves once and keeps what it found in the node
// (`TargetCache` for a variable, `FunctionCache` for a function or class,
// `FirstMember` for the dotted parts left to walk at run time), so a later
// definition of the same name in an inner block does not change what an
// already-resolved reference reads. The parts after the resolved prefix are
// members: of a script object, its member variables; of anything else, the
// properties and methods the host's libraries publish.
//
// Each member part of a dotted name keeps what it found the last time
// (`MemberSite`), keyed by the receiver's class: for a script object its
// class and the member's position among the object's members, or the method
// the class answers; for a library object (or a plain value) the library
// that serves it and, when that library dispatches by name, the published
// method itself. A receiver of another class takes the full path once and
// the site then keeps what that found.
#include "runtime/evaluator.h"

#include "runtime/evaluator_internal.h"
#include "runtime/host.h"
#include "value/errors.h"
#include "value/names.h"

#include <algorithm>
#include <typeinfo>

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

// One member part's last resolution (see above).
struct MemberSite {
    // The receiver's class: its dynamic type, or `PlainValues`.
    const void* Key = nullptr;
    TtsClassNode* Class = nullptr;
    std::int32_t Member = -1;
    TtsFunctionNode* Method = nullptr;
    TtsLibBase* Library = nullptr;
    const PublishedMethod* Published = nullptr;
    std::uint8_t Access = 0;
};

struct MemberSites final : DerivedCode {
    explicit MemberSites(std::size_t parts) : Parts(parts) {}
    std::vector<MemberSite> Parts;
};

// The key of plain values (texts, numbers, Empty), which the default
// library serves.
constexpr char PlainValues = 0;

// The cache key of a receiver; automation objects are never cached.
const void* KeyOf(const TtsValue& value) noexcept {
    if (TtsObject* object = value.Object()) return &typeid(*object);
    return value.Kind() == ValueKind::Automation ? nullptr : &PlainValues;
}

MemberSite& SiteOf(TtsPropRef& reference, std::size_t part) {
    if (!reference.MemberCache)
        reference.MemberCache = std::make_unique<MemberSites>(reference.NameParts.size());
    return static_cast<MemberSites&>(*reference.MemberCache).Parts[part];
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

// The position of an object's member, or -1.
std::int32_t MemberIndex(const TtsObjectNode& object, const TtsVariable& member) {
    const auto found = std::find(object.Members.begin(), object.Members.end(), &member);
    return found == object.Members.end()
               ? -1
               : static_cast<std::int32_t>(found - object.Members.begin());
}

// A script object's member through the site, filling it on a miss.
TtsVariable& CachedMember(MemberSite& site, TtsObjectNode& object, std::string_view name) {
    if (site.Class == object.ClassNode && site.Member >= 0) return *object.Members[site.Member];
    TtsVariable& member = Member(object, name);
    site = MemberSite{};
    site.Key = &typeid(object);
    site.Class = object.ClassNode;
    site.Member = MemberIndex(object, member);
    return member;
}

// The library that serves the receiver with that access, through the site.
TtsLibBase& CachedLibrary(MemberSite& site, const TtsValue& value, std::string_view name,
                          std::uint8_t access, TtsResult& context) {
    const void* key = KeyOf(value);
    if (key && site.Key == key && site.Library && site.Access == access) return *site.Library;
    TtsLibBase& library = HostOf(context).Host().LibraryFor(value, access);
    site = MemberSite{};
    if (!key) return library;
    site.Key = key;
    site.Library = &library;
    site.Access = access;
    const DispatchKind kind =
        access == AccessMethod ? DispatchKind::Method : DispatchKind::PropertyGet;
    if (access != AccessItem && library.DispatchesByName(kind))
        site.Published = library.FindMethod(name);
    return library;
}

// Reads one member of a value: a script object's variable, or a property
// through the host. "@name" answers an address instead.
TtsValue ReadMember(TtsPropRef& reference, std::size_t part, const TtsValue& value,
                    TtsResult& context) {
    std::string_view name = reference.NameParts[part];
    bool address = false;
    if (!name.empty() && name.front() == '@') {
        address = true;
        name.remove_prefix(1);
    }
    MemberSite& site = SiteOf(reference, part);
    if (TtsObject* object = value.Object(); object && site.Key == &typeid(*object) && site.Class) {
        // The class was a script object's last time; test this one's.
        auto& scriptObject = static_cast<TtsObjectNode&>(*object);
        if (scriptObject.ClassNode == site.Class) {
            TtsVariable& member = *scriptObject.Members[site.Member];
            return address ? detail::AddressOf(&member) : member.Value();
        }
    }
    if (TtsObjectNode* object = AsScriptObject(value)) {
        TtsVariable& member = CachedMember(site, *object, name);
        return address ? detail::AddressOf(&member) : member.Value();
    }
    TtsHostValue receiver(value);
    TtsLibBase& library = CachedLibrary(site, value, name, AccessProperty, context);
    if (site.Published && !address) {
        library.CallPublished(*site.Published, receiver, context, nullptr);
    } else {
        library.GetProperty(receiver, value.Object(), address, context, name);
    }
    if (!address) return receiver.Value();
    TtsObject* result = receiver.Value().Object();
    return result ? detail::AddressOf(result) : TtsValue();
}

// The value the walk of members starts from, followed through every member
// part before `end`.
TtsValue WalkMembers(TtsPropRef& reference, TtsResult& context, std::size_t end) {
    TtsValue current = Evaluate(StartOf(reference), context);
    for (std::size_t i = static_cast<std::size_t>(reference.FirstMember); i < end; ++i)
        current = ReadMember(reference, i, current, context);
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
    MemberSite& site = SiteOf(reference, count - 1);
    if (TtsObjectNode* object = AsScriptObject(owner)) {
        WriteVariable(CachedMember(site, *object, last), value);
        return;
    }
    TtsHostValue receiver(owner);
    CachedLibrary(site, owner, last, AccessProperty, context)
        .SetPropertyEntry(receiver, owner.Object(), value, context, last);
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
    MemberSite& site = SiteOf(reference, count - 1);
    if (TtsObjectNode* object = AsScriptObject(owner)) {
        // «base.M()»: M is looked up from the base of the class that
        // declares this "base".
        if (count == 2 && !reference.ObjectExpression &&
            NamesEqual(reference.NameParts[0], "base") && reference.TargetCache) {
            CallMethod(*object, context, name, out, false,
                       NodeCast<TtsClassNode>(reference.TargetCache->Parent), arguments);
            return;
        }
        TtsClassNode& cls = *object->ClassNode;
        if (site.Class != &cls || !site.Method) {
            TtsFunctionNode* method = detail::FindMethod(&cls, context, name);
            if (!method) throw EtsRuntime::FunctionNotFound(name);
            site = MemberSite{};
            site.Key = &typeid(*object);
            site.Class = &cls;
            site.Method = method;
        }
        detail::CallMethodFound(*object, context, cls, *site.Method, out, arguments);
        return;
    }
    TtsHostValue receiver(owner);
    TtsLibBase& library = CachedLibrary(site, owner, name, AccessMethod, context);
    if (site.Published) {
        library.CallPublished(*site.Published, receiver, context, arguments);
    } else {
        library.Invoke(receiver, name, DispatchKind::Method, context, arguments);
    }
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
