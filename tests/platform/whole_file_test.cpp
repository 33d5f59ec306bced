// Whole-file reads and replacements at their edges: the bytes as they are,
// the errors that name the file, and links that point nowhere yet.
#include "platform/error.h"
#include "platform/output_file.h"
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>
#include <unistd.h>

namespace ozra::platform {
namespace {

class WholeFile : public ::testing::Test {
  protected:
    WholeFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ozra-pf-XXXXXX").string();
        folder = std::string(::mkdtemp(pattern.data())) + "/";
    }
    ~WholeFile() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    template <class Action> std::string ErrorOf(Action action) {
        try {
            action();
        } catch (const Error& error) {
            return error.what();
        }
        return "no error";
    }

    std::string folder;
};

TEST_F(WholeFile, ReadsAndReplacesBytesAsTheyAre) {
    const std::string bytes("a\0b\r\n\xff", 6);
    ReplaceWholeFile(folder + "f", bytes);
    EXPECT_EQ(ReadWholeFile(folder + "f"), bytes);
    ReplaceWholeFile(folder + "f", "");
    EXPECT_EQ(ReadWholeFile(folder + "f"), "");
}

TEST_F(WholeFile, FailuresNameTheFileAndTheReason) {
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder + "none"); }),
              "Cannot open file \"" + folder + "none\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder); }),
              "Cannot open file \"" + folder + "\". Is a directory");
    EXPECT_EQ(ErrorOf([&] { ReplaceWholeFile(folder + "no/f", "x"); }),
              "Cannot create file \"" + folder + "no/f\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { ReplaceWholeFile(folder.substr(0, folder.size() - 1), "x"); }),
              "Cannot create file \"" + folder.substr(0, folder.size() - 1) + "\". Is a directory");
    EXPECT_EQ(ErrorOf([&] { OutputFile(folder + "none", OpenMode::AppendExisting); }),
              "Cannot open file \"" + folder + "none\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { OutputFile(folder + "no/f", OpenMode::Replace); }),
              "Cannot create file \"" + folder + "no/f\". No such file or directory");
}

TEST_F(WholeFile, ALinkThatPointsNowhereGetsItsFile) {
    ASSERT_EQ(::symlink("made.txt", (folder + "link").c_str()), 0);
    ReplaceWholeFile(folder + "link", "x");
    EXPECT_EQ(ReadWholeFile(folder + "made.txt"), "x");
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "link"));
}

} // namespace
} // namespace ozra::platform
