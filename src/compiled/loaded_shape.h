// The shape of a tree as the stream's reader links it, and the checks that
// it is a tree the runtime can run and free.
//
// The reader meets objects in stream order, each new object as the next
// block while it reads the field that names it first: those first
// references make a reading tree whose subtrees are runs of consecutive
// objects. The shape records, by object index, the run each object heads,
// whether its first referrer owns it, its `Parent` link, and the other
// references: owning ones to objects met before, and side links. Then:
//
//   - No object is its own ancestor through `Parent` links (a name lookup
//     walks them).
//   - Ownership has no cycle, so freeing the root frees everything; an
//     object has one exclusive owner at most (a statement owned twice would
//     run once per owner, and nesting that twenty times runs it a million
//     times). A reference that is not a first one names an object met
//     before, so every cycle holds an owning reference, read while the
//     object it names was still being read, to that object (its ancestor
//     in the reading tree), and only the objects of that ancestor's run
//     need searching; a used unit whose parents lie past the statement
//     that uses it has the whole ownership graph searched.
//   - The tree is what the root owns, directly or not, a used unit's
//     parents counted as owned by the statement that uses it. A link from
//     the tree must stay inside it, so that no pointer outlives its object;
//     the one link allowed out is that of a used unit's block to the empty
//     control a compiler made its parent, when no statement holds that: it
//     is dropped, which changes no lookup.
//
// Failures raise `EtsCompiler` naming the object by its number.
#pragma once

#include <cstdint>
#include <vector>

namespace ozra::compiled {

class LoadedShape {
  public:
    struct Object {
        std::int32_t Number;
        // A block, and a bare control (which may be a used unit's parent).
        bool IsBlock;
        bool IsBareControl;
    };

    void Reserve(std::size_t objects);
    // A new object, met as the next block while the object `reader` (an
    // index, or -1 for the root) is read; answers its index.
    std::uint32_t Begin(const Object& object, std::int32_t reader) {
        entries_.push_back(
            Entry{object.Number, reader, -1, 0,
                  static_cast<std::uint8_t>((object.IsBlock ? kBlock : 0) |
                                            (object.IsBareControl ? kBareControl : 0))});
        return static_cast<std::uint32_t>(entries_.size() - 1);
    }
    // The object's block and those of the objects it met first are read.
    void End(std::uint32_t index) {
        entries_[index].End = static_cast<std::uint32_t>(entries_.size());
    }

    // The field that met `index` first owns it.
    void OwnedByReader(std::uint32_t index, bool exclusive) {
        entries_[index].Flags |= exclusive ? kOwnedByReader | kExclusivelyOwned : kOwnedByReader;
    }
    // A field of `from` owns `to`, an object met before.
    void Owned(std::uint32_t from, std::uint32_t to, bool exclusive);
    void Parent(std::uint32_t from, std::uint32_t to) {
        entries_[from].Parent = static_cast<std::int32_t>(to);
        // Every cycle of links holds one that does not point back.
        if (to >= from) forwardParents_.push_back(from);
    }
    void Linked(std::uint32_t from, std::uint32_t to) { links_.push_back(Edge{from, to}); }
    // `usingIndex` uses the unit block `blockIndex`.
    void Used(std::uint32_t usingIndex, std::uint32_t blockIndex) {
        uses_.push_back(Edge{usingIndex, blockIndex});
    }

    struct Tree {
        // Per object: part of the tree (0 or 1).
        std::vector<std::uint8_t> Kept;
        // Objects of the tree whose `Parent` link is dropped.
        std::vector<std::uint32_t> DroppedParents;
    };
    // Runs the checks above on the whole stream, its root at index 0.
    Tree Check();

    std::size_t Count() const noexcept { return entries_.size(); }
    std::int32_t Number(std::uint32_t index) const noexcept { return entries_[index].Number; }

  private:
    static constexpr std::uint8_t kOwnedByReader = 1;
    static constexpr std::uint8_t kExclusivelyOwned = 2;
    static constexpr std::uint8_t kBlock = 4;
    static constexpr std::uint8_t kBareControl = 8;

    struct Entry {
        std::int32_t Number;
        // The object whose field met this one first, or -1.
        std::int32_t Reader;
        // The `Parent` link, or -1.
        std::int32_t Parent;
        // One past the last object of the run this one heads; 0 while its
        // block is being read.
        std::uint32_t End;
        std::uint8_t Flags;
    };
    struct Edge {
        std::uint32_t From;
        std::uint32_t To;
    };

    [[noreturn]] void Fail(std::uint32_t index, const char* what) const;
    void CheckParentChains() const;
    std::uint32_t Top(std::uint32_t index) const;
    // The owning references that are not first ones, by owner.
    struct EdgesByOwner {
        std::vector<std::uint32_t> First;
        std::vector<std::uint32_t> Targets;
    };
    EdgesByOwner OwnedByOwner() const;
    bool ClosesNoCycle(const EdgesByOwner& edges) const;
    std::vector<std::uint8_t> CheckOwnership(const EdgesByOwner& edges) const;
    // What the root owns, for a stream known to hold no ownership cycle.
    std::vector<std::uint8_t> Reach(const EdgesByOwner& edges) const;

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> forwardParents_;
    // Owning references to objects whose blocks were being read.
    std::vector<Edge> towardsReading_;
    std::vector<Edge> owned_;
    std::vector<Edge> links_;
    std::vector<Edge> uses_;
};

} // namespace ozra::compiled
