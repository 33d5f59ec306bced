// The native-call library: declarations, declared calls and callbacks.
#include "libs/win32_api_lib.h"

#include "libs/lib_support.h"
#include "libs/native_arguments.h"
#include "libs/native_callback.h"
#include "runtime/call_object.h"
#include "value/conversions.h"

#include <utility>

namespace ozra::libs {

using value::EtsException;
using value::EtsRuntime;

namespace {

struct Declaration {
    std::string ScriptName;
    Ref<TtsWin32Function> Function;
};

// One four-item entry of a declarations set; any unusable item is a
// "parameter error.".
Declaration Declare(const front::TtsSet& entry) {
    if (entry.Elements.Count() != 4) throw EtsRuntime::ParameterError();
    const auto item = [&](int i) -> const TtsValue& { return entry.Elements.Item(i)->Value(); };
    try {
        const TtsValue& exportItem = item(1);
        // An integer export is the function's address; 0 stays a name.
        void* address =
            exportItem.IsInteger()
                ? reinterpret_cast<void*>(static_cast<std::intptr_t>(exportItem.Integer()))
                : nullptr;
        auto signature = NativeSignature::Parse(value::ToText(item(2)), value::ToText(item(3)));
        if (!signature) throw EtsRuntime::ParameterError();
        return {value::ToText(item(0)),
                value::MakeRef<TtsWin32Function>(value::ToText(exportItem), address,
                                                 std::move(*signature))};
    } catch (const EtsException&) {
        throw EtsRuntime::ParameterError();
    }
}

} // namespace

TtsWin32Function::TtsWin32Function(std::string exportName, void* address,
                                   NativeSignature signature) noexcept
    : exportName_(std::move(exportName)), address_(address), signature_(std::move(signature)) {}

void* TtsWin32Function::Resolve(const NativeModule& module, std::string_view libraryName) {
    if (address_) return address_;
    std::string reason;
    void* found = module.Find(exportName_, reason);
    if (!found) {
        std::string ignored;
        found = module.Find(exportName_ + "A", ignored);
    }
    if (!found) {
        throw EtsRuntime("GetProcAddress: " + std::string(libraryName) + ", " + exportName_ + "\n" +
                         reason);
    }
    address_ = found;
    return address_;
}

const NativeShape& TtsWin32Function::Shape() {
    if (!shape_) {
        shape_ = std::make_unique<NativeShape>(signature_.ArgumentTypes(),
                                               signature_.DeclaredResultType());
    }
    return *shape_;
}

TtsWin32ApiObj::TtsWin32ApiObj(std::string libraryName) : libraryName_(std::move(libraryName)) {}

void TtsWin32ApiObj::Declare(std::string_view scriptName, Ref<TtsWin32Function> function) {
    functions_.Add(scriptName, std::move(function));
}

const NativeModule& TtsWin32ApiObj::Load() {
    if (!module_) {
        std::string reason;
        module_ = NativeModule::Open(libraryName_, reason);
        if (!module_) throw EtsRuntime("LoadLibrary: " + libraryName_ + "\n" + reason);
    }
    return *module_;
}

TtsWin32Function& TtsWin32ApiObj::Find(std::string_view scriptName) const {
    return static_cast<TtsWin32Function&>(*functions_.FindOrFail(scriptName));
}

void TtsLibWin32Api::New(LibCall& call) {
    auto library = value::MakeRef<TtsWin32ApiObj>(call.Text(0));
    const front::TtsSet* declarations = AsSet(call.Argument(1));
    if (!declarations || declarations->Elements.Count() == 0) throw EtsRuntime::ParameterError();
    for (const auto& element : declarations->Elements) {
        const front::TtsSet* entry = front::NodeCast<front::TtsSet>(element.Get());
        if (!entry) entry = AsSet(element->Value());
        if (!entry) throw EtsRuntime::ParameterError();
        Declaration declaration = Declare(*entry);
        library->Declare(declaration.ScriptName, std::move(declaration.Function));
    }
    call.ReturnObject(library.Get());
}

void TtsLibWin32Api::Callback(LibCall& call) {
    Ref<TtsWin32Callback> callback;
    try {
        auto signature = NativeSignature::Parse(call.Text(1), call.Text(2));
        if (!signature) throw EtsRuntime::ParameterError();
        auto handle = runtime::TtsCallObject::Prepare(call.Context, call.Text(0), call.Argument(3),
                                                      *call.Arguments()->Item(0));
        callback =
            value::MakeRef<TtsWin32Callback>(gate_, std::move(handle), std::move(*signature));
    } catch (const EtsException&) {
        throw EtsRuntime::ParameterError();
    }
    call.ReturnObject(callback.Get());
}

void TtsLibWin32Api::CallMethod(front::TtsExpression& value, std::string_view name,
                                runtime::TtsResult& context,
                                const front::TtsExpressions* arguments) {
    if (auto* library = dynamic_cast<TtsWin32ApiObj*>(value.Value().Object())) {
        CallDeclared(*library, value, name, context, arguments);
        return;
    }
    TtsLibBase::CallMethod(value, name, context, arguments);
}

// The library is opened before the name is looked up, and the export before
// the arguments are counted, so those errors come first.
void TtsLibWin32Api::CallDeclared(TtsWin32ApiObj& library, front::TtsExpression& value,
                                  std::string_view name, runtime::TtsResult& context,
                                  const front::TtsExpressions* arguments) {
    const Ref<TtsWin32ApiObj> held = Ref<TtsWin32ApiObj>::Retain(&library);
    const NativeModule& module = library.Load();
    TtsWin32Function& function = library.Find(name);
    void* address = function.Resolve(module, library.LibraryName());
    value.SetValue(TtsValue());
    const NativeSignature& signature = function.Signature();
    const int count = static_cast<int>(signature.Arguments.size());
    CheckArguments(context, arguments, count, count);
    NativeArguments native(signature.Arguments, arguments);
    const NativeShape& shape = function.Shape();
    std::uint64_t word = 0;
    gate_->CallOut(context, [&] { shape.Call(address, native.Pointers(), word); });
    native.WriteBack();
    value.SetValue(DeclaredResult(signature.Result, word));
}

TtsLibWin32Api::TtsLibWin32Api(runtime::TtsHost& host)
    : TtsLibBase(host), gate_(value::MakeRef<CallbackGate>()) {
    RegisterFor<TtsLibWin32Api>(runtime::AccessMethod);
    RegisterFor<TtsWin32ApiObj>(runtime::AccessMethod);
    RegisterGlobal("Win32Api", this);
    Publish({
        {"New", Method<&TtsLibWin32Api::New>, 2, 2},
        {"Win32Api", Method<&TtsLibWin32Api::New>, 2, 2},
        {"Callback", Method<&TtsLibWin32Api::Callback>, 3, 4},
    });
}

} // namespace ozra::libs
