// Data link files: the connection string read from each form such a file
// comes in, written back in the form other tools read, and the failures.
#include "data/data_error.h"
#include "data/data_link_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>

namespace ozra::data {
namespace {

using namespace std::string_literals;

class DataLinkFiles : public ::testing::Test {
  protected:
    DataLinkFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ozra-udl-XXXXXX").string();
        folder_ = std::string(::mkdtemp(pattern.data())) + "/";
    }
    ~DataLinkFiles() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ + name, std::ios::binary) << bytes;
        return folder_ + name;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(folder_ + name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::string folder_;
};

// UTF-16LE of ASCII text.
std::string Wide(std::string_view text) {
    std::string wide;
    for (char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

TEST_F(DataLinkFiles, ReadsEveryFormTheFilesComeIn) {
    const std::string body =
        "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
        "Provider=SQLite;Data Source=/srv/app.db\r\n";
    const struct {
        const char* Name;
        std::string Bytes;
        const char* Expected;
    } cases[] = {
        {"wide.udl", "\xFF\xFE"s + Wide(body), "Provider=SQLite;Data Source=/srv/app.db"},
        {"marked.udl", "\xEF\xBB\xBF" + body, "Provider=SQLite;Data Source=/srv/app.db"},
        {"plain.udl", "\n  DSN=orders;UID=me  \n", "DSN=orders;UID=me"},
        // U+00E9 and U+1F600 (a surrogate pair) in UTF-16LE.
        {"accents.udl", "\xFF\xFE"s + Wide("Data Source=/") + "\xE9\0"s + "\x3D\xD8\x00\xDE"s,
         "Data Source=/\xC3\xA9\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadDataLinkFile(Write(c.Name, c.Bytes)), c.Expected) << c.Name;
}

TEST_F(DataLinkFiles, WritesTheWideFormAndReadsItBack) {
    WriteDataLinkFile(folder_ + "new.udl", " Data Source=/tmp/caf\xC3\xA9.db ");
    EXPECT_EQ(Read("new.udl"),
              "\xFF\xFE"s +
                  Wide("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                       "Data Source=/tmp/caf") +
                  "\xE9\0"s + Wide(".db\r\n"));
    EXPECT_EQ(ReadDataLinkFile(folder_ + "new.udl"), "Data Source=/tmp/caf\xC3\xA9.db");
}

TEST_F(DataLinkFiles, FailuresSayWhy) {
    const std::string empty = Write("empty.udl", "[oledb]\r\n; nothing\r\n");
    const struct {
        std::function<void()> Action;
        std::string Message;
    } cases[] = {
        {[&] { ReadDataLinkFile(empty); },
         "The data link file \"" + empty + "\" holds no connection string."},
        {[&] { ReadDataLinkFile(folder_ + "none.udl"); },
         "Cannot open file \"" + folder_ + "none.udl\". No such file or directory"},
        {[&] { WriteDataLinkFile(folder_ + "two.udl", "DSN=a\nDSN=b"); },
         "A connection string cannot hold a line break."},
    };
    for (const auto& c : cases) {
        try {
            c.Action();
            ADD_FAILURE() << "no error for: " << c.Message;
        } catch (const EDataError& error) {
            EXPECT_EQ(error.what(), c.Message);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ + "two.udl"));
}

} // namespace
} // namespace ozra::data
