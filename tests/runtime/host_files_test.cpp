// Template and target files of the host: path resolution, whole-file reads,
// and target writes that honour the overwrite flag and never leave a
// half-written file or a temporary behind.
#include "../support/file_size_limit.h"
#include "platform/error.h"
#include "runtime/host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace ozra::runtime {

using namespace value;
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HostFiles : public ::testing::Test {
  protected:
    HostFiles() {
        folder = fs::temp_directory_path() / ("ozra_host_files_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        host->SetVariable("TargetPath", TtsValue::FromText((folder / "out").string()));
        host->SetVariable("TemplatePath", TtsValue::FromText(folder.string() + "/"));
    }
    ~HostFiles() override { fs::remove_all(folder); }

    int FilesIn(const fs::path& dir) {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
            ++count;
        return count;
    }

    fs::path folder;
    Ref<TtsHost> host = MakeRef<TtsHost>();
};

TEST(HostPaths, NamesAreResolvedAgainstAFolder) {
    const struct {
        const char* path;
        const char* name;
        const char* expected;
    } cases[] = {
        {"/out", "a.txt", "/out/a.txt"},
        {"/out/", "a.txt", "/out/a.txt"},
        {"/out", "/abs/a.txt", "/abs/a.txt"},
        {"/out", "sub\\a.txt", "/out/sub/a.txt"},
        {"\\out", "a.txt", "/out/a.txt"},
        // No folder at all: relative to the working folder, not to "/".
        {"", "a.txt", "a.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TtsHost::ResolvePath(c.path, c.name), c.expected) << c.path << " + " << c.name;
    }
    // A drive or network name would make a folder named "C:" or "\\srv".
    const struct {
        const char* path;
        const char* name;
        const char* refused;
    } refusals[] = {
        {"/out", "C:\\gen\\a.txt", "C:\\gen\\a.txt"},
        {"C:\\out\\", "a.txt", "C:\\out\\"},
        {"/out", "\\\\srv\\share\\a.txt", "\\\\srv\\share\\a.txt"},
    };
    for (const auto& c : refusals) {
        try {
            TtsHost::ResolvePath(c.path, c.name);
            ADD_FAILURE() << c.path << " + " << c.name;
        } catch (const platform::Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Windows drive and network paths are not supported: \"") +
                          c.refused + "\".");
        }
    }
}

TEST_F(HostFiles, TargetsAreCreatedWithTheirFoldersAndReplacedOnlyWithOverwrite) {
    host->WriteTargetFile("one\r\n", "sub/a.txt", false);
    EXPECT_EQ(ReadAll(folder / "out/sub/a.txt"), "one\r\n");

    host->WriteTargetFile("two", "sub/a.txt", false);
    EXPECT_EQ(ReadAll(folder / "out/sub/a.txt"), "one\r\n");

    host->WriteTargetFile("three", "sub/a.txt", true);
    EXPECT_EQ(ReadAll(folder / "out/sub/a.txt"), "three");

    host->WriteTargetFile("", (folder / "abs.txt").string(), true);
    EXPECT_TRUE(fs::exists(folder / "abs.txt"));
    EXPECT_EQ(FilesIn(folder / "out/sub"), 1); // no temporary left behind
}

// A write that fails half-way (here: the process may not grow files past a
// few bytes, which holds for every user, root included) raises and leaves
// the old target as it was, with no temporary file behind.
TEST_F(HostFiles, AFailedTargetWriteRaisesAndLeavesTheOldFile) {
    fs::create_directories(folder / "out/kept");
    host->WriteTargetFile("old", "kept/a.txt", true);

    {
        FileSizeLimit limit(4);
        try {
            host->WriteTargetFile("new and longer", "kept/a.txt", true);
            ADD_FAILURE() << "the write should fail";
        } catch (const platform::Error& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"", 0), 0u)
                << error.what();
        }
    }
    EXPECT_EQ(ReadAll(folder / "out/kept/a.txt"), "old");
    EXPECT_EQ(FilesIn(folder / "out/kept"), 1);
}

TEST_F(HostFiles, TemplatesAreReadWholeAsBytes) {
    const std::string bytes("a\0b\r\n\xff", 6);
    std::ofstream(folder / "t.txt", std::ios::binary) << bytes;
    std::ofstream(folder / "empty.txt", std::ios::binary).flush();
    EXPECT_EQ(host->ReadTemplateFile("t.txt"), bytes);
    EXPECT_EQ(host->ReadTemplateFile("empty.txt"), "");
    try {
        host->ReadTemplateFile("missing.txt");
        ADD_FAILURE();
    } catch (const platform::Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"", 0), 0u) << error.what();
    }
}

} // namespace
} // namespace ozra::runtime
