// Small helpers shared by the library files: taking the receiver out of the
// value expression, writing results, reading arguments, list indexes.
#pragma once

#include "front/syntax_tree.h"
#include "runtime/host.h"
#include "runtime/lib_base.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::runtime {
class TGlobalData;
}

// Declares a published library method with the calling convention's three
// parameters.
#define OZRA_LIB_METHOD(name)                                                                      \
    void name(runtime::TtsResult& context, front::TtsExpression& value,                            \
              const front::TtsExpressions* arguments)

namespace ozra::libs {

using value::Ref;
using value::TtsValue;

// Takes a counted reference to the receiver and clears the result to
// Empty. The reference keeps a receiver alive that only the value
// expression held (a list made and used in one expression).
template <class T> value::Ref<T> TakeReceiver(front::TtsExpression& value) {
    value::Ref<T> receiver = value::Ref<T>::Retain(dynamic_cast<T*>(value.Value().Object()));
    value.SetValue(value::TtsValue());
    if (!receiver) throw value::EtsRuntime::ParameterError();
    return receiver;
}

inline void SetText(front::TtsExpression& value, std::string_view text) {
    value.SetValue(value::TtsValue::FromText(text));
}
inline void SetBoolean(front::TtsExpression& value, bool flag) {
    value.SetValue(value::TtsValue::FromBoolean(flag));
}
inline void SetInteger(front::TtsExpression& value, std::int64_t number) {
    value.SetValue(value::TtsValue::FromInteger(number));
}

inline std::string TextArgument(const front::TtsExpressions* arguments, int index) {
    return value::ToText(runtime::TtsLibBase::Argument(arguments, index));
}
inline int IntegerArgument(const front::TtsExpressions* arguments, int index) {
    return value::ToInteger(runtime::TtsLibBase::Argument(arguments, index));
}
// A boolean argument, `absent` when it was not given.
inline bool FlagArgument(const front::TtsExpressions* arguments, int index, bool absent) {
    if (runtime::TtsLibBase::ArgumentCount(arguments) <= index) return absent;
    return value::ToBoolean(runtime::TtsLibBase::Argument(arguments, index));
}
// The object argument, or nullptr for anything that is not an object.
inline value::TtsObject* ObjectArgument(const front::TtsExpressions* arguments, int index) {
    return runtime::TtsLibBase::Argument(arguments, index).Object();
}

// Raises "List index out of bounds (%d)" unless 0 <= index < limit.
inline void CheckListIndex(std::int64_t index, std::int64_t limit) {
    if (index < 0 || index >= limit) throw value::EtsRuntime::ListIndexError(index);
}

// A number unique to an object while it lives, for keys and references.
inline std::string IdentityText(const void* object) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(object));
}

// The registrar's factory of a library whose constructor registers it
// with the host.
template <class Library> void Construct(runtime::TtsHost& host, runtime::TGlobalData&) {
    value::MakeRef<Library>(host);
}

} // namespace ozra::libs
