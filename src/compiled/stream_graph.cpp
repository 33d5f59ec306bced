// Parent chains, ownership and the extent of a loaded tree, worked out on
// object indexes with explicit stacks, so that no depth of tree recurses.
#include "compiled/stream_graph.h"

#include "compiled/stream_bytes.h"

#include <cstdint>
#include <string>

namespace ozra::compiled {

namespace {

constexpr std::int32_t kNone = -1;

struct Edge {
    std::int32_t From;
    std::int32_t To;
    // Owns exclusively (see `LinkRole::Owned`).
    bool Exclusive;
};

// Ownership edges by owner, in compressed rows.
class Adjacency {
  public:
    Adjacency(std::size_t count, const std::vector<Edge>& edges) : start_(count + 1, 0) {
        for (const Edge& edge : edges)
            ++start_[static_cast<std::size_t>(edge.From) + 1];
        for (std::size_t i = 1; i <= count; ++i)
            start_[i] += start_[i - 1];
        targets_.resize(edges.size());
        std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
        for (const Edge& edge : edges)
            targets_[fill[static_cast<std::size_t>(edge.From)]++] = edge.To;
    }

    std::uint32_t Begin(std::size_t object) const noexcept { return start_[object]; }
    std::uint32_t End(std::size_t object) const noexcept { return start_[object + 1]; }
    std::int32_t Target(std::uint32_t position) const noexcept { return targets_[position]; }

  private:
    std::vector<std::uint32_t> start_;
    std::vector<std::int32_t> targets_;
};

bool IsVariableClass(const StreamObject& object) {
    return object.Class.Use == ClassUse::Node &&
           front::IsKindOf(object.Class.Kind, front::NodeKind::Variable);
}

bool IsParentLink(const StreamLink& link) {
    return link.Rule->Group == Tag::NodeGroup && link.Rule->Field == Tag::ParentField;
}

class ShapeCheck {
  public:
    explicit ShapeCheck(const DecodedStream& stream)
        : stream_(stream), count_(stream.Objects.size()), parent_(count_, kNone) {}

    TreeShape Run() {
        for (const StreamLink& link : stream_.Links) {
            if (IsParentLink(link)) parent_[link.From] = link.Target;
        }
        CheckParentChains();
        CollectOwnership();
        CheckOwners();
        const Adjacency owned(count_, edges_);
        CheckOwnershipCycles(owned);
        TreeShape shape;
        shape.Kept = Reachable(owned);
        shape.Dropped = CheckLinks(shape.Kept);
        return shape;
    }

  private:
    [[noreturn]] void Fail(std::size_t object, const std::string& what) const {
        throw EtsCompiler("object " + std::to_string(stream_.Objects[object].Number) + " " + what);
    }

    void CheckParentChains() {
        // 0 unseen, 1 on the current walk, 2 known to end.
        std::vector<std::uint8_t> state(count_, 0);
        std::vector<std::size_t> walk;
        for (std::size_t start = 0; start < count_; ++start) {
            std::int32_t at = static_cast<std::int32_t>(start);
            while (at != kNone && state[static_cast<std::size_t>(at)] == 0) {
                state[static_cast<std::size_t>(at)] = 1;
                walk.push_back(static_cast<std::size_t>(at));
                at = parent_[static_cast<std::size_t>(at)];
            }
            if (at != kNone && state[static_cast<std::size_t>(at)] == 1)
                Fail(static_cast<std::size_t>(at), "is its own ancestor.");
            for (std::size_t visited : walk)
                state[visited] = 2;
            walk.clear();
        }
    }

    std::int32_t Top(std::int32_t object) const {
        while (parent_[static_cast<std::size_t>(object)] != kNone)
            object = parent_[static_cast<std::size_t>(object)];
        return object;
    }

    void Own(std::int32_t from, std::int32_t to, bool exclusive) {
        if (to != kNone) edges_.push_back(Edge{from, to, exclusive});
    }

    void CollectOwnership() {
        referrers_.assign(count_, 0);
        for (const StreamLink& link : stream_.Links) {
            ++referrers_[static_cast<std::size_t>(link.Target)];
            const auto from = static_cast<std::int32_t>(link.From);
            switch (link.Rule->Role) {
            case LinkRole::Owned:
                Own(from, link.Target, true);
                break;
            case LinkRole::Shared:
                Own(from, link.Target, false);
                break;
            default:
                break;
            }
            // A using statement holds its unit's parent and the top above it.
            if (link.Rule->Group == Tag::UsingGroup && link.Rule->Field == Tag::UsedBlockField) {
                const std::int32_t parent = parent_[static_cast<std::size_t>(link.Target)];
                if (parent != kNone) {
                    Own(from, parent, false);
                    Own(from, Top(parent), false);
                }
            }
        }
        for (std::size_t i = 0; i < count_; ++i) {
            const StreamObject& object = stream_.Objects[i];
            const auto from = static_cast<std::int32_t>(i);
            const std::uint32_t end = object.FirstItem + object.ItemCount;
            if (object.Class.Use == ClassUse::List) {
                for (std::uint32_t item = object.FirstItem; item < end; ++item) {
                    const std::int32_t to = stream_.Items[item];
                    if (to == kNone) continue;
                    ++referrers_[static_cast<std::size_t>(to)];
                    Own(from, to, !IsVariableClass(stream_.Objects[static_cast<std::size_t>(to)]));
                }
            } else if (object.Class.Use == ClassUse::StringList) {
                for (std::uint32_t entry = object.FirstItem; entry < end; ++entry) {
                    const std::int32_t to = stream_.Entries[entry].Target;
                    if (to == kNone) continue;
                    ++referrers_[static_cast<std::size_t>(to)];
                    Own(from, to, false);
                }
            } else if (object.Class.Use == ClassUse::Table && object.Storage != kNone) {
                ++referrers_[static_cast<std::size_t>(object.Storage)];
                Own(from, object.Storage, true);
            }
        }
    }

    void CheckOwners() const {
        std::vector<std::uint8_t> owners(count_, 0);
        for (const Edge& edge : edges_) {
            if (!edge.Exclusive) continue;
            if (++owners[static_cast<std::size_t>(edge.To)] > 1)
                Fail(static_cast<std::size_t>(edge.To), "is owned twice.");
        }
        for (std::size_t i = 0; i < count_; ++i) {
            if (stream_.Objects[i].Class.Use != ClassUse::Node && referrers_[i] > 1)
                Fail(i, "is owned twice.");
        }
    }

    // Depth-first with colours: an edge back to an object on the current
    // path closes a cycle.
    void CheckOwnershipCycles(const Adjacency& owned) const {
        std::vector<std::uint8_t> state(count_, 0);
        struct Frame {
            std::size_t Object;
            std::uint32_t Next;
        };
        std::vector<Frame> path;
        for (std::size_t start = 0; start < count_; ++start) {
            if (state[start] != 0) continue;
            state[start] = 1;
            path.push_back(Frame{start, owned.Begin(start)});
            while (!path.empty()) {
                Frame& frame = path.back();
                if (frame.Next == owned.End(frame.Object)) {
                    state[frame.Object] = 2;
                    path.pop_back();
                    continue;
                }
                const auto to = static_cast<std::size_t>(owned.Target(frame.Next++));
                if (state[to] == 1) Fail(to, "owns itself.");
                if (state[to] == 0) {
                    state[to] = 1;
                    path.push_back(Frame{to, owned.Begin(to)});
                }
            }
        }
    }

    std::vector<bool> Reachable(const Adjacency& owned) const {
        std::vector<bool> kept(count_, false);
        std::vector<std::size_t> pending{0};
        kept[0] = true;
        while (!pending.empty()) {
            const std::size_t object = pending.back();
            pending.pop_back();
            for (std::uint32_t i = owned.Begin(object); i < owned.End(object); ++i) {
                const auto to = static_cast<std::size_t>(owned.Target(i));
                if (!kept[to]) {
                    kept[to] = true;
                    pending.push_back(to);
                }
            }
        }
        return kept;
    }

    // The empty control a compiler made to parent a used unit's block.
    bool IsUnitHolder(std::size_t block, std::size_t parent) const {
        const StreamObject& holder = stream_.Objects[parent];
        if (holder.ClassNumber != static_cast<std::int32_t>(StreamClass::Control) ||
            stream_.Objects[block].ClassNumber != static_cast<std::int32_t>(StreamClass::Block))
            return false;
        return parent_[parent] == kNone;
    }

    std::vector<bool> CheckLinks(const std::vector<bool>& kept) const {
        std::vector<bool> dropped(stream_.Links.size(), false);
        for (std::size_t i = 0; i < stream_.Links.size(); ++i) {
            const StreamLink& link = stream_.Links[i];
            if (!kept[link.From] || link.Rule->Role != LinkRole::Link) continue;
            const auto to = static_cast<std::size_t>(link.Target);
            if (kept[to]) continue;
            if (IsParentLink(link) && IsUnitHolder(link.From, to)) {
                dropped[i] = true;
                continue;
            }
            Fail(to, "is not part of the tree.");
        }
        return dropped;
    }

    const DecodedStream& stream_;
    std::size_t count_;
    std::vector<std::int32_t> parent_;
    std::vector<Edge> edges_;
    // References of any kind to each object.
    std::vector<std::uint32_t> referrers_;
};

} // namespace

TreeShape CheckShape(const DecodedStream& stream) {
    return ShapeCheck(stream).Run();
}

} // namespace ozra::compiled
