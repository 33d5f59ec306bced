// The script-visible regular expressions: the global object `Text`, whose
// `Regex` method makes Regex objects, and the Regex objects themselves,
// whose `Match` makes Match objects (match_lib.h).
#pragma once

#include "libs/regex/regex_base.h"
#include "runtime/lib_base.h"

namespace ozra::libs {

using value::Ref;

// The value of the global variable "Text"; no state.
class TSys_Impl_Text final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_Text"; }
};

class TObj_Impl_Regex final : public value::TtsObjectZero {
  public:
    explicit TObj_Impl_Regex(Ref<regex::TRegexBase> regex) noexcept : Regex(std::move(regex)) {}
    std::string_view ClassName() const override { return "TObj_Impl_Regex"; }

    const Ref<regex::TRegexBase> Regex;
};

// Option letters, case-sensitive: "i" IgnoreCase, "m" MultiLine,
// "s" SingleLine, "x" IgnorePatternWhitespace; others are ignored.
regex::RegexOptions OptionsFromLetters(std::string_view letters) noexcept;

class TtsLibText final : public runtime::TtsLibBase {
  public:
    explicit TtsLibText(runtime::TtsHost& host);

  private:
    void Regex(runtime::LibCall& call);
};

class TtsLibRegex final : public runtime::TtsLibBase {
  public:
    explicit TtsLibRegex(runtime::TtsHost& host);

  private:
    void Match(runtime::LibCall& call, TObj_Impl_Regex& self);
};

} // namespace ozra::libs
