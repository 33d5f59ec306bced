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
    if (entries_[to].End == 0) towardsReading_.push_back(Edge{from, to});
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

LoadedShape::EdgesByOwner LoadedShape::OwnedByOwner() const {
    EdgesByOwner edges{std::vector<std::uint32_t>(entries_.size() + 1, 0),
                       std::vector<std::uint32_t>(owned_.size())};
    for (const Edge& edge : owned_)
        ++edges.First[edge.From + 1];
    for (std::size_t i = 1; i < edges.First.size(); ++i)
        edges.First[i] += edges.First[i - 1];
    std::vector<std::uint32_t> fill(edges.First.begin(), edges.First.end() - 1);
    for (const Edge& edge : owned_)
        edges.Targets[fill[edge.From]++] = edge.To;
    return edges;
}

// A reference from P to an object M still being read closes a cycle when M
// owns P, through objects of M's run only (the cycle's first object is
// then M). The searches visit as many objects as the stream holds at most;
// beyond that (false) the whole graph is searched instead.
bool LoadedShape::ClosesNoCycle(const EdgesByOwner& edges) const {
    std::size_t budget = entries_.size();
    std::vector<std::uint32_t> seenBy(entries_.size(), UINT32_MAX);
    std::vector<std::uint32_t> work;
    for (std::uint32_t search = 0; search < towardsReading_.size(); ++search) {
        const Edge& edge = towardsReading_[search];
        const std::uint32_t start = edge.To;
        const std::uint32_t end = entries_[start].End;
        const auto visit = [&](std::uint32_t index) {
            if (index < start || index >= end || seenBy[index] == search) return;
            seenBy[index] = search;
            work.push_back(index);
        };
        visit(start);
        while (!work.empty()) {
            if (budget-- == 0) return false;
            const std::uint32_t object = work.back();
            work.pop_back();
            if (object == edge.From) Fail(start, "owns itself.");
            for (std::uint32_t child = object + 1; child < entries_[object].End;
                 child = entries_[child].End) {
                if (entries_[child].Flags & kOwnedByReader) visit(child);
            }
            for (std::uint32_t e = edges.First[object]; e < edges.First[object + 1]; ++e)
                visit(edges.Targets[e]);
        }
    }
    return true;
}

// Each object is owned by the field that met it first, whose object comes
// before it, or through the other owning references.
std::vector<std::uint8_t> LoadedShape::Reach(const EdgesByOwner& edges) const {
    const std::size_t count = entries_.size();
    std::vector<std::uint8_t> kept(count, 0);
    kept[0] = 1;
    for (std::size_t i = 1; i < count; ++i) {
        const Entry& entry = entries_[i];
        kept[i] = (entry.Flags & kOwnedByReader) && kept[static_cast<std::size_t>(entry.Reader)];
    }
    std::vector<std::uint32_t> work;
    const auto keep = [&](std::uint32_t index) {
        if (kept[index]) return;
        kept[index] = 1;
        work.push_back(index);
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!kept[i]) continue;
        for (std::uint32_t e = edges.First[i]; e < edges.First[i + 1]; ++e)
            keep(edges.Targets[e]);
    }
    while (!work.empty()) {
        const std::uint32_t object = work.back();
        work.pop_back();
        for (std::uint32_t child = object + 1; child < entries_[object].End;
             child = entries_[child].End) {
            if (entries_[child].Flags & kOwnedByReader) keep(child);
        }
        for (std::uint32_t e = edges.First[object]; e < edges.First[object + 1]; ++e)
            keep(edges.Targets[e]);
    }
    return kept;
}

// Depth first over every ownership edge: those of the reading tree, found
// from the runs of objects, and the others, grouped by owner. An edge back
// to an object on the current path closes a cycle. Answers what the root
// owns.
std::vector<std::uint8_t> LoadedShape::CheckOwnership(const EdgesByOwner& edges) const {
    const std::size_t count = entries_.size();
    const std::vector<std::uint32_t>& firstEdge = edges.First;
    const std::vector<std::uint32_t>& targets = edges.Targets;

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
    bool searchAll = false;
    const auto holds = [&](std::uint32_t user, std::uint32_t held) {
        const bool ancestor = held <= user && user < entries_[held].End;
        const bool pastUser = held > user && held >= entries_[user].End;
        if (ancestor) towardsReading_.push_back(Edge{user, held});
        if (pastUser) searchAll = true;
        owned_.push_back(Edge{user, held});
    };
    for (const Edge& use : uses_) {
        const std::int32_t parent = entries_[use.To].Parent;
        if (parent < 0) continue;
        holds(use.From, static_cast<std::uint32_t>(parent));
        holds(use.From, Top(static_cast<std::uint32_t>(parent)));
    }
    const EdgesByOwner edges = OwnedByOwner();
    Tree tree;
    tree.Kept = searchAll || !ClosesNoCycle(edges) ? CheckOwnership(edges) : Reach(edges);
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
