// Ordered lists of counted runtime objects.
//
// A list holds one counted reference per item: adding takes a reference (pass
// a `Ref` by copy to share, by move to hand yours over), clearing and
// destroying give them back from the last item to the first, so an item is
// released before the items it was added after. `TtsListOf<T>` is the typed
// form (the syntax tree's `TtsNodes` and `TtsExpressions`); `TtsList` holds
// any runtime object. An item may be null.
#pragma once

#include "value/errors.h"
#include "value/object.h"

#include <cstddef>
#include <vector>

namespace ozra::value {

template <class T> class TtsListOf {
  public:
    TtsListOf() = default;
    TtsListOf(const TtsListOf&) = default;
    TtsListOf(TtsListOf&&) noexcept = default;
    TtsListOf& operator=(const TtsListOf& other) {
        if (this != &other) {
            TtsListOf copy(other);
            swap(copy);
        }
        return *this;
    }
    TtsListOf& operator=(TtsListOf&& other) noexcept {
        TtsListOf moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~TtsListOf() { Clear(); }

    void Add(Ref<T> item) { items_.push_back(std::move(item)); }
    // Makes room for `count` items in all.
    void Reserve(std::size_t count) { items_.reserve(count); }

    void Clear() noexcept {
        while (!items_.empty())
            items_.pop_back();
    }
    // Hands every item over to a release in progress (see object.h), in the
    // order they were added; the list is then empty.
    void MoveReferencesTo(OwnedReferences& into) {
        for (Ref<T>& item : items_)
            into.Add(std::move(item));
        items_.clear();
    }

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    bool IsEmpty() const noexcept { return items_.empty(); }

    // The item at a position; out of range raises the list index error.
    T* Item(int index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
            throw EtsRuntime::ListIndexError(index);
        return items_[static_cast<std::size_t>(index)].Get();
    }
    T* operator[](int index) const { return Item(index); }

    // Position of the first occurrence of the object, or -1.
    int IndexOf(const T* item) const noexcept {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].Get() == item) return static_cast<int>(i);
        }
        return -1;
    }

    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

    void swap(TtsListOf& other) noexcept { items_.swap(other.items_); }

  private:
    std::vector<Ref<T>> items_;
};

using TtsList = TtsListOf<TtsObject>;

} // namespace ozra::value
