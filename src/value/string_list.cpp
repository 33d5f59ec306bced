// The string list with its case-sensitivity switch.
#include "value/string_list.h"

#include "value/errors.h"
#include "value/names.h"

namespace ozra::value {

int TStringListEx::CompareStrings(std::string_view a, std::string_view b) const noexcept {
    return caseSensitive_ ? a.compare(b) : CompareNames(a, b);
}

int TStringListEx::Add(std::string text, Ref<TtsObject> object) {
    items_.push_back(Item{std::move(text), std::move(object)});
    return Count() - 1;
}

void TStringListEx::Insert(int index, std::string text, Ref<TtsObject> object) {
    const std::size_t position = CheckedIndex(index, items_.size() + 1);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position),
                  Item{std::move(text), std::move(object)});
}

void TStringListEx::Delete(int index) {
    const std::size_t position = CheckedIndex(index, items_.size());
    Item removed = std::move(items_[position]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
}

void TStringListEx::MoveObjectsTo(OwnedReferences& into) {
    for (Item& item : items_)
        into.Add(std::move(item.object));
}

void TStringListEx::Clear() noexcept {
    std::vector<Item> released;
    released.swap(items_);
    while (!released.empty())
        released.pop_back();
}

int TStringListEx::IndexOf(std::string_view text) const noexcept {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (caseSensitive_ ? items_[i].text == text : NamesEqual(items_[i].text, text))
            return static_cast<int>(i);
    }
    return -1;
}

const std::string& TStringListEx::Strings(int index) const {
    return items_[CheckedIndex(index, items_.size())].text;
}

void TStringListEx::SetString(int index, std::string text) {
    items_[CheckedIndex(index, items_.size())].text = std::move(text);
}

TtsObject* TStringListEx::Objects(int index) const {
    return items_[CheckedIndex(index, items_.size())].object.Get();
}

void TStringListEx::SetObject(int index, Ref<TtsObject> object) {
    items_[CheckedIndex(index, items_.size())].object.swap(object);
}

std::size_t TStringListEx::CheckedIndex(int index, std::size_t limit) const {
    if (index < 0 || static_cast<std::size_t>(index) >= limit)
        throw EtsRuntime::ListIndexError(index);
    return static_cast<std::size_t>(index);
}

} // namespace ozra::value
