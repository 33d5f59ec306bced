// Arrays held in a value: the data layer's adapter for byte arrays (binary
// and Guid field values) and value arrays (the item lists of a query by
// example). The script value has no array kind, so an array travels as a
// counted object reference to a TVariantArray.
#pragma once

#include "data/ve_object.h"
#include "value/value.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class TVariantArray : public TVeObject {
  public:
    enum class Kind { Bytes, Values };

    explicit TVariantArray(std::string bytes) : kind_(Kind::Bytes), bytes_(std::move(bytes)) {}
    explicit TVariantArray(std::vector<value::TtsValue> items)
        : kind_(Kind::Values), items_(std::move(items)) {}

    std::string_view ClassName() const override { return "TVariantArray"; }

    Kind ArrayKind() const { return kind_; }
    const std::string& Bytes() const { return bytes_; }
    const std::vector<value::TtsValue>& Items() const { return items_; }
    // True for a value array whose items are all texts.
    bool IsStringArray() const;

  private:
    Kind kind_;
    std::string bytes_;
    std::vector<value::TtsValue> items_;
};

value::TtsValue MakeByteArray(std::string_view bytes);
value::TtsValue MakeValueArray(std::vector<value::TtsValue> items);

// The array a value holds, or null.
const TVariantArray* AsArray(const value::TtsValue& value);
const std::string* AsByteArray(const value::TtsValue& value);
// An object or automation reference that is not an array.
bool IsInterfaceValue(const value::TtsValue& value);
// Empty, Null or a null object reference.
bool IsNullValue(const value::TtsValue& value);

// The text form the data layer uses: empty for Empty and Null, the raw bytes
// of a byte array, the items of a value array joined by ", ", and the value's
// own text form otherwise.
std::string DataText(const value::TtsValue& value);

} // namespace ozra::data
