// Recording and checking the shape of a loaded tree, on object indexes and
// with explicit stacks, so that no depth of tree recurses.
#include "compiled/loaded_shape.h"

#include "compiled/stream_bytes.h"

#include <string>

namespace ozra::compiled {

namespace {

constexpr std::uint8_t kOwnedByReader = 1;
constexpr std::uint8_t kExclusivelyOwned = 2;

} // namespace

void LoadedShape::Reserve(std::size_t objects) {
    objects_.reserve(objects);
    parent_.reserve(objects);
    end_.reserve(objects);
    ownership_.reserve(objects);
}

std::uint32_t LoadedShape::Begin(const Object& object) {
    objects_.push_back(object);
    parent_.push_back(-1);
    end_.push_back(0);
    ownership_.push_back(0);
    return static_cast<std::uint32_t>(objects_.size() - 1);
}

void LoadedShape::End(std::uint32_t index) {
    end_[index] = static_cast<std::uint32_t>(objects_.size());
}

void LoadedShape::OwnedByReader(std::uint32_t index, bool exclusive) {
    ownership_[index] |= exclusive ? kOwnedByReader | kExclusivelyOwned : kOwnedByReader;
}

void LoadedShape::Owned(std::uint32_t from, std::uint32_t to, bool exclusive) {
    if (exclusive) {
        if (ownership_[to] & kExclusivelyOwned) Fail(to, "is owned twice.");
        ownership_[to] |= kExclusivelyOwned;
    }
    owned_.push_back(Edge{from, to});
}

void LoadedShape::Parent(std::uint32_t from, std::uint32_t to) {
    parent_[from] = static_cast<std::int32_t>(to);
}

void LoadedShape::Linked(std::uint32_t from, std::uint32_t to) {
    links_.push_back(Edge{from, to});
}

void LoadedShape::Used(std::uint32_t usingIndex, std::uint32_t blockIndex) {
    uses_.push_back(Edge{usingIndex, blockIndex});
}

void LoadedShape::Fail(std::uint32_t index, const char* what) const {
    throw EtsCompiler("object " + std::to_string(objects_[index].Number) + " " + what);
}

void LoadedShape::CheckParentChains() const {
    // 0 unseen, 1 on the current walk, 2 known to end.
    std::vector<std::uint8_t> state(objects_.size(), 0);
    std::vector<std::uint32_t> walk;
    for (std::uint32_t start = 0; start < objects_.size(); ++start) {
        std::int32_t at = static_cast<std::int32_t>(start);
        while (at >= 0 && state[static_cast<std::size_t>(at)] == 0) {
            state[static_cast<std::size_t>(at)] = 1;
            walk.push_back(static_cast<std::uint32_t>(at));
            at = parent_[static_cast<std::size_t>(at)];
        }
        if (at >= 0 && state[static_cast<std::size_t>(at)] == 1)
            Fail(static_cast<std::uint32_t>(at), "is its own ancestor.");
        for (std::uint32_t visited : walk)
            state[visited] = 2;
        walk.clear();
    }
}

std::uint32_t LoadedShape::Top(std::uint32_t index) const {
    while (parent_[index] >= 0)
        index = static_cast<std::uint32_t>(parent_[index]);
    return index;
}

// Depth first over every ownership edge: those of the reading tree, found
// from the runs of objects, and the others, grouped by owner. An edge back
// to an object on the current path closes a cycle. Answers what the root
// owns.
std::vector<bool> LoadedShape::CheckOwnership() const {
    const std::size_t count = objects_.size();
    std::vector<std::uint32_t> firstEdge(count + 1, 0);
    for (const Edge& edge : owned_)
        ++firstEdge[edge.From + 1];
    for (std::size_t i = 1; i <= count; ++i)
        firstEdge[i] += firstEdge[i - 1];
    std::vector<std::uint32_t> targets(owned_.size());
    std::vector<std::uint32_t> fill(firstEdge.begin(), firstEdge.end() - 1);
    for (const Edge& edge : owned_)
        targets[fill[edge.From]++] = edge.To;

    struct Frame {
        std::uint32_t Object;
        std::uint32_t NextChild;
        std::uint32_t NextEdge;
    };
    std::vector<std::uint8_t> state(count, 0);
    std::vector<bool> kept(count, false);
    std::vector<Frame> path;
    for (std::uint32_t start = 0; start < count; ++start) {
        if (state[start] != 0) continue;
        state[start] = 1;
        path.push_back(Frame{start, start + 1, firstEdge[start]});
        while (!path.empty()) {
            Frame& frame = path.back();
            if (start == 0) kept[frame.Object] = true;
            std::uint32_t next = count;
            while (frame.NextChild < end_[frame.Object]) {
                const std::uint32_t child = frame.NextChild;
                frame.NextChild = end_[child];
                if (ownership_[child] & kOwnedByReader) {
                    next = child;
                    break;
                }
            }
            if (next == count && frame.NextEdge < firstEdge[frame.Object + 1])
                next = targets[frame.NextEdge++];
            if (next == count) {
                state[frame.Object] = 2;
                path.pop_back();
                continue;
            }
            if (state[next] == 1) Fail(next, "owns itself.");
            if (state[next] == 0) {
                state[next] = 1;
                path.push_back(Frame{next, next + 1, firstEdge[next]});
            }
        }
    }
    return kept;
}

LoadedShape::Tree LoadedShape::Check() {
    CheckParentChains();
    // A using statement holds its unit's parent and the top above it.
    for (const Edge& use : uses_) {
        const std::int32_t parent = parent_[use.To];
        if (parent < 0) continue;
        owned_.push_back(Edge{use.From, static_cast<std::uint32_t>(parent)});
        owned_.push_back(Edge{use.From, Top(static_cast<std::uint32_t>(parent))});
    }
    Tree tree;
    tree.Kept = CheckOwnership();
    for (const Edge& link : links_) {
        if (tree.Kept[link.From] && !tree.Kept[link.To]) Fail(link.To, "is not part of the tree.");
    }
    for (std::uint32_t i = 0; i < objects_.size(); ++i) {
        const std::int32_t parent = parent_[i];
        if (!tree.Kept[i] || parent < 0 || tree.Kept[static_cast<std::size_t>(parent)]) continue;
        const Object& holder = objects_[static_cast<std::size_t>(parent)];
        if (objects_[i].IsBlock && holder.IsBareControl &&
            parent_[static_cast<std::size_t>(parent)] < 0) {
            tree.DroppedParents.push_back(i);
            continue;
        }
        Fail(static_cast<std::uint32_t>(parent), "is not part of the tree.");
    }
    return tree;
}

} // namespace ozra::compiled
