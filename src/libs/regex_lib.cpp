// The `Text` global and Regex objects.
#include "libs/regex_lib.h"

#include "libs/lib_support.h"
#include "libs/match_lib.h"
#include "value/conversions.h"

namespace ozra::libs {

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

void TtsLibText::Regex(LibCall& call) {
    const std::string pattern = call.Text(0);
    const regex::RegexOptions options = OptionsFromLetters(call.Text(1));
    auto object = value::MakeRef<TObj_Impl_Regex>(regex::RegexClass.Create(pattern, "C", options));
    call.ReturnObject(object.Get());
}

void TtsLibRegex::Match(LibCall& call, TObj_Impl_Regex& self) {
    const regex::SharedText subject(call.Argument(0));
    auto match = value::MakeRef<TObj_Impl_Match>(self.Regex->Match(subject), subject);
    call.ReturnObject(match.Get());
}

TtsLibText::TtsLibText(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Text>(runtime::AccessAll);
    RegisterGlobal("Text", value::MakeRef<TSys_Impl_Text>().Get());
    Publish({
        {"Regex", Method<&TtsLibText::Regex>, 2, 2},
    });
}

TtsLibRegex::TtsLibRegex(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Regex>(runtime::AccessAll);
    Publish({
        {"Match", Method<&TtsLibRegex::Match>, 1, 1},
    });
}

} // namespace ozra::libs
