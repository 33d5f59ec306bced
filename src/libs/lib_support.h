// What the library files share beyond the calling convention of
// runtime/lib_base.h: list index checks, identity numbers, sets of texts as
// results, and the registrar's factories of a library.
#pragma once

#include "runtime/call_object.h"
#include "runtime/global_data.h"
#include "runtime/host.h"
#include "runtime/lib_base.h"
#include "value/errors.h"
#include "value/object.h"
#include "value/value.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

using runtime::LibCall;
using value::Ref;
using value::TtsValue;

// Raises "List index out of bounds (%d)" unless 0 <= index < limit.
inline void CheckListIndex(std::int64_t index, std::int64_t limit) {
    if (index < 0 || index >= limit) throw value::EtsRuntime::ListIndexError(index);
}

// A number unique to an object while it lives, for keys and references.
inline std::string IdentityText(const void* object) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(object));
}

// The set a value refers to, or nullptr.
inline front::TtsSet* AsSet(const TtsValue& value) noexcept {
    return front::NodeCast<front::TtsSet>(dynamic_cast<front::TtsNode*>(value.Object()));
}

// A new set whose elements are constants holding the values, in order.
inline Ref<front::TtsSet> MakeValueSet(std::span<const TtsValue> values) {
    auto set = value::MakeRef<front::TtsSet>(nullptr);
    set->SetUp(runtime::ConstantExpressions(values));
    return set;
}

// A new set value whose elements are texts, in the order added: the result
// of methods that answer several texts («"a,b".RegexSplit(",")»).
class TextSet {
  public:
    void Add(std::string_view text) { texts_.push_back(TtsValue::FromText(text)); }

    void Return(LibCall& call) { call.ReturnObject(MakeValueSet(texts_).Get()); }

  private:
    std::vector<TtsValue> texts_;
};

// The registrar's factory of a library whose constructor registers it with
// the host, which keeps it alive from then on.
template <class Library> void MakeHostLibrary(runtime::TtsHost& host, runtime::TGlobalData&) {
    value::MakeRef<Library>(host);
}

// The same for a library that consults the run's data.
template <class Library> void MakeRunLibrary(runtime::TtsHost& host, runtime::TGlobalData& global) {
    value::MakeRef<Library>(host, global);
}

} // namespace ozra::libs
