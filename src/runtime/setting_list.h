// The ordered name=value list used for a run's configuration, property
// lists and XML attributes.
//
// Each entry is one text «name=value» with an optional runtime object, held
// by a counted reference (replacing, deleting or clearing entries and
// destroying the list release them). Names compare ignoring letter case
// unless the list's case switch is on. The whole list also reads and writes
// as delimited text: entries separated by ";", an entry that holds a ";", a
// quote or leading or trailing blanks written in double quotes with inner
// quotes doubled.
//
// The list is itself a runtime object, so scripts can hold it (the
// properties library serves it).
#pragma once

#include "value/object.h"
#include "value/string_list.h"

#include <string>
#include <string_view>

namespace ozra::runtime {

class TSettingList : public value::TtsObjectZero, public value::TStringListEx {
  public:
    static constexpr char Delimiter = ';';

    std::string_view ClassName() const override { return "TSettingList"; }

    // Position of the first entry with that name, or -1.
    int IndexOfName(std::string_view name) const noexcept;
    // The name and value parts of entry `index` (the whole text is the name
    // when it holds no "=").
    std::string_view NameAt(int index) const;
    std::string_view ValueAt(int index) const;
    bool Has(std::string_view name) const noexcept { return IndexOfName(name) >= 0; }
    // The value of the named entry, or the empty text.
    std::string Value(std::string_view name) const;
    // Sets the value of the named entry, adding it at the end when absent.
    void SetValue(std::string_view name, std::string_view value);
    // Adds one «name=value» text; a piece without "=" is ignored.
    void AddPair(std::string_view pair);

    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);

  protected:
    // An entry's object may be a list whose entries hold lists...: see
    // value/object.h.
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override {
        MoveObjectsTo(into);
    }
};

} // namespace ozra::runtime
