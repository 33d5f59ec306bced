// The path rule every file-system caller goes through, and name patterns.
#include "platform/error.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace ozra::platform {
namespace {

TEST(Paths, FileSystemPathsRefuseDrivesAndNetworkShares) {
    EXPECT_EQ(CheckedPath("out\\gen\\a.cs"), "out/gen/a.cs");
    EXPECT_EQ(CheckedPath("/abs/x:y"), "/abs/x:y");
    for (const char* path : {"C:\\x", "c:/x", "C:", "\\\\srv\\share", "/\\srv", "\\/srv"}) {
        try {
            CheckedPath(path);
            ADD_FAILURE() << path;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Windows drive and network paths are not supported: \"") + path +
                          "\".");
        }
    }
}

TEST(Paths, FolderAndNameParts) {
    const struct {
        const char* path;
        const char* folderPart;
        const char* folder;
        const char* name;
    } cases[] = {
        {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt"},
        {"/c.txt", "/", "/", "c.txt"},
        {"c.txt", "", "", "c.txt"},
        {"a/", "a/", "a", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderPart(c.path), c.folderPart) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(NamePart(c.path), c.name) << c.path;
    }
    EXPECT_EQ(WithTrailingSlash("a\\b"), "a/b/");
    EXPECT_EQ(WithTrailingSlash(""), "");
}

TEST(Paths, Wildcards) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {{"*.txt", "A.TXT", true}, {"*.*", "noext", true}, {"a?c", "abc", true},
                 {"a?c", "ac", false},     {"*b*", "abc", true},   {"*.txt", "a.txt.bak", false},
                 {"", "", true},           {"**x", "yyx", true}};
    for (const auto& c : cases)
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

} // namespace
} // namespace ozra::platform
