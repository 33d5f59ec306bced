// Search histories.
#include "ide/core/search_history.h"

#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::ide {

void SearchHistory::Use(std::string_view text) {
    std::erase_if(entries_,
                  [&](const std::string& entry) { return value::NamesEqual(entry, text); });
    entries_.insert(entries_.begin(), std::string(text));
    if (entries_.size() > MaxEntries) entries_.resize(MaxEntries);
}

void SearchHistory::Load(const std::string& path) {
    entries_.clear();
    if (!platform::FileExists(path)) return;
    const std::string text = platform::ReadWholeFile(path);
    std::size_t start = 0;
    while (start < text.size() && entries_.size() < MaxEntries) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) entries_.emplace_back(line);
        start = end + 1;
    }
}

void SearchHistory::Save(const std::string& path) const {
    std::string text;
    for (const std::string& entry : entries_) {
        if (entry.find_first_of("\r\n") != std::string::npos) continue;
        text += entry;
        text += '\n';
    }
    platform::CreateFolderOf(path);
    platform::ReplaceWholeFile(path, text);
}

} // namespace ozra::ide
