#include "ide/gui/recent_files.h"

#include "value/names.h"

#include <algorithm>

namespace ozra::ide::gui {

namespace {

constexpr std::string_view kHeader = "[Weftline Studio toolbar 1]";
constexpr std::string_view kRecentKey = "recent=";

std::string_view TrimmedBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

} // namespace

std::vector<std::string>::iterator RecentFiles::Find(std::string_view name) {
    return std::ranges::find_if(
        entries_, [name](const std::string& entry) { return value::NamesEqual(entry, name); });
}

void RecentFiles::Add(std::string_view name) {
    if (auto found = Find(name); found != entries_.end())
        entries_.erase(found);
    else if (entries_.size() >= kCapacity)
        entries_.pop_back();
    entries_.insert(entries_.begin(), std::string(name));
}

void RecentFiles::Remove(std::string_view name) {
    if (auto found = Find(name); found != entries_.end()) entries_.erase(found);
}

std::string RecentFiles::ToText() const {
    std::string text(kHeader);
    text += '\n';
    for (const std::string& entry : entries_) {
        if (entry.find_first_of("\r\n") != std::string::npos) continue;
        text.append(kRecentKey).append(entry).append("\n");
    }
    return text;
}

RecentFiles RecentFiles::FromText(std::string_view text) {
    RecentFiles list;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.starts_with(kRecentKey)) continue;
        const std::string_view name = TrimmedBlanks(line.substr(kRecentKey.size()));
        if (!name.empty() && list.entries_.size() < kCapacity &&
            list.Find(name) == list.entries_.end())
            list.entries_.emplace_back(name);
    }
    return list;
}

} // namespace ozra::ide::gui
