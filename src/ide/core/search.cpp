// Finding and replacing in one editor and across units.
#include "ide/core/search.h"

#include "ide/core/project.h"

#include <algorithm>

namespace ozra::ide {

namespace {

using regex::RegexOption;
using regex::SharedText;
using regex::TMatchBase;

struct Found {
    std::int64_t Offset = -1;
    std::int64_t Length = 0;
};

Found FirstMatch(regex::TRegexBase& expression, std::string_view text) {
    const value::Ref<TMatchBase> match = expression.Match(SharedText(text));
    if (!match->Success()) return {};
    return {match->Index(), match->Length()};
}

Found LastMatch(regex::TRegexBase& expression, std::string_view text) {
    Found last;
    for (value::Ref<TMatchBase> match = expression.Match(SharedText(text)); match->Success();
         match->NextMatch())
        last = {match->Index(), match->Length()};
    return last;
}

std::int32_t Offset(std::int64_t offset) {
    return static_cast<std::int32_t>(offset);
}

// 1-based line of a 0-based offset.
std::int32_t LineOf(std::string_view text, std::size_t offset) {
    return static_cast<std::int32_t>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n') + 1);
}

std::string LineTextAt(std::string_view text, std::size_t offset) {
    const std::size_t start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t from = start == std::string_view::npos || offset == 0 ? 0 : start + 1;
    std::size_t end = text.find('\n', offset);
    if (end == std::string_view::npos) end = text.size();
    if (end > from && text[end - 1] == '\r') --end;
    return std::string(text.substr(from, end - from));
}

std::vector<TVeUnit*> UnitsOfScope(const TVeProject& project, SearchScope scope) {
    std::vector<TVeUnit*> units;
    switch (scope) {
    case SearchScope::Selection:
    case SearchScope::CurrentFile:
        if (project.CurrentUnit()) units.push_back(project.CurrentUnit());
        break;
    case SearchScope::ProjectFiles:
        for (const auto& unit : project.Units())
            if (IsProjectType(unit->Type())) units.push_back(unit.get());
        break;
    case SearchScope::OpenFiles:
        for (const auto& unit : project.Units())
            if (unit->Editor()) units.push_back(unit.get());
        break;
    }
    return units;
}

} // namespace

PreparedSearch PrepareSearch(const TVeSearchRecord& search) {
    regex::RegexOptions options = regex::OptionBit(RegexOption::SingleLine);
    if (!search.CaseSensitive) options |= regex::OptionBit(RegexOption::IgnoreCase);
    PreparedSearch prepared;
    const std::string pattern =
        search.Regex ? search.FindText
                     : regex::TRegexBase::EscapeLiteral(search.FindText, search.WholeWord);
    try {
        prepared.Expression = regex::RegexClass.Create(pattern, "C", options);
    } catch (const std::exception& error) {
        throw SearchPatternError(error.what());
    }
    prepared.Replacement = search.Regex ? search.ReplaceText
                                        : regex::TRegexBase::EscapeReplacement(search.ReplaceText);
    return prepared;
}

bool FindInText(TextBuffer& buffer, const TVeSearchRecord& search) {
    const PreparedSearch prepared = PrepareSearch(search);
    regex::TRegexBase& expression = *prepared.Expression;
    std::string text = buffer.Text();
    const auto selectionStart = static_cast<std::size_t>(buffer.SelectionStart());
    const auto selectionLength = static_cast<std::size_t>(buffer.SelectionLength());
    std::size_t searchFrom = selectionStart + selectionLength;
    std::size_t searchTo = text.size();
    if (search.Backward) {
        searchFrom = 0;
        searchTo = selectionStart;
    } else if (search.Scope == SearchScope::Selection) {
        searchFrom = selectionStart;
        searchTo = selectionStart + selectionLength;
    }
    if (search.Action == SearchAction::Replace) {
        const std::string selected = text.substr(selectionStart, selectionLength);
        const Found whole = FirstMatch(expression, selected);
        if (!selected.empty() && whole.Offset == 0 &&
            whole.Length == static_cast<std::int64_t>(selected.size())) {
            const std::string replaced =
                expression.Replace(SharedText(selected), prepared.Replacement);
            buffer.ReplaceSelection(replaced);
            text = buffer.Text();
            searchFrom = search.Backward ? 0 : selectionStart + replaced.size();
            searchTo = search.Backward ? selectionStart : text.size();
        }
    }
    const std::string_view searched =
        std::string_view(text).substr(searchFrom, searchTo - searchFrom);
    const Found found =
        search.Backward ? LastMatch(expression, searched) : FirstMatch(expression, searched);
    if (found.Offset < 0) {
        const std::int32_t end = buffer.SelectionStart() + buffer.SelectionLength();
        buffer.Select(end, 0);
        return false;
    }
    buffer.Select(Offset(static_cast<std::int64_t>(searchFrom) + found.Offset),
                  Offset(found.Length));
    return true;
}

bool FindInUnit(TVeUnit& unit, const TVeSearchRecord& search) {
    if (!unit.Editor()) return false;
    return FindInText(*unit.Editor(), search);
}

int FindInFiles(TVeProject& project, const TVeSearchRecord& search) {
    const PreparedSearch prepared = PrepareSearch(search);
    regex::TRegexBase& expression = *prepared.Expression;
    if (search.Action == SearchAction::Find) {
        for (const auto& unit : project.Units())
            unit->SearchResults.clear();
        project.Notify(ProjectEvent::SearchCleared);
    }
    int hits = 0;
    for (TVeUnit* unit : UnitsOfScope(project, search.Scope)) {
        while (unit->CheckRunning())
            project.Host().PumpEvents();
        const bool selection = search.Scope == SearchScope::Selection && unit->Editor();
        const std::string whole = unit->Text();
        const std::size_t base =
            selection ? static_cast<std::size_t>(unit->Editor()->SelectionStart()) : 0;
        const std::size_t length =
            selection ? static_cast<std::size_t>(unit->Editor()->SelectionLength()) : whole.size();
        const std::string_view searched = std::string_view(whole).substr(base, length);
        if (search.Action == SearchAction::Replace) {
            std::string result;
            if (!expression.Replace(SharedText(searched), prepared.Replacement, result)) continue;
            if (!(unit->Editor() && unit->Editor()->IsShowing())) unit->OpenInEditor();
            if (selection)
                unit->Editor()->ReplaceSelection(result);
            else
                unit->Editor()->SetText(result);
            unit->SetModified(true);
            ++hits;
            continue;
        }
        bool marked = false;
        for (value::Ref<TMatchBase> match = expression.Match(SharedText(searched));
             match->Success(); match->NextMatch()) {
            // An empty match (of "x*", say) is no place a user looks for.
            if (match->Length() == 0) continue;
            ++hits;
            const std::size_t offset = base + static_cast<std::size_t>(match->Index());
            const std::int32_t line = LineOf(whole, offset);
            if (search.Action == SearchAction::Find) {
                unit->SearchResults.push_back(debugger::TVeBookmark{
                    unit->ShownName(), LineTextAt(whole, offset), -1, line, Offset(match->Length()),
                    Offset(static_cast<std::int64_t>(offset))});
            } else {
                unit->MutableBookmarks().Add(line);
                marked = true;
            }
        }
        if (marked && unit->Editor()) unit->Editor()->Repaint();
    }
    if (hits > 0 && search.Action == SearchAction::Find)
        project.Notify(ProjectEvent::SearchResults);
    if (hits > 0 && search.Action == SearchAction::Mark)
        project.Notify(ProjectEvent::BookmarksChanged);
    return hits;
}

} // namespace ozra::ide
