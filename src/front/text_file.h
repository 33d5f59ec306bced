// Whole-file reads of script text.
#pragma once

#include <string>

namespace ozra::front {

class TTextFile {
public:
    // The whole file as a byte string; an empty file gives the empty string.
    // A file that cannot be read raises an error naming it and the reason.
    static std::string ReadFile(const std::string& fileName);
};

}  // namespace ozra::front
