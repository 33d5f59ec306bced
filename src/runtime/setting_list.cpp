// Name=value entries and their delimited text form.
#include "runtime/setting_list.h"

namespace ozra::runtime {

using namespace value;

namespace {

std::string_view NamePart(std::string_view entry) {
    const std::size_t equals = entry.find('=');
    return equals == std::string_view::npos ? entry : entry.substr(0, equals);
}

bool NeedsQuotes(std::string_view entry) {
    if (entry.empty()) return false;
    if (entry.front() == ' ' || entry.back() == ' ') return true;
    return entry.find_first_of(";\"") != std::string_view::npos;
}

} // namespace

int TSettingList::IndexOfName(std::string_view name) const noexcept {
    for (int i = 0; i < Count(); ++i) {
        if (CompareStrings(NamePart(Strings(i)), name) == 0) return i;
    }
    return -1;
}

std::string_view TSettingList::NameAt(int index) const {
    return NamePart(Strings(index));
}

std::string_view TSettingList::ValueAt(int index) const {
    const std::string_view entry = Strings(index);
    const std::size_t equals = entry.find('=');
    return equals == std::string_view::npos ? std::string_view() : entry.substr(equals + 1);
}

std::string TSettingList::Value(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : std::string(ValueAt(index));
}

void TSettingList::SetValue(std::string_view name, std::string_view value) {
    std::string entry(name);
    entry += '=';
    entry += value;
    const int index = IndexOfName(name);
    if (index < 0) {
        Add(std::move(entry));
    } else {
        SetString(index, std::move(entry));
    }
}

void TSettingList::AddPair(std::string_view pair) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || equals == 0) return;
    SetValue(pair.substr(0, equals), pair.substr(equals + 1));
}

std::string TSettingList::DelimitedText() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) text += Delimiter;
        const std::string& entry = Strings(i);
        if (!NeedsQuotes(entry)) {
            text += entry;
            continue;
        }
        text += '"';
        for (char c : entry) {
            if (c == '"') text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

void TSettingList::SetDelimitedText(std::string_view text) {
    Clear();
    if (text.empty()) return;
    std::size_t i = 0;
    while (true) {
        std::string entry;
        if (i < text.size() && text[i] == '"') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        entry += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    entry += text[i];
                }
            }
            // Anything between a closing quote and the delimiter belongs to
            // the entry as written.
            while (i < text.size() && text[i] != Delimiter)
                entry += text[i++];
        } else {
            while (i < text.size() && text[i] != Delimiter)
                entry += text[i++];
        }
        Add(std::move(entry));
        if (i >= text.size()) break;
        ++i; // the delimiter
    }
}

} // namespace ozra::runtime
