// Path text operations, path expansion, the list text
// forms and the project compiler's checksum.
#include "libs/list_text.h"
#include "libs/path_helper.h"
#include "libs/path_text.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace ozra::libs {
namespace {

TEST(PathText, SplittingWindowsAndLinuxPaths) {
    const struct {
        const char* path;
        const char* drive;
        const char* filePath;
        const char* dir;
        const char* name;
        const char* ext;
        const char* noExt;
    } cases[] = {
        {"C:\\a.b\\c", "C:", "C:/a.b/", "C:/a.b", "c", "", "c"},
        {"x.tar.gz", "", "", "", "x.tar.gz", ".gz", "x.tar"},
        {"C:\\dir\\name.ext", "C:", "C:/dir/", "C:/dir", "name.ext", ".ext", "name"},
        {"C:\\", "C:", "C:/", "C:/", "", "", ""},
        {"C:x.txt", "C:", "C:", "C:", "x.txt", ".txt", "x"},
        {"\\\\srv\\share\\f.txt", "//srv/share", "//srv/share/", "//srv/share", "f.txt", ".txt",
         "f"},
        {"/home/u/a:b.txt", "", "/home/u/", "/home/u", "a:b.txt", ".txt", "a:b"},
        {"/top", "", "/", "/", "top", "", "top"},
        {"dir/.hidden", "", "dir/", "dir", ".hidden", ".hidden", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileDrive(c.path), c.drive) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
        EXPECT_EQ(ExtractFileNameNoExt(c.path), c.noExt) << c.path;
    }
}

TEST(PathText, ChangingExtensions) {
    EXPECT_EQ(ChangeFileExt("a.txt", ""), "a");
    EXPECT_EQ(ChangeFileExt("d.x\\a", ".y"), "d.x/a.y");
    EXPECT_EQ(ChangeFileExt("a.txt", ".md"), "a.md");
}

TEST(PathHelper, ExpandingPaths) {
    char buffer[4096];
    const std::string cwd = std::string(::getcwd(buffer, sizeof buffer)) + "/";
    const std::string program = ProgramFolder();
    ASSERT_EQ(program.back(), '/');
    const struct {
        std::string base;
        std::string name;
        std::string expanded;
    } cases[] = {
        {"", ":x.ozra", program + "x.ozra"},
        {"/base/", ":lib\\x.ozra", program + "lib/x.ozra"},
        {"/base", "sub\\..\\x.ozra", "/base/x.ozra"},
        {"/base/", "/abs/./x.ozra", "/abs/x.ozra"},
        {"", "x.ozra", program + "x.ozra"},
        {"rel", "x", cwd + "rel/x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TPathHelper::ExpandPath(c.base, c.name), c.expanded) << c.base << " " << c.name;
    EXPECT_EQ(ExpandFileName("/a/b/../../../c/"), "/c/");
    EXPECT_EQ(ExpandFileName(""), cwd);
    EXPECT_THROW(TPathHelper::ExpandPath("", "C:\\x"), platform::Error);
}

TEST(Checksum, CrcWithoutFinalInversionAndOptionalCaseFolding) {
    EXPECT_EQ(StringChecksum("123456789", true), ~0xCBF43926u);
    EXPECT_EQ(StringChecksum("", true), 0xFFFFFFFFu);
    EXPECT_EQ(StringChecksum("ABC", false), StringChecksum("abc", true));
    EXPECT_NE(StringChecksum("ABC", true), StringChecksum("abc", true));
    // Only A-Z fold; other bytes count as they are.
    EXPECT_NE(StringChecksum("\xC3\x89", false), StringChecksum("\xC3\xA9", false));
}

TEST(ListText, DelimitedReadingSplitsAtDelimitersAndBlanks) {
    const struct {
        const char* text;
        char delimiter;
        std::vector<std::string> strings;
    } cases[] = {
        {"a b,c", ',', {"a", "b", "c"}},
        {"\"a b\",c", ',', {"a b", "c"}},
        {"  x ; \"q\"\"q\" ;", ';', {"x", "q\"q", ""}},
        {"", ',', {}},
        {",", ',', {"", ""}},
        {"a\x01"
         "b",
         ',',
         {"a", "b"}},
        {"\"open", ',', {"open"}},
    };
    for (const auto& c : cases) {
        value::TStringListEx list;
        SetDelimitedText(list, c.text, c.delimiter);
        std::vector<std::string> strings;
        for (int i = 0; i < list.Count(); ++i)
            strings.push_back(list.Strings(i));
        EXPECT_EQ(strings, c.strings) << c.text;
    }
    value::TStringListEx nul;
    SetDelimitedText(nul, std::string_view("a\0b,c", 5), ',');
    EXPECT_EQ(nul.Count(), 2);
}

TEST(ListText, WritingQuotesWhatReadingWouldSplit) {
    value::TStringListEx list;
    for (const char* s : {"x", "y z", "q\"", "a;b", "", "tab\t"})
        list.Add(s);
    EXPECT_EQ(DelimitedText(list, ';'), "x;\"y z\";\"q\"\"\";\"a;b\";;\"tab\t\"");
    value::TStringListEx back;
    SetDelimitedText(back, DelimitedText(list, ';'), ';');
    ASSERT_EQ(back.Count(), list.Count());
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(back.Strings(i), list.Strings(i));
    EXPECT_EQ(LineText(list).substr(0, 9), "x\r\ny z\r\nq");
    value::TStringListEx lines;
    SetLineText(lines, "a\r\nb\n\nc\rd");
    EXPECT_EQ(lines.Count(), 5);
    EXPECT_EQ(lines.Strings(2), "");
}

} // namespace
} // namespace ozra::libs
