#include "ide/gui/highlighter_set.h"

#include "ide/gui/script_editor.h"

#include <algorithm>
#include <cctype>

namespace ozra::ide::gui {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::string HighlighterSet::Canonical(std::string_view name) const {
    for (const std::string& each : names_)
        if (SameIgnoringCase(each, name)) return each;
    return names_.front();
}

std::string HighlighterSet::NameForFile(std::string_view, const std::string& current) const {
    return current;
}

void HighlighterSet::Apply(ScriptEditor&, const std::string&) const {}

} // namespace ozra::ide::gui
