// Calls of functions, creation of script objects and method calls.
//
// A function's variables live in their syntax nodes and are read and
// written through each node's `ValueSlot`. The first activation of a
// function works on the variables' own storage, so what it leaves there
// stays for the next call ("result" keeps the last value a body gave it).
// A nested activation (recursion, or a call back into a function that is
// still running) gets a `Frame`: a slot per variable of the function,
// holding the value the variable had when the activation began. The
// variables point at the frame while it runs, so the activation it
// interrupts finds its own values untouched when it goes on.
//
// Arguments are evaluated before the callee's activation begins, in the
// caller's view of the variables, so a call of the same function inside its
// own argument list («add(add(1, 2), add(3, 4))») cannot disturb the outer
// call.
//
// A parameter passed with "ref" shares the caller's slot for this one call:
// the local's `ValueSlot` is pointed at the caller's variable and pointed
// back when the call ends, so a later call without that argument writes the
// local's own storage.
//
// Nested calls are limited by the machine stack they use (`CallGuard`): past
// the budget a call raises "stack overflow." instead of crashing.
#include "runtime/evaluator.h"

#include "runtime/code.h"
#include "runtime/evaluator_internal.h"
#include "value/errors.h"
#include "value/names.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <vector>

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace {

// A list whose length is known when it is made: short ones (the usual
// argument and parameter lists) live on the C++ stack, longer ones on the
// heap, so an ordinary call allocates nothing.
template <class T, std::size_t InlineCount> class ShortList {
  public:
    // Constructs `count` default elements; only those are ever touched.
    explicit ShortList(std::size_t count) : count_(count) {
        if (count > InlineCount) {
            heap_ = std::make_unique<T[]>(count);
            data_ = heap_.get();
        } else {
            data_ = reinterpret_cast<T*>(inline_);
            for (std::size_t i = 0; i < count; ++i)
                new (data_ + i) T();
        }
    }
    ShortList(const ShortList&) = delete;
    ShortList& operator=(const ShortList&) = delete;
    ~ShortList() {
        if (heap_) return;
        for (std::size_t i = count_; i > 0; --i)
            data_[i - 1].~T();
    }

    T& operator[](std::size_t i) noexcept { return data_[i]; }

  private:
    alignas(T) unsigned char inline_[InlineCount * sizeof(T)];
    std::unique_ptr<T[]> heap_;
    T* data_;
    std::size_t count_;
};

// One evaluated argument: a value, or the slot of a variable passed by
// reference.
struct Argument {
    std::string_view Name;
    TtsValue Value;
    TtsValue* SharedSlot = nullptr;
};

class ArgumentList {
  public:
    ArgumentList(TtsResult& context, const TtsExpressions* arguments)
        : context_(context), nodes_(arguments), count_(arguments ? arguments->Count() : 0),
          values_(static_cast<std::size_t>(count_)) {}

    int Count() const noexcept { return count_; }
    // Evaluates the arguments that bind to a function of `formalCount`
    // parameters; the rest are never evaluated.
    void Prepare(std::size_t formalCount) {
        const int bound = std::min(static_cast<int>(formalCount), count_);
        if (bound > 0) At(bound - 1);
    }
    // Whether an argument evaluated so far binds by name.
    bool AnyNamed() const noexcept { return named_; }

    // Argument i, evaluated on first need; earlier ones are evaluated first.
    const Argument& At(int i) {
        while (evaluated_ <= i) {
            TtsExpression& node = *nodes_->Item(evaluated_);
            Argument& argument = values_[static_cast<std::size_t>(evaluated_)];
            if (IsKindOf(node.Kind, NodeKind::Variable)) {
                argument.SharedSlot = static_cast<TtsVariable&>(node).ValueSlot;
            } else {
                argument.Name = node.Name;
                argument.Value = Evaluate(node, context_);
                if (!argument.Name.empty()) named_ = true;
            }
            ++evaluated_;
        }
        return values_[static_cast<std::size_t>(i)];
    }

  private:
    TtsResult& context_;
    const TtsExpressions* nodes_;
    int count_;
    int evaluated_ = 0;
    bool named_ = false;
    ShortList<Argument, 4> values_;
};

// The slots of one nested activation (see above); the first activation of
// a function needs none. A few slots live on the C++ stack, more on the heap.
class Frame {
  public:
    explicit Frame(TtsFunctionNode& function) : function_(function) {
        if (function.Activations != 0) Begin<TtsValue>(nullptr, 0);
        ++function.Activations;
    }
    // For a direct call (`DirectCall`): the parameter locals, which follow
    // "result" at the head of `Locals`, take the argument values over (copy
    // them when they are const).
    template <class Argument>
    [[gnu::always_inline]] Frame(TtsFunctionNode& function, Argument* arguments)
        : function_(function) {
        const std::size_t parameterCount = function.ParameterLocals.size();
        if (function.Activations != 0) {
            Begin(arguments, parameterCount);
        } else {
            for (std::size_t i = 0; i < parameterCount; ++i) {
                TtsValue& slot = *function.ParameterLocals[i]->ValueSlot;
                slot = std::move(arguments[i]);
                TtsValueHelper::MarkCounted(slot);
            }
        }
        ++function.Activations;
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    [[gnu::always_inline]] ~Frame() {
        --function_.Activations;
        const Ref<TtsVariable>* locals = function_.Locals.data();
        for (std::size_t i = count_; i > 0; --i) {
            Slot& slot = slots_[i - 1];
            locals[i - 1]->ValueSlot = slot.Previous;
            slot.Value.~TtsValue();
        }
    }

  private:
    struct Slot {
        TtsValue Value;
        TtsValue* Previous;
    };
    static constexpr std::size_t InlineSlots = 6;

    // "result" and the locals after the parameters start from the values
    // they have now, the parameter locals (1 to `argumentCount`) from
    // `arguments`.
    template <class Argument>
    [[gnu::always_inline]] void Begin(Argument* arguments, std::size_t argumentCount) {
        const std::size_t count = function_.Locals.size();
        if (count > InlineSlots) [[unlikely]] {
            heap_ = std::make_unique<unsigned char[]>(count * sizeof(Slot));
            slots_ = reinterpret_cast<Slot*>(heap_.get());
        }
        const Ref<TtsVariable>* locals = function_.Locals.data();
        const std::size_t parametersEnd = std::min(count, argumentCount + 1);
        std::size_t i = 0;
        for (; i < count && i == 0; ++i)
            Enter(*locals[i], &slots_[i]);
        for (; i < parametersEnd; ++i) {
            TtsVariable& variable = *locals[i];
            Slot* slot = new (&slots_[i]) Slot{std::move(arguments[i - 1]), variable.ValueSlot};
            TtsValueHelper::MarkCounted(slot->Value);
            variable.ValueSlot = &slot->Value;
        }
        for (; i < count; ++i)
            Enter(*locals[i], &slots_[i]);
        // Variables made after this point are not in the frame.
        count_ = count;
    }
    [[gnu::always_inline]] static void Enter(TtsVariable& variable, Slot* slot) {
        new (slot) Slot{*variable.ValueSlot, variable.ValueSlot};
        variable.ValueSlot = &slot->Value;
    }

    TtsFunctionNode& function_;
    std::size_t count_ = 0;
    Slot* slots_ = reinterpret_cast<Slot*>(inline_);
    std::unique_ptr<unsigned char[]> heap_;
    alignas(Slot) unsigned char inline_[InlineSlots * sizeof(Slot)];
};

// Binds evaluated arguments (`ArgumentList::Prepare`) to a function's
// parameter locals for one activation: writes their values, or points a
// local at the caller's slot for a "ref" argument and back when it ends.
class Binding {
  public:
    Binding(TtsFunctionNode& function, ArgumentList& arguments)
        : locals_(function.ParameterLocals), sharedFrom_(locals_.size()) {
        const int formalCount = static_cast<int>(locals_.size());
        if (formalCount == 0) return;
        const value::TtsParameters& formals = *function.Parameters;
        const int bound = std::min(formalCount, arguments.Count());
        // Argument index per formal parameter; -1 when no argument binds it.
        ShortList<int, 8> chosen(static_cast<std::size_t>(formalCount));
        const bool positional = !arguments.AnyNamed();
        for (int i = 0; i < formalCount; ++i)
            chosen[static_cast<std::size_t>(i)] = positional && i < bound ? i : -1;
        for (int i = 0; i < bound && !positional; ++i) {
            const Argument& argument = arguments.At(i);
            int position = i;
            if (!argument.Name.empty()) {
                formals.FindOrFail(argument.Name);
                position = formals.IndexOf(argument.Name);
            }
            chosen[static_cast<std::size_t>(position)] = i;
        }
        for (int i = 0; i < formalCount; ++i) {
            TtsVariable* local = locals_[static_cast<std::size_t>(i)];
            if (!local) continue;
            const int index = chosen[static_cast<std::size_t>(i)];
            const Argument* argument = index < 0 ? nullptr : &arguments.At(index);
            if (argument && argument->SharedSlot) {
                sharedFrom_[static_cast<std::size_t>(i)] = local->ValueSlot;
                local->ValueSlot = argument->SharedSlot;
            } else {
                WriteVariable(*local, argument ? argument->Value : TtsValue());
            }
        }
    }
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;
    ~Binding() {
        for (std::size_t i = locals_.size(); i > 0; --i) {
            if (TtsValue* previous = sharedFrom_[i - 1]) locals_[i - 1]->ValueSlot = previous;
        }
    }

  private:
    const std::vector<TtsVariable*>& locals_;
    // Per parameter local pointed at a caller's slot, the slot it had.
    ShortList<TtsValue*, 8> sharedFrom_;
};

// Records the statement a call was made from as an error leaves the call
// (see `CallGuard`); a different error than the one traced so far starts a
// new trace.
[[gnu::cold, gnu::noinline]] void NoteCallLeft(TtsResult& context, TtsNode* caller) {
    CallGuard& guard = *context.Guard;
    std::exception_ptr error = std::current_exception();
    if (guard.TracedError != error) {
        guard.TracedError = std::move(error);
        guard.PlacedCallSites.clear();
        guard.CallSites.clear();
    }
    guard.CallSites.push_back(caller);
}

// The body runs in the stack scope of the call, which has just checked the
// stack. When it returns, the statement that made the call is the current
// one again, so that an error later in that statement is placed there.
[[gnu::always_inline]] inline void RunBody(TtsFunctionNode& function, TtsResult& context,
                                           TtsValue& out) {
    TtsNode* const caller = context.CurrentNode;
    context.EnterFunction(&function, caller);
    try {
        code::RunSteps(code::CodeOf(*function.Body, context), context);
    } catch (...) {
        context.FunctionUnwound();
        NoteCallLeft(context, caller);
        throw;
    }
    context.LeaveFunction(&function);
    context.CurrentNode = caller;
    out = function.ResultVariable->Value();
}

// The member variables of a class: the variables the script defined in its
// body (not "result", "this", "base" or parameter locals).
template <class Visit> void ForEachMember(TtsClassNode& cls, Visit&& visit) {
    const value::TtsUserIds& names = cls.Body->Names;
    for (int i = 0; i < names.Count(); ++i) {
        auto* variable = NodeCast<TtsVariable>(dynamic_cast<TtsNode*>(names.Item(i)));
        if (variable && variable->Tag == ParamMode::Plain) visit(*variable);
    }
}

// When no construction or method call of a class runs any more, its "this",
// "base" and "result" let the last object go: they refer to the class
// again, as before the first call, so the object lives only as long as the
// script holds it.
void LeaveClass(TtsClassNode& cls) {
    cls.SavedValues.Leave();
    if (cls.SavedValues.Depth() != 0) return;
    const TtsValue self = TtsValue::FromObject(&cls);
    if (cls.ThisVariable) cls.ThisVariable->SetValue(self);
    if (cls.BaseVariable) cls.BaseVariable->SetValue(self);
    if (cls.ResultVariable) cls.ResultVariable->SetValue(TtsValue());
}

// Points a class chain's members, "this" and "base" at one object for the
// duration of a call, and restores exactly what it changed.
class ObjectScope {
  public:
    ObjectScope(TtsResult& context, TtsClassNode& start, TtsObjectNode& object, bool constructor)
        : start_(start), constructor_(constructor) {
        const TtsValue self = TtsValue::FromCountedObject(&object);
        for (TtsClassNode* cls = &start; cls; cls = BaseClassOf(*cls, context)) {
            if (!(constructor && cls == &start)) cls->SavedValues.Enter();
            entered_.push_back(cls);
            cls->SavedValues.Save(*cls->ThisVariable->ValueSlot, false);
            cls->SavedValues.Save(*cls->BaseVariable->ValueSlot, false);
            cls->ThisVariable->SetValue(self);
            cls->BaseVariable->SetValue(self);
            ForEachMember(*cls, [&](TtsVariable& member) {
                TtsValue* storage = Member(object, member.Name).ValueSlot;
                member.SlotStack.Push(member.ValueSlot);
                member.ValueSlot = storage;
                redirected_.push_back(&member);
            });
        }
    }
    ObjectScope(const ObjectScope&) = delete;
    ObjectScope& operator=(const ObjectScope&) = delete;
    ~ObjectScope() {
        for (auto it = redirected_.rbegin(); it != redirected_.rend(); ++it)
            (*it)->ValueSlot = (*it)->SlotStack.Pop();
        for (auto it = entered_.rbegin(); it != entered_.rend(); ++it) {
            if (!(constructor_ && *it == &start_)) LeaveClass(**it);
        }
    }

  private:
    TtsClassNode& start_;
    bool constructor_;
    std::vector<TtsClassNode*> entered_;
    std::vector<TtsVariable*> redirected_;
};

// One activation of a function called with an argument list: the arguments
// are evaluated first, in the caller's view, then the frame begins and the
// parameters are bound.
class Activation {
  public:
    Activation(TtsFunctionNode& function, ArgumentList& arguments)
        : frame_((arguments.Prepare(function.ParameterLocals.size()), function)),
          binding_(function, arguments) {}

  private:
    Frame frame_;
    Binding binding_;
};

// A class's "this", "base" and "result" are saved in its `SavedValues`
// while one of its constructions or method calls runs.
class SavedValuesScope {
  public:
    explicit SavedValuesScope(TtsClassNode& cls) : class_(cls) { cls.SavedValues.Enter(); }
    SavedValuesScope(const SavedValuesScope&) = delete;
    SavedValuesScope& operator=(const SavedValuesScope&) = delete;
    ~SavedValuesScope() { LeaveClass(class_); }

  private:
    TtsClassNode& class_;
};

// Base constructors run outermost first, each with the same arguments.
void RunBaseConstructors(TtsClassNode* base, TtsResult& context, ArgumentList& arguments) {
    if (!base) return;
    RunBaseConstructors(BaseClassOf(*base, context), context, arguments);
    Activation activation(*base, arguments);
    TtsValue discarded;
    RunBody(*base, context, discarded);
}

void CreateObject(TtsClassNode& cls, TtsResult& context, const TtsExpressions* argumentNodes,
                  TtsValue& out) {
    detail::StackScope depth(context);
    auto object = MakeRef<TtsObjectNode>(cls.Parent);
    object->ClassNode = &cls;
    for (TtsClassNode* c = &cls; c; c = BaseClassOf(*c, context)) {
        ForEachMember(*c, [&](TtsVariable& member) {
            auto storage = MakeRef<TtsGcVariable>(object->Body.Get());
            storage->Name = member.Name;
            TtsVariable* kept = storage.Get();
            object->Body->Names.Add(member.Name, std::move(storage));
            object->Members.push_back(kept);
        });
    }
    ArgumentList arguments(context, argumentNodes);
    SavedValuesScope saved(cls);
    Activation activation(cls, arguments);
    ObjectScope scope(context, cls, *object, true);
    RunBaseConstructors(BaseClassOf(cls, context), context, arguments);
    // A class's "result" is a plain variable, so a constructor that creates
    // another instance of its own class would hand that one back to its
    // caller; a nested construction keeps the outer one's object instead.
    cls.SavedValues.Save(*cls.ResultVariable->ValueSlot, true);
    cls.ResultVariable->SetValue(TtsValue::FromCountedObject(object.Get()));
    RunBody(cls, context, out);
}

} // namespace

namespace detail {

void CallDirect(TtsFunctionNode& function, TtsResult& context, const TtsExpressions* argumentNodes,
                TtsValue& out) {
    detail::StackScope depth(context);
    const std::size_t formalCount = function.ParameterLocals.size();
    const std::size_t argumentCount =
        argumentNodes ? static_cast<std::size_t>(argumentNodes->Count()) : 0;
    const std::size_t bound = std::min(formalCount, argumentCount);
    if (bound == 1 && formalCount == 1) {
        // Nothing runs between the evaluation of a lone argument and the
        // frame taking it over, so its value is read where it lies.
        const TtsValue& argument = Evaluate(*argumentNodes->Item(0), context);
        Frame frame(function, &argument);
        RunBody(function, context, out);
        return;
    }
    TtsValue values[TtsFunctionNode::DirectParameterLimit];
    for (std::size_t i = 0; i < bound; ++i)
        values[i] = Evaluate(*argumentNodes->Item(static_cast<int>(i)), context);
    Frame frame(function, values);
    RunBody(function, context, out);
}

const TtsValue& CallPrepared(code::Expr& call, TtsResult& context, TtsValue& scratch) {
    TtsFunctionNode& function = *call.Function;
    detail::StackScope depth(context);
    const std::size_t formalCount = function.ParameterLocals.size();
    const std::size_t bound = std::min(formalCount, call.Arguments.size());
    if (bound == 1 && formalCount == 1) {
        // Nothing runs between the evaluation of a lone argument and the
        // frame taking it over, so its value is read where it lies.
        TtsValue argumentScratch;
        const TtsValue& argument = code::Eval(*call.Arguments[0], context, argumentScratch);
        if (&argument == &argumentScratch) {
            Frame frame(function, &argumentScratch);
            RunBody(function, context, scratch);
        } else {
            Frame frame(function, &argument);
            RunBody(function, context, scratch);
        }
        return scratch;
    }
    TtsValue values[TtsFunctionNode::DirectParameterLimit];
    for (std::size_t i = 0; i < bound; ++i) {
        const TtsValue& value = code::Eval(*call.Arguments[i], context, values[i]);
        if (&value != &values[i]) values[i] = value;
    }
    Frame frame(function, values);
    RunBody(function, context, scratch);
    return scratch;
}

} // namespace detail

void CallFunction(TtsFunctionNode& function, TtsResult& context,
                  const TtsExpressions* argumentNodes, TtsValue& out) {
    if (function.Kind == NodeKind::ClassNode) {
        CreateObject(static_cast<TtsClassNode&>(function), context, argumentNodes, out);
        return;
    }
    if (function.DirectCall) {
        const bool positional =
            !argumentNodes ||
            std::all_of(argumentNodes->begin(), argumentNodes->end(),
                        [](const auto& argument) { return PassedByPosition(*argument); });
        if (positional) {
            detail::CallDirect(function, context, argumentNodes, out);
            return;
        }
    }
    detail::StackScope depth(context);
    ArgumentList arguments(context, argumentNodes);
    Activation activation(function, arguments);
    RunBody(function, context, out);
}

void CallMethod(TtsObjectNode& object, TtsResult& context, std::string_view name, TtsValue& out,
                bool missingAllowed, TtsClassNode* startClass,
                const TtsExpressions* argumentNodes) {
    TtsClassNode* from = object.ClassNode;
    if (startClass) {
        from = BaseClassOf(*startClass, context);
        if (!from) throw EtsRuntime("base not found.");
    }
    TtsFunctionNode* method = detail::FindMethod(from, context, name);
    if (!method) {
        if (missingAllowed) return;
        throw EtsRuntime::FunctionNotFound(name);
    }
    detail::CallMethodFound(object, context, *from, *method, out, argumentNodes);
}

namespace detail {

TtsFunctionNode* FindMethod(TtsClassNode* from, TtsResult& context, std::string_view name) {
    for (TtsClassNode* cls = from; cls; cls = BaseClassOf(*cls, context)) {
        if (auto* method =
                NodeCast<TtsFunctionNode>(dynamic_cast<TtsNode*>(cls->Body->Names.Find(name))))
            return method;
    }
    return nullptr;
}

void CallMethodFound(TtsObjectNode& object, TtsResult& context, TtsClassNode& from,
                     TtsFunctionNode& method, TtsValue& out, const TtsExpressions* argumentNodes) {
    if (method.Kind == NodeKind::ClassNode) {
        CallFunction(method, context, argumentNodes, out);
        return;
    }
    detail::StackScope depth(context);
    ArgumentList arguments(context, argumentNodes);
    Activation activation(method, arguments);
    ObjectScope scope(context, from, object, false);
    RunBody(method, context, out);
}

} // namespace detail

TtsVariable& Member(TtsObjectNode& object, std::string_view name) {
    auto* member =
        NodeCast<TtsVariable>(dynamic_cast<TtsNode*>(object.Body->Names.FindOrFail(name)));
    if (!member) throw EtsException::NotFound(name);
    return *member;
}

TtsClassNode* BaseClassOf(TtsClassNode& cls, TtsResult& context) {
    if (cls.BaseClass || !cls.BaseReference) return cls.BaseClass;
    TtsClassNode& base = FindClass(*cls.BaseReference, context);
    for (TtsClassNode* c = &base; c; c = c->BaseClass) {
        if (c == &cls) throw EtsRuntime("class " + cls.FunctionName + " derives from itself.");
    }
    cls.BaseClass = &base;
    return cls.BaseClass;
}

} // namespace ozra::runtime
