// The data layer's files (XML data files, data link files) read and
// replaced whole through the platform layer, with its errors raised as the
// data layer's own so that scripts see them like any other data error.
#pragma once

#include <string>
#include <string_view>

namespace ozra::data {

std::string ReadDataFile(const std::string& path);
// A failed replacement leaves the old file as it was.
void ReplaceDataFile(const std::string& path, std::string_view bytes);

} // namespace ozra::data
