// Case-insensitive name tables mapping names to counted runtime objects.
//
// `TtsHash` owns one counted reference per entry. Its iteration order is
// that of its storage, chosen when it is made: `Sorted` keeps the names in
// case-insensitive order (a block's `TtsUserIds`), `Hashed` keeps them in the
// order they were added (a function's `TtsParameters`, whose order is the
// declaration order). Lookup is the interpreter's hot path and is the same in
// both: an open-addressing index over the hash of the ASCII-folded name,
// then a length and folded-byte check; finding never allocates.
//
// Adding a present name fails with name + " already exists." and leaves the
// table as it was, unless `AllowReplace` is on, in which case the new object
// takes the old one's place. Either way the reference that lost (the
// rejected new object, or the replaced old one) is released.
//
// The derived tables differ only in storage and in the message of
// find-or-fail, which each class chooses by overriding `NotFound`.
#pragma once

#include "value/names.h"
#include "value/object.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ozra::value {

class TtsHash {
  public:
    enum class Storage { Sorted, Hashed };

    explicit TtsHash(Storage storage = Storage::Sorted) : storage_(storage) {}
    TtsHash(const TtsHash&) = delete;
    TtsHash& operator=(const TtsHash&) = delete;
    virtual ~TtsHash();

    Storage StorageKind() const noexcept { return storage_; }
    bool AllowReplace() const noexcept { return allowReplace_; }
    void SetAllowReplace(bool allow) noexcept { allowReplace_ = allow; }

    // The object entered under the name, or nullptr.
    TtsObject* Find(std::string_view name) const noexcept {
        const int entry = FindEntry(name);
        return entry < 0 ? nullptr : entries_[static_cast<std::size_t>(entry)].object.Get();
    }
    // As Find, but an absent name raises this table's not-found error.
    TtsObject* FindOrFail(std::string_view name) const;
    // Position of the name in iteration order, or -1.
    int IndexOf(std::string_view name) const;

    // Enters the object under the name, taking over the reference passed in.
    void Add(std::string_view name, Ref<TtsObject> object);
    // Takes a counted reference to the object, then adds it.
    void AddCounted(std::string_view name, TtsObject* object) {
        Add(name, Ref<TtsObject>::Retain(object));
    }
    // Makes room for `count` entries in all, so that adding them allocates
    // nothing more.
    void Reserve(std::size_t count);
    // Releases every object, the last entry first.
    void RemoveAll() noexcept;
    // Hands every object over to a release in progress (see object.h); the
    // names stay, without objects.
    void MoveReferencesTo(OwnedReferences& into);

    // Adds a counted reference to every entry of the other table, under the
    // same name and replacing present names, except objects for which `skip`
    // answers true.
    void Merge(const TtsHash& other, const std::function<bool(const TtsObject&)>& skip);
    // Merge skipping the instances of class Skip (and its descendants).
    template <class Skip> void MergeSkipping(const TtsHash& other) {
        static_assert(std::is_base_of_v<TtsObject, Skip>);
        Merge(other, [](const TtsObject& object) {
            return dynamic_cast<const Skip*>(&object) != nullptr;
        });
    }

    // Entries by position in iteration order.
    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    std::string_view Name(int index) const;
    TtsObject* Item(int index) const;

  protected:
    // Raises the error of find-or-fail for an absent name.
    [[noreturn]] virtual void NotFound(std::string_view name) const;

  private:
    struct Entry {
        std::string name;
        std::uint32_t hash;
        Ref<TtsObject> object;
    };

    int FindEntry(std::string_view name) const noexcept {
        return index_.empty() ? -1 : FindEntry(name, NameHash(name));
    }
    int FindEntry(std::string_view name, std::uint32_t hash) const noexcept;
    // Entry number of a position in iteration order.
    std::size_t EntryAt(int index) const;
    void InsertIntoIndex(std::uint32_t hash, std::uint32_t entry);
    void GrowIndex(std::size_t capacity);

    // Entries in the order they were added; positions never change, so the
    // index can refer to them by number.
    std::vector<Entry> entries_;
    // Sorted storage: entry numbers in name order, made on demand.
    const std::vector<std::uint32_t>& SortedOrder() const;
    mutable std::vector<std::uint32_t> sortedOrder_;
    // Open addressing, capacity a power of two: entry number + 1, 0 = free.
    std::vector<std::uint32_t> index_;
    Storage storage_;
    bool allowReplace_ = false;
};

// The names declared in a block, kept sorted.
class TtsUserIds : public TtsHash {
  public:
    TtsUserIds() : TtsHash(Storage::Sorted) {}
};

// The formal parameters of a function, in declaration order.
class TtsParameters : public TtsHash {
  public:
    TtsParameters() : TtsHash(Storage::Hashed) {}

  protected:
    // "parameter " + name + " not found."
    [[noreturn]] void NotFound(std::string_view name) const override;
};

} // namespace ozra::value
