// A temporary folder of a test's own, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <string_view>

namespace ozra::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ozra-test-XXXXXX").string();
        Path = std::string(::mkdtemp(pattern.data())) + "/";
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(Path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes the file, making its folders.
    void Write(const std::string& name, std::string_view bytes) const {
        std::filesystem::create_directories(std::filesystem::path(Path + name).parent_path());
        std::ofstream(Path + name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path + name); }

    std::string Path; // with a trailing "/"
};

} // namespace ozra::testing
