// Node chunks, the header in front of each node, and giving storage back.
#include "front/node_arena.h"

#include "front/syntax_tree.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define OZRA_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define OZRA_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define OZRA_POISON(address, size) ((void)(address), (void)(size))
#define OZRA_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace ozra::front {

// A chunk's own header, then node after node, each behind a `NodeHeader`.
struct NodeArena::Chunk {
    Chunk* Next;
    // Nodes made here and not yet freed.
    std::size_t Live;
    // The arena may still make nodes here.
    bool Held;
};

namespace {

// Nodes hold pointers, counts and 8-byte values, nothing aligned wider; an
// 8-byte header and 8-byte steps keep them smaller than the heap would.
constexpr std::size_t kAlignment = 8;
static_assert(alignof(TtsNode) <= kAlignment && alignof(TtsExpression) <= kAlignment &&
              alignof(TtsBlock) <= kAlignment && alignof(TtsFunctionNode) <= kAlignment &&
              alignof(TtsClassNode) <= kAlignment);
constexpr std::size_t kChunkSize = 64 * 1024;

constexpr std::size_t RoundUp(std::size_t size) {
    return (size + kAlignment - 1) & ~(kAlignment - 1);
}

// What precedes every node: its chunk, or none for a heap node.
struct alignas(kAlignment) NodeHeader {
    void* Chunk;
};

// Where a chunk's first node header starts, past the chunk's own header.
constexpr std::size_t kChunkStart = RoundUp(3 * sizeof(void*));
// Nodes larger than this come from the heap and leave chunks dense.
constexpr std::size_t kLargestArenaNode = (kChunkSize - kChunkStart) / 8;

} // namespace

NodeArena::~NodeArena() {
    for (Chunk* chunk = chunks_; chunk;) {
        Chunk* next = chunk->Next;
        chunk->Held = false;
        if (chunk->Live == 0) {
            OZRA_UNPOISON(chunk, kChunkSize);
            ::operator delete(chunk);
        }
        chunk = next;
    }
}

void* NodeArena::Allocate(std::size_t size) {
    static_assert(sizeof(Chunk) <= kChunkStart);
    const std::size_t total = sizeof(NodeHeader) + RoundUp(size);
    if (static_cast<std::size_t>(end_ - next_) < total) {
        auto* chunk = static_cast<Chunk*>(::operator new(kChunkSize));
        *chunk = Chunk{chunks_, 0, true};
        chunks_ = chunk;
        next_ = reinterpret_cast<char*>(chunk) + kChunkStart;
        end_ = reinterpret_cast<char*>(chunk) + kChunkSize;
        OZRA_POISON(next_, static_cast<std::size_t>(end_ - next_));
    }
    char* at = next_;
    next_ += total;
    OZRA_UNPOISON(at, total);
    ++chunks_->Live;
    new (at) NodeHeader{chunks_};
    return at + sizeof(NodeHeader);
}

void* NodeArena::AllocateNode(std::size_t size, NodeArena* arena) {
    if (arena && size <= kLargestArenaNode) return arena->Allocate(size);
    char* at = static_cast<char*>(::operator new(sizeof(NodeHeader) + size));
    new (at) NodeHeader{nullptr};
    return at + sizeof(NodeHeader);
}

void NodeArena::FreeNode(void* node, std::size_t size) noexcept {
    char* at = static_cast<char*>(node) - sizeof(NodeHeader);
    auto* chunk = static_cast<Chunk*>(reinterpret_cast<NodeHeader*>(at)->Chunk);
    if (!chunk) {
        ::operator delete(at);
        return;
    }
    OZRA_POISON(at, sizeof(NodeHeader) + RoundUp(size));
    if (--chunk->Live == 0 && !chunk->Held) {
        OZRA_UNPOISON(chunk, kChunkSize);
        ::operator delete(chunk);
    }
}

} // namespace ozra::front
