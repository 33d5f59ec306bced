// Line starts are found once per text; each lookup is a binary search.
#include "front/line_map.h"

#include <algorithm>

namespace ozra::front {

LineMap::LineMap(std::string_view text) : textLength_(static_cast<std::int32_t>(text.size())) {
    lineStarts_.push_back(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') lineStarts_.push_back(static_cast<std::int32_t>(i) + 2);
    }
}

LineColumn LineMap::Locate(std::int32_t position) const {
    position = std::clamp(position, 1, textLength_ + 1);
    auto next = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    // A line start past the end of the text (after a final line feed) holds
    // no character; the end position then stays on the last line.
    if (position > textLength_ && next - lineStarts_.begin() > 1 && *(next - 1) > textLength_) {
        --next;
    }
    auto line = static_cast<std::int32_t>(next - lineStarts_.begin());
    return {line, position - lineStarts_[line - 1] + 1};
}

}  // namespace ozra::front
