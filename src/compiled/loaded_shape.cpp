// Recording and checking the shape of a loaded tree, on object indexes and
// with explicit stacks, so that no depth of tree recurses.
#include "compiled/loaded_shape.h"

#include "compiled/stream_bytes.h"

#include <string>

namespace ozra::compiled {

void LoadedShape::Reserve(std::size_t objects) {
    entries_.reserve(objects);
}

void LoadedShape::Owned(std::uint32_t from, std::uint32_t to, bool exclusive) {
    if (exclusive) {
        if (entries_[to].Flags & kExclusivelyOwned) Fail(to, "is owned twice.");
        entries_[to].Flags |= kExclusivelyOwned;
    }
    owned_.push_back(Edge{from, to});
}

void LoadedShape::Fail(std::uint32_t index, const char* what) const {
    throw EtsCompiler("object " + std::to_string(entries_[index].Number) + " " + what);
}

void LoadedShape::CheckParentChains() const {
    // 0 unseen, 1 on the current walk, 2 known to end.
    std::vector<std::uint8_t> state(entries_.size(), 0);
    std::vector<std::uint32_t> walk;
    for (std::uint32_t start : forwardParents_) {
        std::int32_t at = static_cast<std::int32_t>(start);
        while (at >= 0 && state[static_cast<std::size_t>(at)] == 0) {
            state[static_cast<std::size_t>(at)] = 1;
            walk.push_back(static_cast<std::uint32_t>(at));
            at = entries_[static_cast<std::size_t>(at)].Parent;
        }
        if (at >= 0 && state[static_cast<std::size_t>(at)] == 1)
            Fail(static_cast<std::uint32_t>(at), "is its own ancestor.");
        for (std::uint32_t visited : walk)
            state[visited] = 2;
        walk.clear();
    }
}

std::uint32_t LoadedShape::Top(std::uint32_t index) const {
    while (entries_[index].Parent >= 0)
        index = static_cast<std::uint32_t>(entries_[index].Parent);
    return index;
}

// Depth first over every ownership edge: those of the reading tree, found
// from the runs of objects, and the others, grouped by owner. An edge back
// to an object on the current path closes a cycle. Answers what the root
// owns.
std::vector<std::uint8_t> LoadedShape::CheckOwnership() const {
    const std::size_t count = entries_.size();
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
    std::vector<std::uint8_t> kept(count, 0);
    std::vector<Frame> path;
    for (std::uint32_t start = 0; start < count; ++start) {
        if (state[start] != 0) continue;
        state[start] = 1;
        path.push_back(Frame{start, start + 1, firstEdge[start]});
        while (!path.empty()) {
            Frame& frame = path.back();
            if (start == 0) kept[frame.Object] = 1;
            std::uint32_t next = count;
            while (frame.NextChild < entries_[frame.Object].End) {
                const std::uint32_t child = frame.NextChild;
                frame.NextChild = entries_[child].End;
                if (entries_[child].Flags & kOwnedByReader) {
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
        const std::int32_t parent = entries_[use.To].Parent;
        if (parent < 0) continue;
        owned_.push_back(Edge{use.From, static_cast<std::uint32_t>(parent)});
        owned_.push_back(Edge{use.From, Top(static_cast<std::uint32_t>(parent))});
    }
    Tree tree;
    tree.Kept = CheckOwnership();
    for (const Edge& link : links_) {
        if (tree.Kept[link.From] && !tree.Kept[link.To]) Fail(link.To, "is not part of the tree.");
    }
    for (std::uint32_t i = 0; i < entries_.size(); ++i) {
        const std::int32_t parent = entries_[i].Parent;
        if (!tree.Kept[i] || parent < 0 || tree.Kept[static_cast<std::size_t>(parent)]) continue;
        const Entry& holder = entries_[static_cast<std::size_t>(parent)];
        if ((entries_[i].Flags & kBlock) && (holder.Flags & kBareControl) && holder.Parent < 0) {
            tree.DroppedParents.push_back(i);
            continue;
        }
        Fail(static_cast<std::uint32_t>(parent), "is not part of the tree.");
    }
    return tree;
}

} // namespace ozra::compiled
