// The host: binds the script libraries to the evaluator.
//
// `TtsHost` is at once the block whose names hold the libraries and the
// system variables (scripts reach it as "System") and the implementation of
// `ItsHost`, the interface that every `TtsResult` carries. Whenever the
// evaluator meets an operation it cannot perform on a value itself (a method
// call, a property read or write, an index on an object that is not a set,
// any automation object), it asks the host, which picks the library
// registered for the object's class and lets it act:
//
//   - automation objects (kind 9) always go to the automation library;
//   - otherwise the registry is searched in registration order for the first
//     entry whose class the object is an instance of and whose capability set
//     has the requested access;
//   - plain values and unclaimed objects go to the default library (the
//     string library), so «s.Length» is the string library's "Length" with
//     the text as receiver.
//
// Value expressions passed to the host hold the receiver on entry and the
// result on return (see lib_base.h). Callers make them as `TtsHostValue` on
// their own stack, which keeps a counted reference to any object a library
// returns through it.
//
// Template and target files are resolved against the text variables
// "TemplatePath" and "TargetPath" of the host's names: an absolute name is
// used unchanged, a relative one is put under the path, and both follow the
// rule of platform/paths.h. A target is replaced whole or not at all
// (platform/whole_file.h), so a failed write never leaves a half-written
// target behind.
#pragma once

#include "front/syntax_tree.h"
#include "runtime/lib_base.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace ozra::runtime {

class TtsHost;
class TtsResult;

class ItsHost {
  public:
    virtual bool CaseSensitive() const noexcept = 0;
    // Item read on an object that is not a set.
    virtual void GetObjectItem(value::TtsObject& object, const value::TtsValue& index,
                               value::TtsValue& out, TtsResult& context) = 0;
    // Item read on a plain value (text, number, automation object).
    virtual void GetValueItem(const value::TtsValue& value, value::TtsValue& out,
                              TtsResult& context, const value::TtsValue& index) = 0;
    // Method call on the receiver held by `value`; the result is left there.
    virtual void CallMethod(front::TtsExpression& value, std::string_view name, TtsResult& context,
                            const front::TtsExpressions* arguments) = 0;
    // The host block for "System" (letter case ignored), otherwise nullptr.
    virtual front::TtsBlock* FindLibrary(std::string_view name) noexcept = 0;
    virtual TtsHost& Host() noexcept = 0;
    // Property read on the receiver held by `value`; the result is left
    // there. `address` is in/out: the "@" form asks for an object's address.
    virtual void GetProperty(front::TtsExpression& value, std::string_view name, bool& address,
                             TtsResult& context) = 0;
    // The whole template file as 8-bit text.
    virtual std::string ReadTemplateFile(std::string_view name) = 0;
    virtual void SetCaseSensitive(bool on) noexcept = 0;
    virtual void SetObjectItem(value::TtsObject& object, const value::TtsValue& index,
                               const value::TtsValue& value, TtsResult& context) = 0;
    // Item write on a plain value: a property write named by the index text.
    virtual void SetValueItem(front::TtsExpression& expression, const value::TtsValue& index,
                              const value::TtsValue& value, TtsResult& context) = 0;
    virtual void SetProperty(front::TtsExpression& expression, std::string_view name,
                             const value::TtsValue& value, TtsResult& context) = 0;
    // Writes when `overwrite` is set or the target does not exist yet.
    virtual void WriteTargetFile(std::string_view text, std::string_view name, bool overwrite) = 0;

  protected:
    ~ItsHost() = default;
};

// A value expression for one host call, made on the caller's stack. As a
// garbage-collecting variable it holds a counted reference to an object
// that a library returns through it, so a fresh library object lives at
// least as long as the caller's copy of the result.
class TtsHostValue final : public front::TtsGcVariable {
  public:
    TtsHostValue() noexcept : TtsGcVariable(nullptr) {}
    explicit TtsHostValue(const value::TtsValue& value) : TtsGcVariable(nullptr) {
        SetValue(value);
    }
};

// "TickCount": milliseconds since system start, read at each evaluation.
class TtsSysTick final : public front::TtsVariable {
  public:
    explicit TtsSysTick(front::TtsNode* parent) noexcept
        : TtsVariable(front::NodeKind::SysTick, parent) {}
};

// "Now": the current local date-time, read at each evaluation.
class TtsSysNow final : public front::TtsVariable {
  public:
    explicit TtsSysNow(front::TtsNode* parent) noexcept
        : TtsVariable(front::NodeKind::SysNow, parent) {}
};

// Refreshes a system variable (`SysTick`, `SysNow`) before it is read; the
// evaluator calls it for those two node kinds.
void UpdateSystemVariable(front::TtsVariable& variable);

class TtsHost final : public front::TtsBlock, public ItsHost {
  public:
    // Makes the system variables "String", "TickCount" and "Now".
    TtsHost();
    ~TtsHost() override;

    std::string_view ClassName() const override { return "TtsHost"; }

    // ItsHost
    bool CaseSensitive() const noexcept override { return caseSensitive_; }
    void GetObjectItem(value::TtsObject& object, const value::TtsValue& index, value::TtsValue& out,
                       TtsResult& context) override;
    void GetValueItem(const value::TtsValue& value, value::TtsValue& out, TtsResult& context,
                      const value::TtsValue& index) override;
    void CallMethod(front::TtsExpression& value, std::string_view name, TtsResult& context,
                    const front::TtsExpressions* arguments) override;
    front::TtsBlock* FindLibrary(std::string_view name) noexcept override;
    TtsHost& Host() noexcept override { return *this; }
    void GetProperty(front::TtsExpression& value, std::string_view name, bool& address,
                     TtsResult& context) override;
    std::string ReadTemplateFile(std::string_view name) override;
    void SetCaseSensitive(bool on) noexcept override { caseSensitive_ = on; }
    void SetObjectItem(value::TtsObject& object, const value::TtsValue& index,
                       const value::TtsValue& value, TtsResult& context) override;
    void SetValueItem(front::TtsExpression& expression, const value::TtsValue& index,
                      const value::TtsValue& value, TtsResult& context) override;
    void SetProperty(front::TtsExpression& expression, std::string_view name,
                     const value::TtsValue& value, TtsResult& context) override;
    void WriteTargetFile(std::string_view text, std::string_view name, bool overwrite) override;

    // Registration, in the order that decides ties.
    using ClassTest = bool (*)(const value::TtsObject& object);
    void Register(ClassTest serves, std::uint8_t access, TtsLibBase& library);
    // Enters (or replaces) a text, object or other variable in the names.
    void SetVariable(std::string_view name, const value::TtsValue& value);
    // The value of a variable of the names, Empty when there is none.
    const value::TtsValue& Variable(std::string_view name) const noexcept;
    void SetDefaultLibrary(TtsLibBase& library);
    void SetAutomationLibrary(TtsLibBase& library);

    // Every library registered, each once, in the order of registration
    // (the default and automation libraries after the others).
    std::vector<const TtsLibBase*> Libraries() const;

    // The library that serves the value with that access.
    TtsLibBase& LibraryFor(const value::TtsValue& value, std::uint8_t access);
    TtsLibBase& LibraryFor(value::TtsObject* object, std::uint8_t access);

    // A file name put under a folder path: unchanged when absolute,
    // otherwise the path with a trailing "/" added in front. A drive or
    // network name, in either, is refused.
    static std::string ResolvePath(std::string_view path, std::string_view name);

  protected:
    // The libraries in the names refer back to the host, so they go with it,
    // inside its destructor, rather than after it.
    void TakeOwnedReferences(value::OwnedReferences&) noexcept override {}

  private:
    struct RegistryEntry {
        ClassTest Serves;
        std::uint8_t Access;
        value::Ref<TtsLibBase> Library;
    };
    // The library chosen for each access bit, per dynamic class.
    struct ChoiceCache {
        TtsLibBase* ByAccess[8] = {};
    };

    TtsLibBase& DefaultLibrary();

    bool caseSensitive_ = true;
    value::Ref<TtsLibBase> defaultLibrary_;
    value::Ref<TtsLibBase> automationLibrary_;
    std::vector<RegistryEntry> registry_;
    std::unordered_map<std::type_index, ChoiceCache> choices_;
};

template <class Impl> bool IsInstanceOf(const value::TtsObject& object) {
    return dynamic_cast<const Impl*>(&object) != nullptr;
}

template <class Impl> void TtsLibBase::RegisterFor(std::uint8_t access) {
    host_.Register(&IsInstanceOf<Impl>, access, *this);
}

} // namespace ozra::runtime
