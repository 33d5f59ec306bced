// The base of every script library and its calling convention.
//
// A library object lives once per host and serves the values of one class
// of runtime objects (or, for the default library, every plain value). Its
// whole script-visible surface is its table of *published* methods, which
// its constructor fills at the end of the library's file, one row a method
// (name, member function, minimum and maximum argument count), as Lua's
// `luaL_Reg` lists do:
//
//     Publish({
//         {"Add", Method<&TtsLibHashtable::Add>, 2, 2},
//         {"Count", Method<&TtsLibHashtable::Count>, 0, 0},
//     });
//
// Names are found ignoring letter case; `Unlimited` is the maximum of a
// method without an upper limit. Every call goes through one dispatcher,
// which in this order: takes the receiver (the object or plain value the
// method was called on) out of the value expression, leaving it Empty;
// raises "no enough parameters." below the minimum and "too many
// parameters." above the maximum; evaluates every argument in order; and
// only then calls the method with a `LibCall`, through which it reads the
// receiver and the arguments (by position, or by name for «name = value»
// arguments) and returns its result. A method that returns nothing leaves
// Empty.
//
// A method states in its signature the receiver it needs:
//
//     void Count(LibCall& call, TObj_Impl_Hashtable& table);  // a hash table
//     void Exists(LibCall& call);                             // any, or none
//
// A receiver of another class fails with "parameter error.". The call holds
// a counted reference to the receiver until the method returns, so a
// receiver that only the value expression held (a list made and used in one
// expression) stays alive. Plain receivers, such as the string library's
// texts, are read with `LibCall::Receiver`.
//
// The virtual operations of `TtsLibBase` are the defaults every library
// inherits: an index is a property named by the index text, a property read
// is a call of the published method of that name without arguments, and
// properties are read-only.
#pragma once

#include "front/syntax_tree.h"
#include "value/errors.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::runtime {

class TtsHost;
class TtsLibBase;
class TtsResult;

// The capability set of a registry entry.
enum LibAccess : std::uint8_t {
    AccessItem = 1,
    AccessProperty = 2,
    AccessMethod = 4,
    AccessAll = AccessItem | AccessProperty | AccessMethod,
};

// What an `Invoke` is for; only the automation library tells them apart.
enum class DispatchKind : std::uint8_t { Method = 1, PropertyGet = 2, PropertyPut = 4 };

// One call of a published method, as the dispatcher hands it over: the
// argument count is checked and every argument evaluated.
class LibCall {
  public:
    LibCall(TtsResult& context, front::TtsExpression& result,
            const front::TtsExpressions* arguments) noexcept;

    TtsResult& Context;

    const value::TtsValue& Receiver() const noexcept { return receiver_; }
    // The receiver as an object of class T; another class raises
    // "parameter error.".
    template <class T> T& ReceiverAs() const {
        T* object = dynamic_cast<T*>(receiver_.Object());
        if (!object) throw value::EtsRuntime::ParameterError();
        return *object;
    }

    int Count() const noexcept { return arguments_ ? arguments_->Count() : 0; }
    // The value of argument `index`, Empty when there is none.
    const value::TtsValue& Argument(int index) const noexcept;
    std::string Text(int index) const;
    std::int32_t Integer(int index) const;
    // A boolean argument; `absent` when it was not given.
    bool Flag(int index, bool absent) const;
    // The object of argument `index`, or nullptr for anything else.
    value::TtsObject* Object(int index) const noexcept { return Argument(index).Object(); }
    // The object of argument `index` as class T; anything else raises
    // "parameter error.".
    template <class T> T& ObjectAs(int index) const {
        T* object = dynamic_cast<T*>(Object(index));
        if (!object) throw value::EtsRuntime::ParameterError();
        return *object;
    }
    // The value of the argument written «name = value», or nullptr.
    const value::TtsValue* Named(std::string_view name) const noexcept;
    const front::TtsExpressions* Arguments() const noexcept { return arguments_; }

    void Return(const value::TtsValue& value);
    void ReturnText(std::string_view text);
    // The narrowest of Int32 and Int64 that holds the number.
    void ReturnInteger(std::int64_t number);
    void ReturnBoolean(bool flag);
    // A counted reference, so that a new object outlives the method; a null
    // object returns Empty.
    void ReturnObject(value::TtsObject* object);

  private:
    value::TtsValue receiver_;
    front::TtsExpression& result_;
    const front::TtsExpressions* arguments_;
};

// One row of a published-method table. `Run` calls the library's member
// function, giving it the receiver its signature asks for.
struct PublishedMethod {
    using Function = void (*)(TtsLibBase& library, LibCall& call);

    std::string_view Name;
    Function Run;
    std::int32_t MinArguments;
    std::int32_t MaxArguments;
};

class TtsLibBase : public value::TtsObject {
  public:
    // The maximum argument count of a method without an upper limit.
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
    // The row stays valid as long as the library.
    const PublishedMethod* FindMethod(std::string_view name) const noexcept;
    // Calls a published method of this library, as described above; the
    // receiver comes in and the result goes out through `value`.
    void CallPublished(const PublishedMethod& method, front::TtsExpression& value,
                       TtsResult& context, const front::TtsExpressions* arguments);
    // The table, in publication order.
    std::span<const PublishedMethod> PublishedMethods() const noexcept { return methods_; }
    // Whether a call of this kind (`Invoke`) ends in the published method of
    // its name, as the defaults do: a call site may then keep the row it
    // found and call it through `CallPublished`. A library that overrides
    // `Invoke`, `CallMethod` or `GetProperty` answers false for that kind.
    virtual bool DispatchesByName(DispatchKind) const noexcept { return true; }

    // The dispatcher's argument check: "no enough parameters." below the
    // minimum, "too many parameters." above the maximum, then every
    // argument evaluated in order. For methods whose counts are known only
    // at run time (a declared native function).
    static void CheckArguments(TtsResult& context, const front::TtsExpressions* arguments,
                               int minimum, int maximum);

    // The value of argument `index` (already evaluated), Empty when absent.
    static const value::TtsValue& Argument(const front::TtsExpressions* arguments,
                                           int index) noexcept;
    // The argument written «name = value», or nullptr.
    static front::TtsExpression* NamedArgument(const front::TtsExpressions* arguments,
                                               std::string_view name) noexcept;
    // The name of a named argument; a variable passed by reference has none.
    static std::string_view ArgName(const front::TtsExpression& argument) noexcept;

  private:
    template <class Function> struct MethodShape;
    template <class Lib> struct MethodShape<void (Lib::*)(LibCall&)> {
        template <auto M> static void Run(TtsLibBase& library, LibCall& call) {
            (static_cast<Lib&>(library).*M)(call);
        }
    };
    template <class Lib, class Receiver> struct MethodShape<void (Lib::*)(LibCall&, Receiver&)> {
        template <auto M> static void Run(TtsLibBase& library, LibCall& call) {
            (static_cast<Lib&>(library).*M)(call, call.ReceiverAs<Receiver>());
        }
    };

  protected:
    // The `Run` of a row for the member function M.
    template <auto M>
    static constexpr PublishedMethod::Function Method = &MethodShape<decltype(M)>::template Run<M>;

    // Adds the library's published methods; called from its constructor.
    void Publish(std::initializer_list<PublishedMethod> methods);

    // Appends this library to the host's registry for instances of `Impl`
    // (descendants included) with the given capabilities.
    template <class Impl> void RegisterFor(std::uint8_t access);
    // Enters a variable of the library's global name in the host's names,
    // holding `implementation` (a counted reference).
    void RegisterGlobal(std::string_view name, value::TtsObject* implementation);

  private:
    TtsHost& host_;
    // The table, and the hash of each name beside it for a quick scan.
    std::vector<PublishedMethod> methods_;
    std::vector<std::uint32_t> hashes_;
};

} // namespace ozra::runtime
