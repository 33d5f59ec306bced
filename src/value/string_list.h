// An ordered list of strings, each with an optional counted runtime object,
// whose comparison of strings ignores letter case (A-Z) or not according to
// its case-sensitivity switch (off by default). Name=value lists and the
// parts of dotted names build on it.
#pragma once

#include "value/object.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::value {

class TStringListEx {
  public:
    TStringListEx() = default;
    virtual ~TStringListEx() = default;

    bool CaseSensitive() const noexcept { return caseSensitive_; }
    void SetCaseSensitive(bool on) noexcept { caseSensitive_ = on; }
    // Negative, zero or positive as a orders before, with or after b,
    // honouring the case-sensitivity switch.
    int CompareStrings(std::string_view a, std::string_view b) const noexcept;

    // Appends and returns the new position.
    int Add(std::string text, Ref<TtsObject> object = nullptr);
    void Insert(int index, std::string text, Ref<TtsObject> object = nullptr);
    void Delete(int index);
    void Clear() noexcept;
    // Hands the objects over to a release in progress (see object.h); the
    // strings stay, without objects.
    void MoveObjectsTo(OwnedReferences& into);
    // Position of the first string equal to the text, or -1.
    int IndexOf(std::string_view text) const noexcept;

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const;
    void SetString(int index, std::string text);
    TtsObject* Objects(int index) const;
    void SetObject(int index, Ref<TtsObject> object);

  private:
    struct Item {
        std::string text;
        Ref<TtsObject> object;
    };

    std::size_t CheckedIndex(int index, std::size_t limit) const;

    std::vector<Item> items_;
    bool caseSensitive_ = false;
};

} // namespace ozra::value
