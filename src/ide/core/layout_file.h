// Layout files (".layout"): how the docking areas and auto-hide strips of
// the main window were arranged, saved at exit as "AutoSave" and under
// names the user gives.
//
// The envelope is fixed. Integers are 32-bit signed little-endian; a
// string is an integer length and that many bytes. The file is a sequence
// of sections, each an integer code, an integer size and that many bytes:
//   101-105  the dock tree of the left, right, bottom, centre top and
//            centre bottom areas: two blocks, each an integer size and
//            that many bytes: (1) the area's zone tree, (2) the tab groups
//            docked directly in the area as string pairs (member i, member
//            i-1), ending at the block's end or at an empty first string;
//   301      the sizes of the five areas: records (area code, width,
//            height);
//   201-203  the left, right and bottom strips: string pairs, (client, "")
//            for each client in docking order, followed for a tab group by
//            its pairs (member i, member i-1); ending at the section's end
//            or at an empty first string.
// Sections are written in that order; a reader skips codes it does not
// know.
//
// Block 1, the zone tree, is this environment's own: an integer format
// version (1), then one zone, written depth first:
//   zone  := kind size body
//   kind  := 0 a docked window | 1 side-by-side zones | 2 stacked zones
//   size  := the zone's extent across its parent's split, in pixels
//   body  := for a window, its component name (a string; a name starting
//            "DM__" is a tab group named after its first member); for a
//            split, an integer count followed by that many zones.
// An empty area has no block 1 bytes at all.
//
// Every count, size and length read is checked against the bytes that
// remain before anything is allocated for it, and trees deeper than
// `MaxZoneDepth` are refused, so a damaged or hostile file costs no more
// than its own size. Reading stops at the first damaged section and keeps
// the sections before it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide {

inline constexpr std::int32_t FirstAreaCode = 101;
inline constexpr std::int32_t AreaSizesCode = 301;
inline constexpr std::int32_t FirstStripCode = 201;
inline constexpr std::size_t AreaCount = 5;
inline constexpr std::size_t StripCount = 3;
inline constexpr int MaxZoneDepth = 64;
// The prefix of a tab group's component name.
inline constexpr std::string_view GroupPrefix = "DM__";

struct DockZone {
    enum class Kind : std::int32_t { Window = 0, SideBySide = 1, Stacked = 2 };
    Kind Type = Kind::Window;
    std::int32_t Size = 0;
    // Windows only.
    std::string Name;
    // Splits only.
    std::vector<DockZone> Children;
    friend bool operator==(const DockZone&, const DockZone&) = default;
};

struct NamePair {
    std::string First;
    std::string Second;
    friend bool operator==(const NamePair&, const NamePair&) = default;
};

struct DockTree {
    // None for an empty area.
    std::optional<DockZone> Root;
    std::vector<NamePair> Groups;
    friend bool operator==(const DockTree&, const DockTree&) = default;
};

struct AreaSize {
    std::int32_t Code = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const AreaSize&, const AreaSize&) = default;
};

struct LayoutFile {
    // Left, right, bottom, centre top, centre bottom; none where the file
    // has no section.
    std::array<std::optional<DockTree>, AreaCount> Areas;
    std::optional<std::vector<AreaSize>> Sizes;
    // Left, right, bottom.
    std::array<std::optional<std::vector<NamePair>>, StripCount> Strips;
    // The file ended inside a section, or a section was damaged.
    bool Damaged = false;
    friend bool operator==(const LayoutFile&, const LayoutFile&) = default;
};

LayoutFile ReadLayout(std::string_view bytes);
std::string WriteLayout(const LayoutFile& layout);

// Raised for a layout name that would lead out of the layout folder.
class LayoutNameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The file of a named layout in the home folder's "Layout" folder; an empty
// name is "AutoSave". A name with "/" or "\" or a leading "." is refused.
std::string LayoutPath(std::string_view name);
// None when the file does not exist; a file that cannot be read raises.
std::optional<LayoutFile> LoadLayout(std::string_view name);
// Creates the folder and replaces the file whole; false when that failed,
// leaving any earlier file as it was.
bool SaveLayout(std::string_view name, const LayoutFile& layout);
// The names of the saved layouts, sorted.
std::vector<std::string> SavedLayouts();

} // namespace ozra::ide
