// How the string library's regex methods read their pattern, options and
// locale, by name or by position.
//
//   - Pattern: the argument named "Pattern", else argument 0.
//   - Options: every named flag "IgnoreCase", "SingleLine",
//     "IgnorePatternWhitespace", "MultiLine" whose value is true; when no
//     flag added anything, the letters of the argument named "Option", else
//     of the unnamed argument at the method's option position.
//   - Locale: the argument named "Locale", else the unnamed argument at the
//     method's locale position; "C" when absent or empty.
//
// A named argument at the option or locale position is never read as the
// option letters or the locale: «IgnoreCase = false» adds no option at all
// (its text "False" would otherwise switch on single-line mode by its "s").
// A set value given to `RegexMatch` supplies the same three items from its
// elements, with positions 0, 1 and 2.
#pragma once

#include "front/syntax_tree.h"
#include "libs/regex/regex_base.h"

#include <string>

namespace ozra::libs {

using value::Ref;

struct RegexArguments {
    std::string Pattern;
    regex::RegexOptions Options = 0;
    std::string Locale = "C";

    Ref<regex::TRegexBase> Create() const {
        return regex::RegexClass.Create(Pattern, Locale, Options);
    }
};

// From evaluated call arguments; a position of -1 does not exist.
RegexArguments ReadRegexArguments(const front::TtsExpressions* arguments, int optionPosition,
                                  int localePosition);

} // namespace ozra::libs
