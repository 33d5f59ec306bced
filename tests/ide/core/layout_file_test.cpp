// Layout files: the envelope byte for byte, our zone trees, damaged and
// hostile files, and layout names.
#include "../../support/file_size_limit.h"
#include "../../support/temp_folder.h"
#include "ide/core/layout_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ozra::ide {
namespace {

std::string Int(std::int32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF);
    return bytes;
}
std::string Str(std::string_view text) {
    return Int(static_cast<std::int32_t>(text.size())) + std::string(text);
}
std::string Section(std::int32_t code, const std::string& content) {
    return Int(code) + Str(content);
}

DockZone Window(std::string name, std::int32_t size) {
    return DockZone{DockZone::Kind::Window, size, std::move(name), {}};
}

// Structure and Files tabbed together on the left above Bookmarks; Output
// in the bottom strip, Search Result and Watches tabbed in the right one.
LayoutFile Sample() {
    LayoutFile layout;
    layout.Areas[0] = DockTree{DockZone{DockZone::Kind::Stacked,
                                        250,
                                        {},
                                        {Window("DM__Structure", 300), Window("Bookmarks", 200)}},
                               {{"Files", "Structure"}}};
    layout.Areas[2] = DockTree{Window("Output", 150), {}};
    layout.Areas[1] = layout.Areas[3] = layout.Areas[4] = DockTree{};
    layout.Sizes =
        std::vector<AreaSize>{{101, 250, 0}, {102, 0, 0}, {103, 0, 150}, {104, 0, 0}, {105, 0, 0}};
    layout.Strips[0] = std::vector<NamePair>{};
    layout.Strips[1] =
        std::vector<NamePair>{{"DM__Search_Result", ""}, {"Watches", "Search_Result"}};
    layout.Strips[2] = std::vector<NamePair>{{"Output", ""}};
    return layout;
}

TEST(LayoutFileTest, TheEnvelopeIsWrittenAsTheFormatSays) {
    LayoutFile layout;
    layout.Areas[2] = DockTree{Window("Output", 150), {{"Messages", "Output"}}};
    layout.Sizes = std::vector<AreaSize>{{103, 0, 150}};
    layout.Strips[0] = std::vector<NamePair>{{"Files", ""}};
    const std::string zones = Int(1) + Int(0) + Int(150) + Str("Output");
    const std::string expected = Section(103, Str(zones) + Str(Str("Messages") + Str("Output"))) +
                                 Section(301, Int(103) + Int(0) + Int(150)) +
                                 Section(201, Str("Files") + Str(""));
    EXPECT_EQ(WriteLayout(layout), expected);
    EXPECT_EQ(ReadLayout(expected), layout);
}

TEST(LayoutFileTest, RoundTripsByteForByte) {
    const std::string bytes = WriteLayout(Sample());
    const LayoutFile read = ReadLayout(bytes);
    EXPECT_FALSE(read.Damaged);
    EXPECT_EQ(read, Sample());
    EXPECT_EQ(WriteLayout(read), bytes);
}

TEST(LayoutFileTest, UnknownSectionsAndTheEndMarkersAreSkipped) {
    const std::string bytes = WriteLayout(Sample());
    EXPECT_EQ(ReadLayout(Section(999, "whatever") + bytes + Section(7, "")), Sample());
    // A pair whose first name is empty ends the strip.
    const LayoutFile ended =
        ReadLayout(Section(201, Str("Files") + Str("") + Str("") + Str("ignored")));
    EXPECT_EQ(*ended.Strips[0], (std::vector<NamePair>{{"Files", ""}}));
    EXPECT_FALSE(ended.Damaged);
    EXPECT_EQ(ReadLayout(""), LayoutFile());
}

TEST(LayoutFileTest, EveryTruncationStopsCleanly) {
    const std::string bytes = WriteLayout(Sample());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const LayoutFile read = ReadLayout(std::string_view(bytes).substr(0, length));
        // A cut between sections loses only the later ones.
        if (!read.Damaged) {
            EXPECT_EQ(WriteLayout(read), bytes.substr(0, length)) << length;
        }
    }
}

TEST(LayoutFileTest, BadSizesAndCountsAreRefusedBeforeAnyAllocation) {
    const std::int32_t huge = 0x7FFFFFFF;
    const std::string windowZone = Int(0) + Int(1) + Str("Files");
    const std::string cases[] = {
        Int(101) + Int(-5) + "abcde",
        Int(101) + Int(huge) + "abc",
        Section(101, Int(huge) + "x"),
        Section(101, Str(Int(1) + Int(0) + Int(0) + Int(huge)) + Str("")),
        Section(101, Str(Int(1) + Int(1) + Int(0) + Int(huge)) + Str("")),
        Section(101, Str(Int(1) + Int(1) + Int(0) + Int(-1)) + Str("")),
        Section(101, Str(Int(2) + windowZone) + Str("")),
        Section(101, Str(Int(1) + Int(7) + Int(0) + Str("x")) + Str("")),
        Section(101, Str(Int(1) + windowZone + "extra") + Str("")),
        Section(201, Int(huge) + "x"),
        Section(201, Str("Files") + Int(-2)),
        Section(301, Int(101) + Int(1)),
        Section(102, Str("") + Str("") + "trailing"),
        Int(101) + "\x01\x02",
    };
    for (const std::string& bytes : cases) {
        const LayoutFile read = ReadLayout(bytes);
        EXPECT_TRUE(read.Damaged) << ::testing::PrintToString(bytes);
        EXPECT_FALSE(read.Areas[0]) << ::testing::PrintToString(bytes);
    }
    // Sections before the damage are kept.
    const LayoutFile kept = ReadLayout(Section(201, Str("Files") + Str("")) + Int(101) + Int(-1));
    EXPECT_TRUE(kept.Damaged);
    EXPECT_EQ(*kept.Strips[0], (std::vector<NamePair>{{"Files", ""}}));
}

TEST(LayoutFileTest, DeepTreesAreRefused) {
    const auto nested = [](int depth) {
        std::string zones = Int(1);
        for (int level = 1; level < depth; ++level)
            zones += Int(1) + Int(0) + Int(1);
        zones += Int(0) + Int(0) + Str("Files");
        return Section(101, Str(zones) + Str(""));
    };
    EXPECT_FALSE(ReadLayout(nested(MaxZoneDepth)).Damaged);
    EXPECT_TRUE(ReadLayout(nested(MaxZoneDepth + 1)).Damaged);
}

class LayoutFolderTest : public ::testing::Test {
  protected:
    LayoutFolderTest() { setenv("WEFTLINE_HOME", Home.Path.c_str(), 1); }
    ~LayoutFolderTest() override { unsetenv("WEFTLINE_HOME"); }
    ozra::testing::TempFolder Home;
};

TEST_F(LayoutFolderTest, NamesStayInsideTheLayoutFolder) {
    EXPECT_EQ(LayoutPath(""), Home.Path + "Layout/AutoSave.layout");
    EXPECT_EQ(LayoutPath("My Layout"), Home.Path + "Layout/My Layout.layout");
    for (std::string_view name : {"../x", "a/b", "a\\b", ".hidden", ".."}) {
        try {
            LayoutPath(name);
            ADD_FAILURE() << name;
        } catch (const LayoutNameError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "The layout name \"" + std::string(name) +
                          "\" may not contain \"/\" or \"\\\" or start with \".\".");
        }
    }
}

TEST_F(LayoutFolderTest, SavesLoadsAndListsLayouts) {
    EXPECT_EQ(LoadLayout("none"), std::nullopt);
    ASSERT_TRUE(SaveLayout("", Sample()));
    ASSERT_TRUE(SaveLayout("Debugging", LayoutFile()));
    EXPECT_EQ(LoadLayout(""), Sample());
    EXPECT_EQ(SavedLayouts(), (std::vector<std::string>{"AutoSave", "Debugging"}));
}

TEST_F(LayoutFolderTest, AFailedSaveLeavesTheEarlierFile) {
    ASSERT_TRUE(SaveLayout("", Sample()));
    const std::string before = Home.Read("Layout/AutoSave.layout");
    LayoutFile bigger = Sample();
    bigger.Strips[0] = std::vector<NamePair>(200, NamePair{"Window", "Other"});
    {
        const FileSizeLimit full(64);
        EXPECT_FALSE(SaveLayout("", bigger));
    }
    EXPECT_EQ(Home.Read("Layout/AutoSave.layout"), before);
}

} // namespace
} // namespace ozra::ide
