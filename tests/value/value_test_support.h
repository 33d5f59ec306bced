// Shared helpers of the value-model tests: short value constructors for case
// tables, a one-line description of a value (kind and text) to compare
// against, and probe objects that record when they are destroyed.
#pragma once

#include "value/conversions.h"
#include "value/errors.h"
#include "value/value.h"

#include <string>
#include <vector>

namespace ozra::value::testing {

inline TtsValue E() {
    return TtsValue();
}
inline TtsValue N() {
    return TtsValue::Null();
}
inline TtsValue I(std::int32_t v) {
    return TtsValue::FromInt32(v);
}
inline TtsValue L(std::int64_t v) {
    return TtsValue::FromInt64(v);
}
inline TtsValue D(double v) {
    return TtsValue::FromDouble(v);
}
inline TtsValue C(std::int64_t scaled) {
    return TtsValue::FromCurrencyScaled(scaled);
}
inline TtsValue Dt(double days) {
    return TtsValue::FromDate(days);
}
inline TtsValue B(bool v) {
    return TtsValue::FromBoolean(v);
}
inline TtsValue T(std::string_view text) {
    return TtsValue::FromText(text);
}
inline TtsValue O(TtsObject* object) {
    return TtsValue::FromObject(object);
}

// "Kind:text", e.g. "Integer:3", "String:12"; just "Kind" for values
// without a text ("Empty", "Null", "Object", a date out of range).
inline std::string Describe(const TtsValue& value) {
    const std::string kind(KindName(value.Kind()));
    if (value.Kind() == ValueKind::Empty) return kind;
    try {
        return kind + ":" + ToText(value);
    } catch (const EtsRuntime&) {
        return kind;
    }
}

// Runs an operation and describes its result, or "!" + the error message.
template <class Operation> std::string Outcome(Operation operation) {
    try {
        return Describe(operation());
    } catch (const EtsException& error) {
        return "!" + std::string(error.what());
    }
}

// A counted-from-zero object that appends its name to a log when destroyed.
class Probe : public TtsObjectZero {
  public:
    Probe(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    ~Probe() override {
        if (log_) log_->push_back(name_);
    }

  private:
    std::string name_;
    std::vector<std::string>* log_;
};

} // namespace ozra::value::testing
