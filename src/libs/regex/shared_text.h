// An immutable byte string shared by a regex match and everything made from
// it (groups, later matches), without copying.
//
// It wraps a text value of the runtime, so a script's subject text is shared
// by reference count rather than copied: matching over a large text costs
// nothing for the subject. Like every counted runtime text it belongs to one
// thread at a time.
#pragma once

#include "value/conversions.h"
#include "value/value.h"

#include <string_view>

namespace ozra::regex {

class SharedText {
  public:
    SharedText() = default;
    // Copies the bytes once.
    explicit SharedText(std::string_view bytes) : text_(value::TtsValue::FromText(bytes)) {}
    // Shares a text value's bytes (other values take their string form).
    explicit SharedText(const value::TtsValue& value) : text_(value::ToTextValue(value)) {}

    std::string_view View() const noexcept { return text_.Text(); }
    std::size_t Size() const noexcept { return View().size(); }
    const value::TtsValue& Value() const noexcept { return text_; }

  private:
    value::TtsValue text_;
};

} // namespace ozra::regex
