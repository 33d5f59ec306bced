// The error classes of the script runtime and the messages they carry.
//
// Every failure the runtime reports to a script is an exception whose message
// is one short English sentence; no error codes leak out. `EtsException` is
// raised by the name tables, its descendant `EtsRuntime` by everything that
// runs scripts (name lookup, library calls, value conversion and arithmetic).
// The factories below spell each message once, so callers never build them
// by hand and the wording cannot drift.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ozra::value {

class EtsException : public std::runtime_error {
  public:
    explicit EtsException(const std::string& message) : std::runtime_error(message) {}

    std::string_view Message() const noexcept { return what(); }

    // name + " already exists."
    static EtsException AlreadyExists(std::string_view name);
    // name + " not found." (find-or-fail on a name table)
    static EtsException NotFound(std::string_view name);
    // "parameter " + name + " not found."
    static EtsException ParameterNotFound(std::string_view name);
};

class EtsRuntime : public EtsException {
  public:
    explicit EtsRuntime(const std::string& message) : EtsException(message) {}

    static EtsRuntime NotEnoughParameters(); // "no enough parameters."
    static EtsRuntime TooManyParameters();   // "too many parameters."
    static EtsRuntime ParameterError();      // "parameter error."
    static EtsRuntime VariableNotFound(std::string_view name);
    static EtsRuntime FunctionNotFound(std::string_view name);
    static EtsRuntime ClassNotFound(std::string_view name);
    static EtsRuntime ElementNotFound(std::string_view name);
    static EtsRuntime FieldNotFound(std::string_view name);
    // name + " not found or invalid."
    static EtsRuntime NotFoundOrInvalid(std::string_view name);
    // name + " not found." (lookup with no required kind)
    static EtsRuntime NameNotFound(std::string_view name);
    // "property " + name + " is a readonly property."
    static EtsRuntime ReadonlyProperty(std::string_view name);

    // Value conversion and arithmetic. Type names are those of KindName().
    // "Could not convert variant of type (From) into type (To)"
    static EtsRuntime ConversionError(std::string_view fromType, std::string_view toType);
    // "Variant of type (From) is out of range for type (To)"
    static EtsRuntime RangeError(std::string_view fromType, std::string_view toType);
    // "Invalid variant operation on types (Left) and (Right)"
    static EtsRuntime InvalidOperation(std::string_view leftType, std::string_view rightType);
    // "Invalid variant operation on type (Operand)"
    static EtsRuntime InvalidUnaryOperation(std::string_view operandType);
    // "Division by zero"
    static EtsRuntime DivisionByZero();
    // "Text too long" (a result text would exceed the largest text a value holds)
    static EtsRuntime TextTooLong();
    // "Invalid shift count N"
    static EtsRuntime InvalidShiftCount(std::int64_t count);
    // "List index out of bounds (N)"
    static EtsRuntime ListIndexError(std::int64_t index);
};

} // namespace ozra::value
