// Helpers of the text and regex libraries: reading the receiver object of a
// published method, returning values and new objects through the value
// expression, and the registrar's factory of a library.
#pragma once

#include "front/syntax_tree.h"
#include "runtime/host.h"
#include "value/errors.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <string_view>

namespace ozra::runtime {
class TGlobalData;
}

namespace ozra::libs::text_support {

using value::Ref;
using value::TtsValue;

// The receiver as an object of class T, kept alive for the call. A
// receiver of another class is a fault of the registry and fails clearly.
template <class T> value::Ref<T> ReceiverAs(const front::TtsExpression& value) {
    T* object = dynamic_cast<T*>(value.Value().Object());
    if (!object) throw value::EtsRuntime::ParameterError();
    return value::Ref<T>::Retain(object);
}

inline void ReturnObject(front::TtsExpression& value, value::TtsObject* object) {
    value.SetValue(value::TtsValue::FromCountedObject(object));
}

inline void ReturnText(front::TtsExpression& value, std::string_view text) {
    value.SetValue(value::TtsValue::FromText(text));
}

inline void ReturnInteger(front::TtsExpression& value, std::int64_t number) {
    value.SetValue(value::TtsValue::FromInteger(number));
}

inline void ReturnBoolean(front::TtsExpression& value, bool flag) {
    value.SetValue(value::TtsValue::FromBoolean(flag));
}

// The registrar's factory of a library whose constructor registers it.
template <class Library> void MakeLibrary(runtime::TtsHost& host, runtime::TGlobalData&) {
    value::MakeRef<Library>(host);
}

} // namespace ozra::libs::text_support
