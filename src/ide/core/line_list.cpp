// Sorted line keys.
#include "ide/core/line_list.h"

#include <algorithm>
#include <cstdio>

namespace ozra::ide {

std::string LineList::Key(std::int32_t line) {
    char text[16];
    std::snprintf(text, sizeof text, "%9d", static_cast<int>(line));
    return text;
}

bool LineList::Contains(std::int32_t line) const {
    return std::binary_search(keys_.begin(), keys_.end(), Key(line));
}

bool LineList::Toggle(std::int32_t line) {
    const std::string key = Key(line);
    const auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (at != keys_.end() && *at == key) {
        keys_.erase(at);
        return false;
    }
    keys_.insert(at, key);
    return true;
}

void LineList::Add(std::int32_t line) {
    if (!Contains(line)) Toggle(line);
}

std::vector<std::int32_t> LineList::Lines() const {
    std::vector<std::int32_t> lines;
    lines.reserve(keys_.size());
    for (const std::string& key : keys_)
        lines.push_back(std::stoi(key));
    return lines;
}

} // namespace ozra::ide
