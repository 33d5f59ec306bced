// TVeList: the keyed, ordered list of data-layer objects on which every set of
// the layer is built.
//
// Each item is stored with a key; by default the key is the item's identity,
// so a membership test is a key lookup. An unsorted list counts its keys in
// a hash table once it grows past a few items (a set of many objects); a
// short one (the fields of an object) is searched in place, which is
// cheaper than keeping the table. A list created Sorted keeps its keys
// in order, finds them by binary search, and replaces the item at an existing
// key instead of adding a second entry. An owning list holds a counted
// reference to each item, so removing or clearing drops that reference.
// OnAdd runs after an item is added; OnDelete runs with the position before an
// item leaves, also for every item on Clear.
#pragma once

#include "data/data_error.h"
#include "data/ve_object.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace ozra::data {

enum class TVeListFlags : uint8_t { None = 0, OwnsObjects = 1, Sorted = 2 };

constexpr TVeListFlags operator|(TVeListFlags a, TVeListFlags b) {
    return static_cast<TVeListFlags>(static_cast<uint8_t>(a) | static_cast<uint8_t>(b));
}

template <class T> class TVeList {
    struct Entry {
        const void* key;
        T* item;
    };

  public:
    using Key = const void*;

    explicit TVeList(TVeListFlags flags = TVeListFlags::None)
        : ownsObjects_((static_cast<int>(flags) & 1) != 0),
          sorted_((static_cast<int>(flags) & 2) != 0) {}
    TVeList(const TVeList&) = delete;
    TVeList& operator=(const TVeList&) = delete;
    ~TVeList() { ReleaseAll(); }

    std::function<void(T&)> OnAdd;
    std::function<void(T&, int)> OnDelete;

    bool OwnsObjects() const { return ownsObjects_; }
    bool Sorted() const { return sorted_; }
    int Count() const { return static_cast<int>(entries_.size()); }

    T& Item(int index) const {
        CheckIndex(index);
        return *entries_[index].item;
    }
    Key KeyAt(int index) const {
        CheckIndex(index);
        return entries_[index].key;
    }

    // Adds an item under its identity, or under the given key. In a sorted
    // list an existing key keeps its position and takes the new item.
    int Add(T& item) { return Add(item, &item); }
    int Add(T& item, Key key) {
        if (!sorted_) return InsertAt(Count(), item, key);
        auto at = LowerBound(key);
        int index = static_cast<int>(at - entries_.begin());
        if (at != entries_.end() && at->key == key) {
            ReplaceAt(index, item);
            return index;
        }
        return InsertAt(index, item, key);
    }

    // Inserts at a position of an unsorted list.
    void Insert(int index, T& item) {
        if (index < 0 || index > Count()) throw EDataError("Index out of range");
        if (sorted_)
            Add(item);
        else
            InsertAt(index, item, &item);
    }

    // Puts another item in a position, keeping its key.
    void Replace(int index, T& item) {
        CheckIndex(index);
        ReplaceAt(index, item);
    }

    void Delete(int index) {
        CheckIndex(index);
        if (OnDelete) OnDelete(*entries_[index].item, index);
        Entry removed = entries_[index];
        entries_.erase(entries_.begin() + index);
        Forget(removed);
    }

    // Removes the first entry holding the item; returns its former position.
    int Remove(const T& item) {
        int index = IndexOf(item);
        if (index >= 0) Delete(index);
        return index;
    }

    void Clear() {
        while (!entries_.empty())
            Delete(Count() - 1);
    }

    bool ContainsKey(Key key) const {
        if (sorted_ || !indexed_) return IndexOfKey(key) >= 0;
        return keyCount_.count(key) != 0;
    }
    bool Contains(const T& item) const { return ContainsKey(&item); }

    int IndexOfKey(Key key) const {
        if (sorted_) {
            auto at = LowerBound(key);
            return at != entries_.end() && at->key == key ? static_cast<int>(at - entries_.begin())
                                                          : -1;
        }
        if (indexed_ && !keyCount_.count(key)) return -1;
        for (int i = 0; i < Count(); ++i)
            if (entries_[i].key == key) return i;
        return -1;
    }
    int IndexOf(const T& item) const {
        if (sorted_) return IndexOfKey(&item);
        if (indexed_ && !keyCount_.count(&item)) return -1;
        for (int i = 0; i < Count(); ++i)
            if (entries_[i].item == &item) return i;
        return -1;
    }

    // Walks the items in list order; the list must not change meanwhile.
    class Iterator {
      public:
        using Base = typename std::vector<typename TVeList::Entry>::const_iterator;
        explicit Iterator(Base at) : at_(at) {}
        T& operator*() const { return *at_->item; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

      private:
        Base at_;
    };
    Iterator begin() const { return Iterator(entries_.begin()); }
    Iterator end() const { return Iterator(entries_.end()); }

    // Reorders the entries of an unsorted list; no callbacks run.
    template <class Less> void Sort(Less less) {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [&](const Entry& a, const Entry& b) { return less(*a.item, *b.item); });
    }

  private:
    void CheckIndex(int index) const {
        if (index < 0 || index >= Count()) throw EDataError("Index out of range");
    }

    typename std::vector<Entry>::const_iterator LowerBound(Key key) const {
        return std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const Entry& e, Key k) { return std::less<Key>()(e.key, k); });
    }
    typename std::vector<Entry>::iterator LowerBound(Key key) {
        return std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const Entry& e, Key k) { return std::less<Key>()(e.key, k); });
    }

    int InsertAt(int index, T& item, Key key) {
        if (ownsObjects_) item.AddRef();
        entries_.insert(entries_.begin() + index, Entry{key, &item});
        if (indexed_)
            ++keyCount_[key];
        else if (!sorted_ && entries_.size() > IndexThreshold)
            BuildIndex();
        if (OnAdd) OnAdd(item);
        return index;
    }

    void ReplaceAt(int index, T& item) {
        if (entries_[index].item == &item) return;
        if (OnDelete) OnDelete(*entries_[index].item, index);
        T* old = entries_[index].item;
        if (ownsObjects_) item.AddRef();
        entries_[index].item = &item;
        if (ownsObjects_) old->Release();
        if (OnAdd) OnAdd(item);
    }

    void BuildIndex() {
        indexed_ = true;
        for (const Entry& entry : entries_)
            ++keyCount_[entry.key];
    }

    void Forget(const Entry& removed) {
        if (indexed_) {
            auto count = keyCount_.find(removed.key);
            if (--count->second == 0) keyCount_.erase(count);
        }
        if (ownsObjects_) removed.item->Release();
    }

    void ReleaseAll() {
        std::vector<Entry> entries = std::move(entries_);
        entries_.clear();
        keyCount_.clear();
        if (ownsObjects_)
            for (auto it = entries.rbegin(); it != entries.rend(); ++it)
                it->item->Release();
    }

    static constexpr size_t IndexThreshold = 8;

    std::vector<Entry> entries_;
    std::unordered_map<Key, int> keyCount_;
    bool ownsObjects_;
    bool sorted_;
    bool indexed_ = false;
};

} // namespace ozra::data
