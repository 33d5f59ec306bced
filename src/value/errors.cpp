// The messages of the runtime's errors, spelled once.
#include "value/errors.h"

namespace ozra::value {

namespace {

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string text;
    text.reserve(a.size() + b.size() + c.size());
    text.append(a).append(b).append(c);
    return text;
}

} // namespace

EtsException EtsException::AlreadyExists(std::string_view name) {
    return EtsException(Concat(name, " already exists."));
}
EtsException EtsException::NotFound(std::string_view name) {
    return EtsException(Concat(name, " not found."));
}
EtsException EtsException::ParameterNotFound(std::string_view name) {
    return EtsException(Concat("parameter ", name, " not found."));
}

EtsRuntime EtsRuntime::NotEnoughParameters() {
    return EtsRuntime("no enough parameters.");
}
EtsRuntime EtsRuntime::TooManyParameters() {
    return EtsRuntime("too many parameters.");
}
EtsRuntime EtsRuntime::ParameterError() {
    return EtsRuntime("parameter error.");
}
EtsRuntime EtsRuntime::VariableNotFound(std::string_view name) {
    return EtsRuntime(Concat("variable ", name, " not found."));
}
EtsRuntime EtsRuntime::FunctionNotFound(std::string_view name) {
    return EtsRuntime(Concat("function ", name, " not found."));
}
EtsRuntime EtsRuntime::ClassNotFound(std::string_view name) {
    return EtsRuntime(Concat("class ", name, " not found."));
}
EtsRuntime EtsRuntime::ElementNotFound(std::string_view name) {
    return EtsRuntime(Concat("element ", name, " not found."));
}
EtsRuntime EtsRuntime::FieldNotFound(std::string_view name) {
    return EtsRuntime(Concat("field ", name, " not found."));
}
EtsRuntime EtsRuntime::NotFoundOrInvalid(std::string_view name) {
    return EtsRuntime(Concat(name, " not found or invalid."));
}
EtsRuntime EtsRuntime::NameNotFound(std::string_view name) {
    return EtsRuntime(Concat(name, " not found."));
}
EtsRuntime EtsRuntime::ReadonlyProperty(std::string_view name) {
    return EtsRuntime(Concat("property ", name, " is a readonly property."));
}

EtsRuntime EtsRuntime::ConversionError(std::string_view fromType, std::string_view toType) {
    return EtsRuntime(Concat(Concat("Could not convert variant of type (", fromType, ")"),
                             " into type (", Concat(toType, ")")));
}
EtsRuntime EtsRuntime::RangeError(std::string_view fromType, std::string_view toType) {
    return EtsRuntime(Concat(Concat("Variant of type (", fromType, ")"),
                             " is out of range for type (", Concat(toType, ")")));
}
EtsRuntime EtsRuntime::InvalidOperation(std::string_view leftType, std::string_view rightType) {
    return EtsRuntime(Concat(Concat("Invalid variant operation on types (", leftType, ")"),
                             " and (", Concat(rightType, ")")));
}
EtsRuntime EtsRuntime::InvalidUnaryOperation(std::string_view operandType) {
    return EtsRuntime(Concat("Invalid variant operation on type (", operandType, ")"));
}
EtsRuntime EtsRuntime::DivisionByZero() {
    return EtsRuntime("Division by zero");
}
EtsRuntime EtsRuntime::TextTooLong() {
    return EtsRuntime("Text too long");
}
EtsRuntime EtsRuntime::InvalidShiftCount(std::int64_t count) {
    return EtsRuntime("Invalid shift count " + std::to_string(count));
}
EtsRuntime EtsRuntime::ListIndexError(std::int64_t index) {
    return EtsRuntime("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace ozra::value
