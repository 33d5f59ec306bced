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
//     times).
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
    // A new object, met as the next block; answers its index.
    std::uint32_t Begin(const Object& object);
    // The object's block and those of the objects it met first are read.
    void End(std::uint32_t index);

    // The field that met `index` first owns it.
    void OwnedByReader(std::uint32_t index, bool exclusive);
    // A field of `from` owns `to`, an object met before.
    void Owned(std::uint32_t from, std::uint32_t to, bool exclusive);
    void Parent(std::uint32_t from, std::uint32_t to);
    void Linked(std::uint32_t from, std::uint32_t to);
    // `usingIndex` uses the unit block `blockIndex`.
    void Used(std::uint32_t usingIndex, std::uint32_t blockIndex);

    struct Tree {
        // Per object: part of the tree.
        std::vector<bool> Kept;
        // Objects of the tree whose `Parent` link is dropped.
        std::vector<std::uint32_t> DroppedParents;
    };
    // Runs the checks above on the whole stream, its root at index 0.
    Tree Check();

    std::size_t Count() const noexcept { return objects_.size(); }
    std::int32_t Number(std::uint32_t index) const noexcept { return objects_[index].Number; }

  private:
    struct Edge {
        std::uint32_t From;
        std::uint32_t To;
    };

    [[noreturn]] void Fail(std::uint32_t index, const char* what) const;
    void CheckParentChains() const;
    std::uint32_t Top(std::uint32_t index) const;
    std::vector<bool> CheckOwnership() const;

    std::vector<Object> objects_;
    std::vector<std::int32_t> parent_;
    std::vector<std::uint32_t> end_;
    std::vector<std::uint8_t> ownership_;
    std::vector<Edge> owned_;
    std::vector<Edge> links_;
    std::vector<Edge> uses_;
};

} // namespace ozra::compiled
