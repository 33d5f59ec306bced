// Name tables: insertion, replacement, merging and the open-addressing index
// that serves lookups; the layout is described in name_table.h.
#include "value/name_table.h"

#include "value/errors.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::value {

namespace {

constexpr std::size_t InitialIndexCapacity = 8;

} // namespace

TtsHash::~TtsHash() {
    RemoveAll();
}

int TtsHash::FindEntry(std::string_view name, std::uint32_t hash) const noexcept {
    const std::size_t mask = index_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t number = index_[slot];
        if (number == 0) return -1;
        const Entry& entry = entries_[number - 1];
        if (entry.hash == hash && NamesEqual(entry.name, name)) return static_cast<int>(number - 1);
    }
}

TtsObject* TtsHash::FindOrFail(std::string_view name) const {
    const int entry = FindEntry(name);
    if (entry < 0) NotFound(name);
    return entries_[static_cast<std::size_t>(entry)].object.Get();
}

int TtsHash::IndexOf(std::string_view name) const {
    const int entry = FindEntry(name);
    if (entry < 0 || storage_ == Storage::Hashed) return entry;
    const auto& sortedOrder = SortedOrder();
    const auto position = std::lower_bound(sortedOrder.begin(), sortedOrder.end(), name,
                                           [this](std::uint32_t e, std::string_view n) {
                                               return CompareNames(entries_[e].name, n) < 0;
                                           });
    return static_cast<int>(position - sortedOrder.begin());
}

void TtsHash::Add(std::string_view name, Ref<TtsObject> object) {
    const std::uint32_t hash = NameHash(name);
    const int existing = index_.empty() ? -1 : FindEntry(name, hash);
    if (existing >= 0) {
        if (!allowReplace_) throw EtsException::AlreadyExists(name);
        // The old object leaves with `object` at the end of this scope.
        entries_[static_cast<std::size_t>(existing)].object.swap(object);
        return;
    }
    // Make room everywhere first, so that a failed allocation leaves the
    // table unchanged (and releases the object with `object`).
    if ((entries_.size() + 1) * 2 > index_.size())
        GrowIndex(index_.empty() ? InitialIndexCapacity : index_.size() * 2);
    entries_.push_back(Entry{std::string(name), hash, std::move(object)});
    const auto number = static_cast<std::uint32_t>(entries_.size() - 1);
    InsertIntoIndex(hash, number);
    sortedOrder_.clear();
}

// Blocks gain names one by one and are walked in order rarely (merges, the
// debugger's variable view), so the order is made when first asked for: a
// block with thousands of functions is built in linear time.
const std::vector<std::uint32_t>& TtsHash::SortedOrder() const {
    if (sortedOrder_.size() != entries_.size()) {
        sortedOrder_.resize(entries_.size());
        for (std::uint32_t i = 0; i < sortedOrder_.size(); ++i)
            sortedOrder_[i] = i;
        std::sort(sortedOrder_.begin(), sortedOrder_.end(),
                  [this](std::uint32_t a, std::uint32_t b) {
                      return CompareNames(entries_[a].name, entries_[b].name) < 0;
                  });
    }
    return sortedOrder_;
}

void TtsHash::RemoveAll() noexcept {
    // Empty the table before releasing, so an object that looks at the table
    // while it is being destroyed sees a consistent (empty) one.
    std::vector<Entry> released;
    released.swap(entries_);
    sortedOrder_.clear();
    std::fill(index_.begin(), index_.end(), 0);
    while (!released.empty())
        released.pop_back();
}

void TtsHash::MoveReferencesTo(OwnedReferences& into) {
    for (Entry& entry : entries_)
        into.Add(std::move(entry.object));
}

void TtsHash::Merge(const TtsHash& other, const std::function<bool(const TtsObject&)>& skip) {
    if (&other == this) return;
    struct ReplaceScope {
        TtsHash& table;
        bool saved;
        ~ReplaceScope() { table.allowReplace_ = saved; }
    } scope{*this, allowReplace_};
    allowReplace_ = true;
    for (int i = 0; i < other.Count(); ++i) {
        TtsObject* object = other.Item(i);
        if (object && skip && skip(*object)) continue;
        AddCounted(other.Name(i), object);
    }
}

std::string_view TtsHash::Name(int index) const {
    return entries_[EntryAt(index)].name;
}

TtsObject* TtsHash::Item(int index) const {
    return entries_[EntryAt(index)].object.Get();
}

std::size_t TtsHash::EntryAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        throw EtsRuntime::ListIndexError(index);
    const auto position = static_cast<std::size_t>(index);
    return storage_ == Storage::Sorted ? SortedOrder()[position] : position;
}

void TtsHash::InsertIntoIndex(std::uint32_t hash, std::uint32_t entry) {
    const std::size_t mask = index_.size() - 1;
    std::size_t slot = hash & mask;
    while (index_[slot] != 0)
        slot = (slot + 1) & mask;
    index_[slot] = entry + 1;
}

void TtsHash::Reserve(std::size_t count) {
    entries_.reserve(count);
    std::size_t capacity = index_.empty() ? InitialIndexCapacity : index_.size();
    while (count * 2 > capacity)
        capacity *= 2;
    if (capacity > index_.size()) GrowIndex(capacity);
}

void TtsHash::GrowIndex(std::size_t capacity) {
    std::vector<std::uint32_t> grown(capacity, 0);
    index_.swap(grown);
    for (std::uint32_t e = 0; e < entries_.size(); ++e)
        InsertIntoIndex(entries_[e].hash, e);
}

void TtsHash::NotFound(std::string_view name) const {
    throw EtsException::NotFound(name);
}

void TtsParameters::NotFound(std::string_view name) const {
    throw EtsException::ParameterNotFound(name);
}

} // namespace ozra::value
