// Storage for the nodes a parse or a load makes at once.
//
// A tree of a large project is a few hundred thousand small nodes made one
// after another and freed together; taking each from the general heap costs
// more than building it. A `NodeArena` hands out node storage from chunks
// of its own by bumping a pointer. Nodes stay reference-counted and free
// themselves one by one as before: every node carries, in front of it, the
// chunk it lives in (or none, for a node from the heap), and its chunk counts
// the nodes still alive in it. A chunk goes back to the heap once the arena
// is gone and its last node has been freed, so a node that outlives the rest
// of its tree (held by a value, a cache or a run) keeps its chunk, and
// nothing else, alive.
//
// An arena belongs to one parse or load, on one thread; nodes are freed on
// whichever thread holds the tree then, like their reference counts.
// Freed arena storage is never reused, so under AddressSanitizer it is
// poisoned and any later use is caught.
#pragma once

#include <cstddef>

namespace ozra::front {

class NodeArena {
  public:
    NodeArena() noexcept = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    // Gives up the arena's hold on its chunks; those without live nodes go.
    ~NodeArena();

    // Storage for a node of `size` bytes, header included (see below).
    void* Allocate(std::size_t size);

    // The node storage interface of `TtsNode`: `size` bytes for the node,
    // from the arena or (without one) from the heap, and giving it back.
    static void* AllocateNode(std::size_t size, NodeArena* arena);
    static void FreeNode(void* node, std::size_t size) noexcept;

  private:
    struct Chunk;

    Chunk* chunks_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
};

} // namespace ozra::front
