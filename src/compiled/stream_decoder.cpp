// Reading the header, the blocks and the plain fields of a compiled stream.
#include "compiled/stream_decoder.h"

#include "compiled/stream_bytes.h"

#include <bitset>

namespace ozra::compiled {

using namespace front;
using value::MakeRef;
using value::Ref;

namespace {

constexpr std::int32_t kMagic[] = {79, 122, 114, 97, 1};

[[noreturn]] void Unsupported() {
    throw EtsCompiler("Unsupported file format.");
}

[[noreturn]] void OutOfRange(const FieldRule& rule) {
    throw EtsCompiler("[" + std::to_string(rule.Group) + ", " + std::to_string(rule.Field) +
                      "] out of range.");
}

// A node as the stream's reader makes it: only what its constructor makes,
// the stream restores the rest.
Ref<TtsNode> MakeBareNode(NodeKind kind) {
    switch (kind) {
    case NodeKind::Variable:
        return MakeRef<TtsVariable>(nullptr);
    case NodeKind::GcVariable:
        return MakeRef<TtsGcVariable>(nullptr);
    case NodeKind::FsVariable:
        return MakeRef<TtsFsVariable>(nullptr);
    case NodeKind::Const:
        return MakeRef<TtsConst>(nullptr);
    case NodeKind::VarRef:
        return MakeRef<TtsVarRef>(nullptr);
    case NodeKind::PropRef:
        return MakeRef<TtsPropRef>(nullptr);
    case NodeKind::IndexExpr:
        return MakeRef<TtsIndexExpr>(nullptr);
    case NodeKind::Set:
        return MakeRef<TtsSet>(nullptr);
    case NodeKind::NaryOperator:
        return MakeRef<TtsNaryOperator>(nullptr);
    case NodeKind::DualOperator:
        return MakeRef<TtsDualOperator>(nullptr);
    case NodeKind::FunctionExpr:
        return MakeRef<TtsFunctionExpr>(nullptr);
    case NodeKind::FilterExpr:
        return MakeRef<TtsFilterExpr>(nullptr);
    case NodeKind::RangeExpr:
        return MakeRef<TtsRangeExpr>(nullptr);
    case NodeKind::SubSetExpr:
        return MakeRef<TtsSubSetExpr>(nullptr);
    case NodeKind::Text:
        return MakeRef<TtsText>(nullptr);
    case NodeKind::Block:
        return MakeRef<TtsBlock>(nullptr);
    case NodeKind::Control:
        return MakeRef<TtsControl>(nullptr);
    case NodeKind::IfNode:
        return MakeRef<TtsIfNode>(nullptr);
    case NodeKind::CaseNode:
        return MakeRef<TtsCaseNode>(nullptr);
    case NodeKind::LoopNode:
        return MakeRef<TtsLoopNode>(nullptr);
    case NodeKind::ForNode:
        return MakeRef<TtsForNode>(nullptr);
    case NodeKind::ForeachNode:
        return MakeRef<TtsForeachNode>(nullptr);
    case NodeKind::FunctionNode:
        return MakeRef<TtsFunctionNode>(nullptr);
    case NodeKind::ClassNode:
        return MakeRef<TtsClassNode>(nullptr);
    case NodeKind::FileNode:
        return MakeRef<TtsFileNode>(nullptr);
    case NodeKind::OldUsing:
        return MakeRef<TtsOldUsing>(nullptr);
    case NodeKind::OldCopy:
        return MakeRef<TtsOldCopy>(nullptr);
    case NodeKind::OldExecute:
        return MakeRef<TtsOldExecute>(nullptr);
    case NodeKind::AssignNode:
        return MakeRef<TtsAssignNode>(nullptr);
    case NodeKind::TryNode:
        return MakeRef<TtsTryNode>(nullptr);
    case NodeKind::Exit:
        return MakeRef<TtsExit>(nullptr);
    case NodeKind::Skip:
        return MakeRef<TtsSkip>(nullptr);
    case NodeKind::Assign:
        return MakeRef<TtsAssign>(nullptr);
    case NodeKind::VarDefine:
        return MakeRef<TtsVarDefine>(nullptr);
    case NodeKind::RefDefine:
        return MakeRef<TtsRefDefine>(nullptr);
    case NodeKind::Call:
        return MakeRef<TtsCall>(nullptr);
    case NodeKind::Output:
        return MakeRef<TtsOutput>(nullptr);
    case NodeKind::Using:
        return MakeRef<TtsUsing>(nullptr);
    default:
        throw EtsCompiler("[" + std::string(NodeKindName(kind)) + "] not found.");
    }
}

constexpr int Key(int group, int field) {
    return group * 8 + field;
}

char ByteOf(const FieldRule& rule, std::int32_t number) {
    if (number < 0 || number > 255) OutOfRange(rule);
    return static_cast<char>(static_cast<unsigned char>(number));
}

// Integer, bool and byte fields of nodes; the reference count and the
// run-time counters are read and dropped.
void ApplyInteger(TtsNode& node, const FieldRule& rule, std::int32_t number) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(22, 2):
        // Parameter modes and run-once marks are 0 or 1 between runs.
        if (number != 0 && number != 1) OutOfRange(rule);
        node.Tag = number;
        return;
    case Key(29, 0):
        static_cast<TtsVarRef&>(node).AtPrefix = number != 0;
        return;
    case Key(34, 1):
        static_cast<TtsNaryOperator&>(node).OperatorCode = ByteOf(rule, number);
        return;
    case Key(35, 2):
        static_cast<TtsDualOperator&>(node).OperatorCode = ByteOf(rule, number);
        return;
    case Key(48, 2):
        static_cast<TtsCaseNode&>(node).CaseOperator = ByteOf(rule, number);
        return;
    case Key(54, 1):
        static_cast<TtsFileNode&>(node).Overwrite = number != 0;
        return;
    case Key(60, 1):
        static_cast<TtsAssign&>(node).AssignOperator = ByteOf(rule, number);
        return;
    case Key(63, 1):
        static_cast<TtsCall&>(node).NewLine = number != 0;
        return;
    default:
        return;
    }
}

void ApplyString(TtsNode& node, const FieldRule& rule, std::string_view text) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(22, 1):
        node.Name = text;
        return;
    case Key(29, 3):
        static_cast<TtsVarRef&>(node).RefName = text;
        return;
    case Key(38, 3):
        static_cast<TtsFilterExpr&>(node).ItemName = text;
        return;
    case Key(43, 0):
        static_cast<TtsText&>(node).Text = text;
        return;
    case Key(52, 3):
        static_cast<TtsFunctionNode&>(node).FunctionName = text;
        return;
    case Key(69, 0):
        static_cast<TtsOldCopy&>(node).SourcePath = text;
        return;
    case Key(70, 0):
        static_cast<TtsOldExecute&>(node).ProgramPath = text;
        return;
    default:
        return;
    }
}

class Decoder {
  public:
    explicit Decoder(DecodedStream& stream) : stream_(stream) {}

    void Block(std::string_view own) {
        ByteReader reader(own);
        StreamObject object;
        object.ClassNumber = reader.Compact();
        object.Class = ReadableClass(object.ClassNumber);
        if (object.Class.Use == ClassUse::None)
            throw EtsCompiler("[" + std::to_string(object.ClassNumber) + "] not found.");
        if (object.Class.Use == ClassUse::Node) object.Node = MakeBareNode(object.Class.Kind);
        object.Number = reader.Compact();
        const auto index = static_cast<std::uint32_t>(stream_.Objects.size());
        std::bitset<8 * 71> seen;
        while (!reader.AtEnd()) {
            const std::int32_t group = reader.Compact();
            const std::int32_t field = reader.Compact();
            const FieldRule* rule = FindField(object.ClassNumber, group, field);
            if (!rule)
                throw EtsCompiler("[" + std::to_string(group) + ", " + std::to_string(field) +
                                  "] not found.");
            const auto key = static_cast<std::size_t>(Key(rule->Group, rule->Field));
            if (seen.test(key))
                throw EtsCompiler("[" + std::to_string(group) + ", " + std::to_string(field) +
                                  "] written twice.");
            seen.set(key);
            Field(reader, object, index, *rule);
        }
        stream_.Objects.push_back(std::move(object));
    }

    // Object numbers become indexes: each block's number must be one of
    // 1 to the number of blocks, and no two blocks share one.
    void ResolveNumbers() {
        const std::size_t count = stream_.Objects.size();
        std::vector<std::int32_t> indexOf(count + 1, -1);
        for (std::size_t i = 0; i < count; ++i) {
            const std::int32_t number = stream_.Objects[i].Number;
            if (number < 1 || static_cast<std::size_t>(number) > count)
                throw EtsCompiler("object number " + std::to_string(number) + " out of range.");
            if (indexOf[static_cast<std::size_t>(number)] >= 0)
                throw EtsCompiler("object " + std::to_string(number) + " written twice.");
            indexOf[static_cast<std::size_t>(number)] = static_cast<std::int32_t>(i);
        }
        const auto resolve = [&](std::int32_t& number) {
            if (number == 0) {
                number = -1;
                return;
            }
            if (number < 0 || static_cast<std::size_t>(number) > count)
                throw EtsCompiler("object " + std::to_string(number) + " not found.");
            number = indexOf[static_cast<std::size_t>(number)];
        };
        for (StreamLink& link : stream_.Links)
            resolve(link.Target);
        for (std::int32_t& item : stream_.Items)
            resolve(item);
        for (StreamEntry& entry : stream_.Entries)
            resolve(entry.Target);
        for (StreamObject& object : stream_.Objects)
            resolve(object.Storage);
    }

  private:
    void Field(ByteReader& reader, StreamObject& object, std::uint32_t index,
               const FieldRule& rule) {
        switch (rule.Kind) {
        case FieldKind::Integer: {
            const std::int32_t number = reader.Compact();
            if (object.Node) {
                ApplyInteger(*object.Node, rule, number);
            } else if (rule.Group == Tag::TableGroup) {
                object.AllowReplace = number != 0;
            }
            return;
        }
        case FieldKind::String: {
            const std::string_view text = reader.String();
            ApplyString(*object.Node, rule, text);
            return;
        }
        case FieldKind::Value: {
            StreamValue read = reader.Value();
            if (read.IsObject && read.ObjectNumber != 0) {
                stream_.Links.push_back(StreamLink{index, &rule, read.ObjectNumber});
            } else {
                static_cast<TtsExpression&>(*object.Node).OwnValue = std::move(read.Value);
            }
            return;
        }
        case FieldKind::Reference: {
            const std::int32_t number = reader.Compact();
            if (rule.Group == Tag::TableGroup) {
                object.Storage = number;
            } else if (number != 0) {
                stream_.Links.push_back(StreamLink{index, &rule, number});
            }
            return;
        }
        case FieldKind::Marker:
            return;
        case FieldKind::List: {
            const std::size_t count = Count(reader);
            object.FirstItem = static_cast<std::uint32_t>(stream_.Items.size());
            object.ItemCount = static_cast<std::uint32_t>(count);
            for (std::size_t i = 0; i < count; ++i)
                stream_.Items.push_back(reader.Compact());
            return;
        }
        case FieldKind::StringList: {
            const std::size_t count = Count(reader);
            object.Sorted = reader.Compact() != 0;
            object.FirstItem = static_cast<std::uint32_t>(stream_.Entries.size());
            object.ItemCount = static_cast<std::uint32_t>(count);
            for (std::size_t i = 0; i < count; ++i) {
                const std::string_view name = reader.String();
                stream_.Entries.push_back(StreamEntry{name, reader.Compact()});
            }
            return;
        }
        }
    }

    // An item takes one byte at least, which bounds any count by the bytes
    // that are left.
    static std::size_t Count(ByteReader& reader) {
        const std::int32_t count = reader.Compact();
        if (count < 0 || static_cast<std::size_t>(count) > reader.Remaining())
            throw EtsCompiler::ReadError();
        return static_cast<std::size_t>(count);
    }

    DecodedStream& stream_;
};

// The chained XOR of a scrambled own part, seeded with its length's low byte.
void Unscramble(char* part, std::size_t length) {
    auto previous = static_cast<unsigned char>(length & 0xFF);
    for (std::size_t i = 0; i < length; ++i) {
        const auto plain =
            static_cast<unsigned char>(static_cast<unsigned char>(part[i]) ^ previous);
        part[i] = static_cast<char>(plain);
        previous = plain;
    }
}

} // namespace

DecodedStream DecodeStream(std::string bytes) {
    DecodedStream stream;
    const Trailer trailer = ReadTrailer(bytes);
    const std::size_t trailerStart = bytes.size() - trailer.Length;
    if (static_cast<std::size_t>(trailer.Value) > trailerStart) Unsupported();
    const std::size_t headerStart = trailerStart - static_cast<std::size_t>(trailer.Value);
    bytes.resize(trailerStart);
    bytes.erase(0, headerStart);
    stream.Bytes = std::move(bytes);

    ByteReader reader(stream.Bytes);
    for (std::int32_t expected : kMagic) {
        if (reader.AtEnd() || reader.Compact() != expected) Unsupported();
    }
    const std::string_view mode = reader.String();
    const bool scrambled = !mode.empty() && mode.front() == '\x01';

    Decoder decoder(stream);
    while (!reader.AtEnd()) {
        const std::int32_t length = reader.Compact();
        if (length < 0) throw EtsCompiler::ReadError();
        const std::string_view own = reader.Raw(static_cast<std::size_t>(length));
        if (scrambled)
            Unscramble(stream.Bytes.data() + (own.data() - stream.Bytes.data()), own.size());
        decoder.Block(own);
    }
    if (stream.Objects.empty()) throw EtsCompiler::ReadError();
    decoder.ResolveNumbers();
    return stream;
}

} // namespace ozra::compiled
