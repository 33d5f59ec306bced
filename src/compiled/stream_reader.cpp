// Reading the blocks of a compiled stream into a linked tree.
#include "compiled/stream_reader.h"

#include "compiled/loaded_shape.h"
#include "compiled/stream_bytes.h"
#include "compiled/stream_classes.h"
#include "compiled/stream_fields.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

namespace ozra::compiled {

using namespace front;
using value::Ref;

namespace {

constexpr std::int32_t kMagic[] = {79, 122, 114, 97, 1};

// The chained XOR of a scrambled own part, seeded with its length's low
// byte: each plain byte is its stored byte XOR the plain byte before. That
// is a running XOR, worked out eight bytes at a time.
void Unscramble(char* part, std::size_t length) {
    static_assert(std::endian::native == std::endian::little);
    std::uint64_t carry = length & 0xFF;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, part + i, 8);
        word ^= word << 8;
        word ^= word << 16;
        word ^= word << 32;
        word ^= carry * 0x0101010101010101ULL;
        std::memcpy(part + i, &word, 8);
        carry = word >> 56;
    }
    for (; i < length; ++i) {
        carry ^= static_cast<unsigned char>(part[i]);
        part[i] = static_cast<char>(carry);
    }
}

std::string FieldTag(const FieldRule& rule) {
    return "[" + std::to_string(rule.Group) + ", " + std::to_string(rule.Field) + "]";
}

// What waits in a block for the object of the next block.
enum class Wait : std::uint8_t { Nothing, Field, Item, Entry };

// One block being read.
struct Frame {
    Frame(std::uint32_t index, std::int32_t classNumber, const ByteReader& own, TtsNode* node,
          TtsNode* owner, const FieldRule* ownerRule) noexcept
        : Index(index), Fields(classNumber), Own(own), Node(node), Owner(owner),
          OwnerRule(ownerRule) {}

    std::uint32_t Index;
    ClassFields Fields;
    ByteReader Own;
    TtsNode* Node;
    // A container: the node and field it fills; none drops what it holds.
    TtsNode* Owner;
    const FieldRule* OwnerRule;
    Wait Waiting = Wait::Nothing;
    const FieldRule* Rule = nullptr;
    // The list field being read, and the name of the entry waiting.
    const FieldRule* ListRule = nullptr;
    std::string_view EntryName = {};
    // Items or entries of a list still to read.
    std::uint32_t Remaining = 0;
    bool Entries = false;
    // Fields come in increasing order of group and field.
    std::int32_t LastKey = -1;
};

class Reader {
  public:
    explicit Reader(std::span<char> bytes) : bytes_(bytes) {}

    Ref<TtsBlock> Run() {
        try {
            ReadHeader();
            PushRoot();
            while (!frames_.empty()) {
                if (!Step(frames_.back())) Complete();
            }
            return Finish();
        } catch (...) {
            // Links may tie objects in a circle; untied, they all go.
            for (const Ref<TtsNode>& node : nodes_) {
                if (node) Unlink(*node);
            }
            throw;
        }
    }

  private:
    [[noreturn]] void Fail(std::int32_t number, const std::string& what) const {
        throw EtsCompiler("object " + std::to_string(number) + " " + what);
    }
    [[noreturn]] void WrongClass(std::int32_t number, const FieldRule& rule) const {
        Fail(number, "has the wrong class for " + FieldTag(rule) + ".");
    }
    std::int32_t NumberOf(std::uint32_t index) const { return shape_.Number(index); }

    void ReadHeader() {
        const Trailer trailer = ReadTrailer(std::string_view(bytes_.data(), bytes_.size()));
        const std::size_t trailerStart = bytes_.size() - trailer.Length;
        if (static_cast<std::size_t>(trailer.Value) > trailerStart)
            throw EtsCompiler("Unsupported file format.");
        const std::size_t headerStart = trailerStart - static_cast<std::size_t>(trailer.Value);
        stream_ = ByteReader(std::string_view(bytes_.data() + headerStart, trailer.Value),
                             bytes_.size() - headerStart);
        streamStart_ = headerStart;
        for (std::int32_t expected : kMagic) {
            if (stream_.AtEnd() || stream_.Compact() != expected)
                throw EtsCompiler("Unsupported file format.");
        }
        const std::string_view mode = stream_.String();
        scrambled_ = !mode.empty() && mode.front() == '\x01';
        // Blocks take some twenty bytes each on average.
        const std::size_t expected = stream_.Remaining() / 16;
        nodes_.reserve(expected);
        indexOf_.reserve(expected);
        shape_.Reserve(expected);
    }

    // The next block's own part, unscrambled.
    ByteReader NextOwnPart() {
        const std::int32_t length = stream_.Compact();
        if (length < 0) throw EtsCompiler::ReadError();
        const std::string_view own = stream_.Raw(static_cast<std::size_t>(length));
        const std::size_t ownStart = streamStart_ + stream_.Position() - own.size();
        if (scrambled_) Unscramble(bytes_.data() + ownStart, own.size());
        return ByteReader(own, bytes_.size() - ownStart);
    }

    std::uint32_t Register(std::int32_t number, const ClassInfo& info, std::int32_t classNumber) {
        // Every block takes two bytes at least, which bounds any number.
        if (number < 1 || static_cast<std::size_t>(number) > bytes_.size())
            throw EtsCompiler("object number " + std::to_string(number) + " out of range.");
        // A number is new here: the root's is the first, and every other
        // block holds a number its referrer had not met.
        const auto at = static_cast<std::size_t>(number);
        if (at >= indexOf_.size()) indexOf_.resize(std::max(at + 1, indexOf_.size() * 3 / 2), -1);
        const std::uint32_t index = shape_.Begin(
            LoadedShape::Object{number, info.Use == ClassUse::Node && info.Kind == NodeKind::Block,
                                classNumber == static_cast<std::int32_t>(StreamClass::Control)},
            frames_.empty() ? -1 : static_cast<std::int32_t>(frames_.back().Index));
        indexOf_[at] = static_cast<std::int32_t>(index);
        nodes_.push_back(info.Use == ClassUse::Node ? MakeBareNode(info.Kind, arena_) : nullptr);
        return index;
    }

    // The root's block: the first, and a block.
    void PushRoot() {
        ByteReader own = NextOwnPart();
        const std::int32_t classNumber = own.Compact();
        const std::int32_t number = own.Compact();
        if (classNumber != static_cast<std::int32_t>(StreamClass::Block))
            Fail(number, "is not a block.");
        const std::uint32_t index = Register(number, ReadableClass(classNumber), classNumber);
        frames_.emplace_back(index, classNumber, own, nodes_[index].Get(), nullptr, nullptr);
    }

    // The field a container's items fill, for messages.
    static const FieldRule& ItemRule(const Frame& frame) {
        return frame.OwnerRule ? *frame.OwnerRule : *frame.ListRule;
    }

    // Reads the next block, which must hold object `number`, for what waits
    // in `parent`.
    void PushNext(Frame& parent, std::int32_t number) {
        ByteReader own = NextOwnPart();
        const std::int32_t classNumber = own.Compact();
        if (own.Compact() != number) Fail(number, "not found.");
        const ClassInfo info = ReadableClass(classNumber);
        if (info.Use == ClassUse::None)
            throw EtsCompiler("[" + std::to_string(classNumber) + "] not found.");
        const bool forField = parent.Waiting == Wait::Field;
        const FieldRule& rule = forField ? *parent.Rule : ItemRule(parent);
        if (!FitsTarget(forField ? rule.Target : FieldTarget::Node, classNumber))
            WrongClass(number, rule);
        TtsNode* owner = nullptr;
        const FieldRule* ownerRule = nullptr;
        if (forField && rule.Group == Tag::TableGroup) {
            // A name table's string list fills the table's field.
            owner = parent.Owner;
            ownerRule = parent.OwnerRule;
        } else if (forField && rule.Target != FieldTarget::Node && rule.Role != LinkRole::RunTime) {
            owner = parent.Node;
            ownerRule = &rule;
        }
        // `parent` moves when the stack grows.
        const std::uint32_t index = Register(number, info, classNumber);
        frames_.emplace_back(index, classNumber, own, nodes_[index].Get(), owner, ownerRule);
    }

    // A value stack is run-time state, and names nothing: its block is
    // passed over unread.
    void SkipValueStack(const FieldRule& rule, std::int32_t number) {
        ByteReader own = NextOwnPart();
        const std::int32_t classNumber = own.Compact();
        if (own.Compact() != number) Fail(number, "not found.");
        if (!FitsTarget(rule.Target, classNumber)) WrongClass(number, rule);
    }

    // Reads on in a block until it ends (false) or names an object of the
    // next block, which is then on top (true).
    bool Step(Frame& frame) {
        for (;;) {
            if (frame.Remaining > 0) {
                if (NextItem(frame)) return true;
                continue;
            }
            if (frame.Own.AtEnd()) return false;
            std::int32_t group;
            std::int32_t field;
            frame.Own.Tag(group, field);
            const FieldRule* rule = frame.Fields.Find(group, field);
            if (!rule)
                throw EtsCompiler("[" + std::to_string(group) + ", " + std::to_string(field) +
                                  "] not found.");
            const std::int32_t key = rule->Group * 8 + rule->Field;
            if (key <= frame.LastKey)
                throw EtsCompiler(FieldTag(*rule) +
                                  (key == frame.LastKey ? " written twice." : " out of order."));
            frame.LastKey = key;
            if (Field(frame, *rule)) return true;
        }
    }

    bool Field(Frame& frame, const FieldRule& rule) {
        switch (rule.Kind) {
        case FieldKind::Integer: {
            const std::int32_t number = frame.Own.Compact();
            // Every object's reference count: read, and dropped.
            if (rule.Group == Tag::ObjectGroup) return false;
            if (frame.Node) {
                ApplyInteger(*frame.Node, rule, number);
            } else if (rule.Group == Tag::TableGroup && frame.Owner) {
                SetReplaceFlag(*frame.Owner, *frame.OwnerRule, number != 0);
            }
            return false;
        }
        case FieldKind::String:
            ApplyString(*frame.Node, rule, frame.Own.String());
            return false;
        case FieldKind::Marker:
            return false;
        case FieldKind::Value: {
            StreamValue read = frame.Own.Value();
            if (!read.IsObject || read.ObjectNumber == 0) {
                static_cast<TtsExpression&>(*frame.Node).OwnValue = std::move(read.Value);
                return false;
            }
            return Refer(frame, rule, Wait::Field, read.ObjectNumber);
        }
        case FieldKind::Reference: {
            const std::int32_t number = frame.Own.Compact();
            return number != 0 && Refer(frame, rule, Wait::Field, number);
        }
        case FieldKind::List:
        case FieldKind::StringList: {
            const std::int32_t count = frame.Own.Compact();
            // An item takes a byte at least, an entry two, which bounds any
            // count.
            const std::size_t itemSize = rule.Kind == FieldKind::StringList ? 2 : 1;
            if (count < 0 || static_cast<std::size_t>(count) * itemSize > frame.Own.Remaining())
                throw EtsCompiler::ReadError();
            frame.ListRule = &rule;
            if (frame.Owner)
                ReserveItems(*frame.Owner, *frame.OwnerRule, static_cast<std::size_t>(count));
            frame.Entries = rule.Kind == FieldKind::StringList;
            if (frame.Entries) frame.Own.Compact(); // sorted: the table keeps its own order
            frame.Remaining = static_cast<std::uint32_t>(count);
            return false;
        }
        }
        return false;
    }

    bool NextItem(Frame& frame) {
        --frame.Remaining;
        if (frame.Entries) frame.EntryName = frame.Own.String();
        const std::int32_t number = frame.Own.Compact();
        const Wait wait = frame.Entries ? Wait::Entry : Wait::Item;
        if (number == 0) {
            AttachListed(frame, wait, -1, false);
            return false;
        }
        return Refer(frame, ItemRule(frame), wait, number);
    }

    // Links an object met before, or reads it from the next block (true).
    bool Refer(Frame& frame, const FieldRule& rule, Wait wait, std::int32_t number) {
        if (number > 0 && static_cast<std::size_t>(number) < indexOf_.size() &&
            indexOf_[static_cast<std::size_t>(number)] >= 0) {
            Attach(frame, rule, wait, indexOf_[static_cast<std::size_t>(number)], false);
            return false;
        }
        if (number < 0) Fail(number, "not found.");
        if (rule.Target == FieldTarget::ValueStack || rule.Target == FieldTarget::PValueStack) {
            SkipValueStack(rule, number);
            return false;
        }
        frame.Waiting = wait;
        frame.Rule = &rule;
        PushNext(frame, number);
        return true;
    }

    void Complete() {
        const std::uint32_t index = frames_.back().Index;
        shape_.End(index);
        frames_.pop_back();
        if (frames_.empty()) return;
        Frame& parent = frames_.back();
        Attach(parent, *parent.Rule, parent.Waiting, static_cast<std::int32_t>(index), true);
        parent.Waiting = Wait::Nothing;
    }

    void Attach(Frame& frame, const FieldRule& rule, Wait wait, std::int32_t target, bool isNew) {
        if (wait == Wait::Field) {
            AttachField(frame, rule, static_cast<std::uint32_t>(target), isNew);
        } else {
            AttachListed(frame, wait, target, isNew);
        }
    }

    void AttachField(Frame& frame, const FieldRule& rule, std::uint32_t target, bool isNew) {
        if (rule.Target != FieldTarget::Node) {
            // A container is read where it is named, and named once.
            if (!isNew) Fail(NumberOf(target), "is owned twice.");
            if (rule.Role != LinkRole::RunTime) shape_.OwnedByReader(target, true);
            return;
        }
        if (rule.Role == LinkRole::RunTime) return;
        TtsNode* node = nodes_[target].Get();
        if (!node) WrongClass(NumberOf(target), rule);
        // Every node's `Parent`, set here rather than through the table.
        if (rule.Group == Tag::NodeGroup && rule.Field == Tag::ParentField) {
            frame.Node->Parent = node;
            shape_.Parent(frame.Index, target);
            return;
        }
        if (!AttachNode(*frame.Node, rule, *node)) WrongClass(NumberOf(target), rule);
        switch (rule.Role) {
        case LinkRole::Owned:
        case LinkRole::Shared:
            if (isNew) {
                shape_.OwnedByReader(target, rule.Role == LinkRole::Owned);
            } else {
                shape_.Owned(frame.Index, target, rule.Role == LinkRole::Owned);
            }
            break;
        default:
            shape_.Linked(frame.Index, target);
            break;
        }
        if (rule.Group == Tag::UsingGroup && rule.Field == Tag::UsedBlockField)
            shape_.Used(frame.Index, target);
    }

    // An item or entry of a container, or none (-1).
    void AttachListed(Frame& frame, Wait wait, std::int32_t target, bool isNew) {
        // A container no field holds drops what it names.
        if (!frame.Owner) return;
        const FieldRule& rule = *frame.OwnerRule;
        TtsNode* node = target < 0 ? nullptr : nodes_[static_cast<std::size_t>(target)].Get();
        const std::int32_t number = target < 0 ? 0 : NumberOf(static_cast<std::uint32_t>(target));
        if (target >= 0 && !node) WrongClass(number, rule);
        const bool attached = wait == Wait::Entry
                                  ? AttachEntry(*frame.Owner, rule, frame.EntryName, node)
                                  : compiled::AttachItem(*frame.Owner, rule, node);
        if (!attached) WrongClass(number, rule);
        if (!node) return;
        // A variable in an argument list is one passed with "ref", which its
        // block's names own too.
        const bool exclusive = wait == Wait::Item && !IsKindOf(node->Kind, NodeKind::Variable);
        const auto index = static_cast<std::uint32_t>(target);
        if (isNew) {
            shape_.OwnedByReader(index, exclusive);
        } else {
            shape_.Owned(frame.Index, index, exclusive);
        }
    }

    Ref<TtsBlock> Finish() {
        const LoadedShape::Tree tree = shape_.Check();
        for (std::uint32_t index : tree.DroppedParents)
            nodes_[index]->Parent = nullptr;
        std::vector<TtsNode*> kept;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (tree.Kept[i] && nodes_[i]) kept.push_back(nodes_[i].Get());
        }
        Derive(kept);
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            if (!tree.Kept[i] || !nodes_[i]) continue;
            if (const char* part = MissingPart(*nodes_[i]))
                Fail(NumberOf(static_cast<std::uint32_t>(i)),
                     std::string("lacks its ") + part + ".");
        }
        return Ref<TtsBlock>::Retain(static_cast<TtsBlock*>(nodes_.front().Get()));
    }

    // What the builder derives while it builds: the holders of used units,
    // each function's own variables, the kind of a call's arguments, and a
    // set's value, which is the set.
    void Derive(const std::vector<TtsNode*>& kept) {
        std::unordered_map<TtsFunctionNode*, std::vector<TtsVariable*>> locals;
        for (TtsNode* node : kept) {
            if (auto* used = NodeCast<TtsUsing>(node); used && used->UsedBlock)
                HoldUsedBlock(used->UsedBlock, used->UsedBlock, used->UsedBlockParent,
                              used->UsedTree);
            if (auto* call = NodeCast<TtsFunctionExpr>(node))
                call->SetArguments(std::move(call->Arguments));
            auto* variable = NodeCast<TtsVariable>(node);
            if (variable && variable->Kind == NodeKind::FsVariable && variable->Owner)
                locals[variable->Owner].push_back(variable);
        }
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (auto* function = NodeCast<TtsFunctionNode>(kept[i]))
                function->RestoreDerived(locals[function]);
            if (auto* set = NodeCast<TtsSet>(kept[i]); set && set->Value().Object() != set)
                throw EtsCompiler("a set's value is not the set.");
        }
    }

    std::span<char> bytes_;
    std::size_t streamStart_ = 0;
    ByteReader stream_{""};
    bool scrambled_ = false;
    front::NodeArena arena_;
    // By object index, in stream order.
    std::vector<Ref<TtsNode>> nodes_;
    // By object number.
    std::vector<std::int32_t> indexOf_;
    LoadedShape shape_;
    std::vector<Frame> frames_;
};

} // namespace

Ref<TtsBlock> ReadTree(std::span<char> bytes) {
    return Reader(bytes).Run();
}

} // namespace ozra::compiled
