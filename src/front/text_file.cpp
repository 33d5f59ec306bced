// Script text is read like every whole file of the system.
#include "front/text_file.h"

#include "platform/whole_file.h"

namespace ozra::front {

std::string TTextFile::ReadFile(const std::string& fileName) {
    return platform::ReadWholeFile(fileName);
}

} // namespace ozra::front
