// The `Text` global and Regex objects.
#include "libs/regex_lib.h"

#include "libs/match_lib.h"
#include "libs/text_lib_support.h"
#include "value/conversions.h"

namespace ozra::libs {

using namespace text_support;

regex::RegexOptions OptionsFromLetters(std::string_view letters) noexcept {
    using regex::RegexOption;
    struct Row {
        char Letter;
        RegexOption Option;
    };
    constexpr Row rows[] = {{'i', RegexOption::IgnoreCase},
                            {'m', RegexOption::MultiLine},
                            {'s', RegexOption::SingleLine},
                            {'x', RegexOption::IgnorePatternWhitespace}};
    regex::RegexOptions options = 0;
    for (const Row& row : rows) {
        if (letters.find(row.Letter) != std::string_view::npos) options |= OptionBit(row.Option);
    }
    return options;
}

void TtsLibText::Regex(runtime::TtsResult& context, front::TtsExpression& value,
                       const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 2, 2);
    const std::string pattern = value::ToText(Argument(arguments, 0));
    const regex::RegexOptions options = OptionsFromLetters(value::ToText(Argument(arguments, 1)));
    auto object = value::MakeRef<TObj_Impl_Regex>(regex::RegexClass.Create(pattern, "C", options));
    ReturnObject(value, object.Get());
}

void TtsLibRegex::Match(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const Ref<TObj_Impl_Regex> self = ReceiverAs<TObj_Impl_Regex>(value);
    const regex::SharedText subject(Argument(arguments, 0));
    auto match = value::MakeRef<TObj_Impl_Match>(self->Regex->Match(subject), subject);
    ReturnObject(value, match.Get());
}

TtsLibText::TtsLibText(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Text>(runtime::AccessAll);
    RegisterGlobal("Text", value::MakeRef<TSys_Impl_Text>().Get());
    Publish<TtsLibText>({
        {"Regex", &TtsLibText::Regex},
    });
}

TtsLibRegex::TtsLibRegex(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Regex>(runtime::AccessAll);
    Publish<TtsLibRegex>({
        {"Match", &TtsLibRegex::Match},
    });
}

} // namespace ozra::libs
