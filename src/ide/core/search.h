// Find, replace and mark: `TVeSearchRecord` describes one search, a unit's
// editor is searched for the next or previous match (`FindInUnit`), and
// several units at once are searched for every match (`FindInFiles`).
//
// Plain text is matched literally and its replacement inserted literally
// (a "$" stays a "$"); a regular expression is used as written, with its
// replacement as a substitution pattern. Either way the expression is made
// in the "C" locale, single-line, so "^" and "$" match only at the ends of
// the searched text, and ignores case unless asked not to.
#pragma once

#include "ide/core/editor_host.h"
#include "libs/regex/regex_base.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ozra::ide {

class TVeProject;
class TVeUnit;

enum class SearchScope : std::uint8_t {
    Selection = 1,
    CurrentFile = 2,
    ProjectFiles = 3,
    OpenFiles = 4,
};

enum class SearchAction : std::uint8_t { Find = 0, Replace = 1, Mark = 2 };

struct TVeSearchRecord {
    std::string FindText;
    std::string ReplaceText;
    bool Regex = false;
    bool Backward = false;
    // Plain text only.
    bool WholeWord = false;
    bool CaseSensitive = false;
    SearchScope Scope = SearchScope::CurrentFile;
    SearchAction Action = SearchAction::Find;
};

// Raised when the find text, as a regular expression, does not compile;
// the window shows "Error in regular expression".
class SearchPatternError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct PreparedSearch {
    value::Ref<regex::TRegexBase> Expression;
    std::string Replacement;
};

PreparedSearch PrepareSearch(const TVeSearchRecord& search);

// Finds (and for Replace first replaces the selection when the whole of it
// matches) in the text of an editor, selecting the match found; scopes 1
// and 2 only. False when nothing was found, with the selection collapsed to
// its end.
bool FindInText(TextBuffer& buffer, const TVeSearchRecord& search);
bool FindInUnit(TVeUnit& unit, const TVeSearchRecord& search);

// Searches the units of the scope for every match and answers the number
// of hits: Find collects them as the units' search results (notification
// 14), Mark bookmarks their lines (17), Replace replaces in each unit and
// counts a unit with any replacement as one hit.
int FindInFiles(TVeProject& project, const TVeSearchRecord& search);

} // namespace ozra::ide
