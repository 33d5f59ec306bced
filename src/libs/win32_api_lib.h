// Native calls: «System.Win32Api», which lets scripts call the exported C
// functions of shared libraries and hand script functions to them as
// callbacks.
//
//     var m = System.Win32Api.New("libm.so.6", [["cbrt", "cbrt", "N", "N"]])
//
// `New` (or `Win32Api`) takes a library name and a set of declarations, each
// a set of four items: the name scripts call the function by, the export
// name (or, as an integer, the function's address), the argument letters
// and the result letter (native_letters.h). Nothing is loaded yet: the
// library is opened at the first call of any of its functions, and each
// export is looked up at its first call, by its name and then by its name
// with "A" appended. A declared function is a method of the object `New`
// answers and is always called with parentheses; its argument count is
// that of its letters.
//
// `Callback(name, letters, result [, object])` makes a callback
// (native_callback.h) of the script function of that name, or of that
// method of the script object.
//
// Errors: "parameter error." for unusable declarations and callbacks,
// "LoadLibrary: " + library and "GetProcAddress: " + library + ", " +
// export (each followed by the loader's reason on a second line), name +
// " not found." for an undeclared function, name + " already exists." for
// two declarations of one name.
#pragma once

#include "libs/callback_gate.h"
#include "libs/native_call.h"
#include "libs/native_letters.h"
#include "libs/native_module.h"
#include "runtime/lib_base.h"
#include "value/name_table.h"
#include "value/object.h"

#include <memory>
#include <optional>
#include <string>

namespace ozra::libs {

// One declared function; held by its object's function table.
class TtsWin32Function final : public value::TtsObject {
  public:
    TtsWin32Function(std::string exportName, void* address, NativeSignature signature) noexcept;

    std::string_view ClassName() const override { return "TtsWin32Function"; }

    // The entry address: looked up in the library at the first call unless
    // declared; raises "GetProcAddress: ...".
    void* Resolve(const NativeModule& module, std::string_view libraryName);
    const NativeSignature& Signature() const noexcept { return signature_; }
    // The prepared call interface, made at the first call.
    const NativeShape& Shape();

  private:
    std::string exportName_;
    void* address_;
    NativeSignature signature_;
    std::unique_ptr<NativeShape> shape_;
};

// The object «Win32Api.New» answers: a library and its declared functions.
class TtsWin32ApiObj final : public value::TtsObjectZero {
  public:
    explicit TtsWin32ApiObj(std::string libraryName);

    std::string_view ClassName() const override { return "TtsWin32ApiObj"; }

    const std::string& LibraryName() const noexcept { return libraryName_; }
    // Adds a declaration; a present name raises name + " already exists.".
    void Declare(std::string_view scriptName, value::Ref<TtsWin32Function> function);
    // Opens the library unless it is open; raises "LoadLibrary: ...".
    const NativeModule& Load();
    // The declaration, or name + " not found.".
    TtsWin32Function& Find(std::string_view scriptName) const;

  private:
    std::string libraryName_;
    value::TtsHash functions_{value::TtsHash::Storage::Hashed};
    // Declared after the table, so the library is unloaded first.
    std::optional<NativeModule> module_;
};

class TtsLibWin32Api final : public runtime::TtsLibBase {
  public:
    explicit TtsLibWin32Api(runtime::TtsHost& host);

    // Calls on a `TtsWin32ApiObj` are calls of its declared functions;
    // calls on the library are its published methods.
    void CallMethod(front::TtsExpression& value, std::string_view name, runtime::TtsResult& context,
                    const front::TtsExpressions* arguments) override;

  private:
    void New(runtime::LibCall& call);
    void Callback(runtime::LibCall& call);

    void CallDeclared(TtsWin32ApiObj& library, front::TtsExpression& value, std::string_view name,
                      runtime::TtsResult& context, const front::TtsExpressions* arguments);

    value::Ref<CallbackGate> gate_;
};

} // namespace ozra::libs
