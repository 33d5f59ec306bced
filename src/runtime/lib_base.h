// The base of every script library and its calling convention.
//
// A library object lives once per host and serves the values of one class
// of runtime objects (or, for the default library, every plain value). Its
// script-visible methods are its *published* methods: a table of
// name -> member function that the library fills in its constructor, one
// line a method, and that is searched ignoring letter case.
//
// Every published method has the same three parameters:
//   - the context (`TtsResult`) of the running statement;
//   - the value expression: on entry it holds the receiver (the object or
//     plain value the method was called on, Empty for a library singleton
//     reached by name); the method leaves its result there (`SetValue`,
//     `SetObject`, or clearing it);
//   - the unevaluated argument list, or none for a property read.
// A method first calls `CheckArguments` with its maximum and minimum
// argument counts, which also evaluates the arguments in order; then it
// reads them by position (`Argument`) or by name (`NamedArgument`).
//
// The virtual operations below are the defaults every library inherits: an
// index is a property named by the index text, a property read is a call of
// the published method of that name without arguments, and properties are
// read-only.
#pragma once

#include "front/syntax_tree.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ozra::runtime {

class TtsHost;
class TtsResult;

// The capability set of a registry entry.
enum LibAccess : std::uint8_t {
    AccessItem = 1,
    AccessProperty = 2,
    AccessMethod = 4,
    AccessAll = AccessItem | AccessProperty | AccessMethod,
};

// What an `Invoke` is for; only the automation library tells them apart.
enum class DispatchKind : std::uint8_t { Method = 1, PropertyGet = 2 };

class TtsLibBase : public value::TtsObject {
  public:
    using Method = void (TtsLibBase::*)(TtsResult& context, front::TtsExpression& value,
                                        const front::TtsExpressions* arguments);

    // For `CheckArguments`: a method without an upper limit.
    static constexpr int Unlimited = std::numeric_limits<std::int32_t>::max();

    explicit TtsLibBase(TtsHost& host) noexcept : host_(host) {}

    std::string_view ClassName() const override { return "TtsLibBase"; }
    TtsHost& Host() const noexcept { return host_; }

    // Index read: "@name" reads the address of the property "name".
    virtual void GetItem(front::TtsExpression& out, value::TtsObject* object, TtsResult& context,
                         const value::TtsValue& index);
    // Calls the published method; none of that name raises
    // "function " + name + " not found.".
    virtual void CallMethod(front::TtsExpression& value, std::string_view name, TtsResult& context,
                            const front::TtsExpressions* arguments);
    virtual void Invoke(front::TtsExpression& value, std::string_view name, DispatchKind kind,
                        TtsResult& context, const front::TtsExpressions* arguments);
    virtual void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                             TtsResult& context, std::string_view name);
    virtual void SetItem(value::TtsObject* object, const value::TtsValue& index,
                         const value::TtsValue& value, TtsResult& context);
    // Raises "property " + name + " is a readonly property.".
    virtual void SetProperty(value::TtsObject* object, std::string_view name,
                             const value::TtsValue& value, TtsResult& context);
    virtual void SetPropertyEntry(front::TtsExpression& expression, value::TtsObject* object,
                                  const value::TtsValue& value, TtsResult& context,
                                  std::string_view name);

    // The published method of that name (letter case ignored), or nullptr.
    Method FindMethod(std::string_view name) const noexcept;
    // Whether a call of this kind (`Invoke`) ends in the published method of
    // its name, as the defaults do: a call site may then keep the method it
    // found and call it through `CallPublished`. A library that overrides
    // `Invoke`, `CallMethod` or `GetProperty` answers false for that kind.
    virtual bool DispatchesByName(DispatchKind) const noexcept { return true; }
    // Calls a method `FindMethod` answered, as `CallMethod` would.
    void CallPublished(Method method, front::TtsExpression& value, TtsResult& context,
                       const front::TtsExpressions* arguments) {
        (this->*method)(context, value, arguments);
    }

    // Raises "no enough parameters." below `minCount` arguments and "too
    // many parameters." above `maxCount`, then evaluates every argument in
    // order.
    static void CheckArguments(TtsResult& context, const front::TtsExpressions* arguments,
                               int maxCount, int minCount);
    static int ArgumentCount(const front::TtsExpressions* arguments) noexcept {
        return arguments ? arguments->Count() : 0;
    }
    // The value of argument `index` (already evaluated), Empty when absent.
    static const value::TtsValue& Argument(const front::TtsExpressions* arguments,
                                           int index) noexcept;
    // The argument written «name = value», or nullptr.
    static front::TtsExpression* NamedArgument(const front::TtsExpressions* arguments,
                                               std::string_view name) noexcept;
    // The name of a named argument; a variable passed by reference has none.
    static std::string_view ArgName(const front::TtsExpression& argument) noexcept;

  protected:
    template <class Lib>
    using LibMethod = void (Lib::*)(TtsResult& context, front::TtsExpression& value,
                                    const front::TtsExpressions* arguments);

    template <class Lib> struct Published {
        std::string_view Name;
        LibMethod<Lib> Function;
    };

    // Adds the library's published methods; called from its constructor.
    template <class Lib> void Publish(std::initializer_list<Published<Lib>> methods) {
        static_assert(std::is_base_of_v<TtsLibBase, Lib>);
        for (const Published<Lib>& m : methods)
            AddMethod(m.Name, static_cast<Method>(m.Function));
    }

    // Appends this library to the host's registry for instances of `Impl`
    // (descendants included) with the given capabilities.
    template <class Impl> void RegisterFor(std::uint8_t access);
    // Enters a variable of the library's global name in the host's names,
    // holding `implementation` (a counted reference).
    void RegisterGlobal(std::string_view name, value::TtsObject* implementation);

  private:
    struct MethodEntry {
        std::uint32_t Hash;
        std::string_view Name;
        Method Function;
    };

    void AddMethod(std::string_view name, Method function);

    TtsHost& host_;
    std::vector<MethodEntry> methods_;
};

} // namespace ozra::runtime
