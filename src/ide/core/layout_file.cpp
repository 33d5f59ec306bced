// Reading and writing the bytes of layout files; depends on nothing but
// the standard library, so the fuzz target takes this file alone.
#include "ide/core/layout_file.h"

namespace ozra::ide {

namespace {

// Thrown inside the reader for a section that cannot be read; never leaves
// `ReadLayout`.
struct Damaged {};

constexpr std::int32_t ZoneFormat = 1;
// The fewest bytes a zone takes: kind, size, and a count or a name length.
constexpr std::size_t SmallestZone = 12;

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Left() const noexcept { return bytes_.size() - at_; }
    bool AtEnd() const noexcept { return at_ >= bytes_.size(); }

    // -1 at the end, as the format has it; a partial integer is damage.
    std::int32_t Int() {
        if (AtEnd()) return -1;
        if (Left() < 4) throw Damaged{};
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= std::uint32_t(static_cast<unsigned char>(bytes_[at_++])) << shift;
        return static_cast<std::int32_t>(value);
    }
    std::string_view Bytes(std::int32_t size) {
        if (size < 0 || static_cast<std::size_t>(size) > Left()) throw Damaged{};
        const std::string_view taken = bytes_.substr(at_, static_cast<std::size_t>(size));
        at_ += taken.size();
        return taken;
    }
    // "" at the end, as the format has it.
    std::string String() {
        if (AtEnd()) return {};
        return std::string(Bytes(Int()));
    }
    // A block: an integer size and that many bytes.
    std::string_view Block() { return AtEnd() ? std::string_view() : Bytes(Int()); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

class ByteWriter {
  public:
    void Int(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes_ += static_cast<char>((bits >> shift) & 0xFF);
    }
    void String(std::string_view text) {
        Int(static_cast<std::int32_t>(text.size()));
        bytes_ += text;
    }
    void Block(std::string_view block) { String(block); }
    void Section(std::int32_t code, std::string_view content) {
        Int(code);
        Block(content);
    }
    std::string& Bytes() noexcept { return bytes_; }

  private:
    std::string bytes_;
};

DockZone ReadZone(ByteReader& in, int depth) {
    if (depth > MaxZoneDepth) throw Damaged{};
    DockZone zone;
    const std::int32_t kind = in.Int();
    if (kind < 0 || kind > 2) throw Damaged{};
    zone.Type = static_cast<DockZone::Kind>(kind);
    zone.Size = in.Int();
    if (zone.Type == DockZone::Kind::Window) {
        zone.Name = std::string(in.Bytes(in.Int()));
        return zone;
    }
    const std::int32_t count = in.Int();
    if (count < 0 || static_cast<std::size_t>(count) > in.Left() / SmallestZone) throw Damaged{};
    zone.Children.reserve(static_cast<std::size_t>(count));
    for (std::int32_t child = 0; child < count; ++child)
        zone.Children.push_back(ReadZone(in, depth + 1));
    return zone;
}

void WriteZone(ByteWriter& out, const DockZone& zone) {
    out.Int(static_cast<std::int32_t>(zone.Type));
    out.Int(zone.Size);
    if (zone.Type == DockZone::Kind::Window) {
        out.String(zone.Name);
        return;
    }
    out.Int(static_cast<std::int32_t>(zone.Children.size()));
    for (const DockZone& child : zone.Children)
        WriteZone(out, child);
}

std::vector<NamePair> ReadPairs(std::string_view bytes) {
    ByteReader in(bytes);
    std::vector<NamePair> pairs;
    while (!in.AtEnd()) {
        std::string first = in.String();
        if (first.empty()) break;
        pairs.push_back(NamePair{std::move(first), in.String()});
    }
    return pairs;
}

std::string PairBytes(const std::vector<NamePair>& pairs) {
    ByteWriter out;
    for (const NamePair& pair : pairs) {
        out.String(pair.First);
        out.String(pair.Second);
    }
    return std::move(out.Bytes());
}

DockTree ReadDockTree(std::string_view content) {
    ByteReader in(content);
    const std::string_view zones = in.Block();
    const std::string_view groups = in.Block();
    if (!in.AtEnd()) throw Damaged{};
    DockTree tree;
    if (!zones.empty()) {
        ByteReader zoneIn(zones);
        if (zoneIn.Int() != ZoneFormat) throw Damaged{};
        tree.Root = ReadZone(zoneIn, 1);
        if (!zoneIn.AtEnd()) throw Damaged{};
    }
    tree.Groups = ReadPairs(groups);
    return tree;
}

std::string DockTreeBytes(const DockTree& tree) {
    ByteWriter zones;
    if (tree.Root) {
        zones.Int(ZoneFormat);
        WriteZone(zones, *tree.Root);
    }
    ByteWriter out;
    out.Block(zones.Bytes());
    out.Block(PairBytes(tree.Groups));
    return std::move(out.Bytes());
}

std::vector<AreaSize> ReadSizes(std::string_view content) {
    ByteReader in(content);
    if (content.size() % 12 != 0) throw Damaged{};
    std::vector<AreaSize> sizes;
    while (!in.AtEnd()) {
        AreaSize size;
        size.Code = in.Int();
        size.Width = in.Int();
        size.Height = in.Int();
        sizes.push_back(size);
    }
    return sizes;
}

} // namespace

LayoutFile ReadLayout(std::string_view bytes) {
    LayoutFile layout;
    ByteReader in(bytes);
    try {
        while (!in.AtEnd()) {
            const std::int32_t code = in.Int();
            const std::string_view content = in.Bytes(in.Int());
            if (code >= FirstAreaCode && code < FirstAreaCode + std::int32_t(AreaCount))
                layout.Areas[static_cast<std::size_t>(code - FirstAreaCode)] =
                    ReadDockTree(content);
            else if (code == AreaSizesCode)
                layout.Sizes = ReadSizes(content);
            else if (code >= FirstStripCode && code < FirstStripCode + std::int32_t(StripCount))
                layout.Strips[static_cast<std::size_t>(code - FirstStripCode)] = ReadPairs(content);
        }
    } catch (const Damaged&) {
        layout.Damaged = true;
    }
    return layout;
}

std::string WriteLayout(const LayoutFile& layout) {
    ByteWriter out;
    for (std::size_t area = 0; area < AreaCount; ++area)
        if (layout.Areas[area])
            out.Section(FirstAreaCode + static_cast<std::int32_t>(area),
                        DockTreeBytes(*layout.Areas[area]));
    if (layout.Sizes) {
        ByteWriter sizes;
        for (const AreaSize& size : *layout.Sizes) {
            sizes.Int(size.Code);
            sizes.Int(size.Width);
            sizes.Int(size.Height);
        }
        out.Section(AreaSizesCode, sizes.Bytes());
    }
    for (std::size_t strip = 0; strip < StripCount; ++strip)
        if (layout.Strips[strip])
            out.Section(FirstStripCode + static_cast<std::int32_t>(strip),
                        PairBytes(*layout.Strips[strip]));
    return std::move(out.Bytes());
}

} // namespace ozra::ide
