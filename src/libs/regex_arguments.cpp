// Reading regex arguments by name or position.
#include "libs/regex_arguments.h"

#include "libs/regex_lib.h"
#include "runtime/lib_base.h"
#include "value/conversions.h"
#include "value/names.h"

namespace ozra::libs {

namespace {

using runtime::TtsLibBase;

struct OptionRec {
    std::string_view Name;
    regex::RegexOption Option;
};

// The named option flags.
constexpr OptionRec TtsRegexOptionRec[] = {
    {"IgnoreCase", regex::RegexOption::IgnoreCase},
    {"SingleLine", regex::RegexOption::SingleLine},
    {"IgnorePatternWhitespace", regex::RegexOption::IgnorePatternWhitespace},
    {"MultiLine", regex::RegexOption::MultiLine},
};

// The value of the argument at `position` when it carries no name.
const value::TtsValue* Unnamed(const front::TtsExpressions* arguments, int position) {
    if (position < 0 || !arguments || position >= arguments->Count()) return nullptr;
    const front::TtsExpression* argument = (*arguments)[position];
    if (!argument || !TtsLibBase::ArgName(*argument).empty()) return nullptr;
    return &argument->Value();
}

const value::TtsValue* Named(const front::TtsExpressions* arguments, std::string_view name) {
    const front::TtsExpression* argument = TtsLibBase::NamedArgument(arguments, name);
    return argument ? &argument->Value() : nullptr;
}

} // namespace

RegexArguments ReadRegexArguments(const front::TtsExpressions* arguments, int optionPosition,
                                  int localePosition) {
    RegexArguments result;
    const value::TtsValue* pattern = Named(arguments, "Pattern");
    result.Pattern = value::ToText(pattern ? *pattern : TtsLibBase::Argument(arguments, 0));

    for (const OptionRec& row : TtsRegexOptionRec) {
        const value::TtsValue* flag = Named(arguments, row.Name);
        if (flag && value::ToBoolean(*flag)) result.Options |= regex::OptionBit(row.Option);
    }
    if (result.Options == 0) {
        const value::TtsValue* letters = Named(arguments, "Option");
        if (!letters) letters = Unnamed(arguments, optionPosition);
        if (letters) result.Options = OptionsFromLetters(value::ToText(*letters));
    }

    const value::TtsValue* locale = Named(arguments, "Locale");
    if (!locale) locale = Unnamed(arguments, localePosition);
    if (locale) {
        std::string name = value::ToText(*locale);
        if (!name.empty()) result.Locale = std::move(name);
    }
    return result;
}

} // namespace ozra::libs
