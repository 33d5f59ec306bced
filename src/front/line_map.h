// Turns 1-based character positions of a script into lines and columns.
//
// Messages name a line and a column (both 1-based). A position on a line
// feed or on the last character of the text belongs to that character's own
// line; a position past the end counts as the column after the last
// character. Lookups may come in any order, as error recovery can report an
// earlier position after a later one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace ozra::front {

struct LineColumn {
    std::int32_t Line = 1;
    std::int32_t Column = 1;
};

class LineMap {
public:
    explicit LineMap(std::string_view text);

    LineColumn Locate(std::int32_t position) const;

private:
    std::vector<std::int32_t> lineStarts_;  // 1-based position of each line's first character
    std::int32_t textLength_;
};

}  // namespace ozra::front
