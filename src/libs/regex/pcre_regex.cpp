// Regexes, matches and groups of the abstract layer on the PCRE2 engine.
#include "libs/regex/pcre_regex.h"

#include "libs/regex/regex_error.h"

#include <algorithm>

namespace ozra::regex {

const TRegexClass RegexClass{&TRegex::Create};

engine::CompileOptions EngineOptions(RegexOptions options) noexcept {
    using engine::CompileOption;
    struct Row {
        RegexOption From;
        CompileOption To;
    };
    constexpr Row rows[] = {
        {RegexOption::IgnoreCase, CompileOption::Caseless},
        {RegexOption::MultiLine, CompileOption::MultiLine},
        {RegexOption::SingleLine, CompileOption::DotAll},
        {RegexOption::IgnorePatternWhitespace, CompileOption::Extended},
    };
    engine::CompileOptions mapped = 0;
    for (const Row& row : rows) {
        if (options & OptionBit(row.From)) mapped |= engine::OptionBit(row.To);
    }
    return mapped;
}

Ref<TRegexBase> TRegex::Create(std::string_view pattern, std::string_view locale,
                               RegexOptions options) {
    return value::MakeRef<TRegex>(
        engine::TRegex::Compile(pattern, EngineOptions(options), locale.empty() ? "C" : locale));
}

Ref<TMatchBase> TRegex::Match(const SharedText& subject) {
    return value::MakeRef<TMatch>(engine_, subject);
}

std::string TRegex::Replace(const SharedText& subject, std::string_view replacement) {
    bool replacedAny = false;
    return engine_->Replace(subject, replacement, replacedAny);
}

bool TRegex::Replace(const SharedText& subject, std::string_view replacement, std::string& result) {
    bool replacedAny = false;
    result = engine_->Replace(subject, replacement, replacedAny);
    return replacedAny;
}

TMatch::TMatch(std::shared_ptr<const engine::TRegex> regex, const SharedText& subject)
    : regex_(std::move(regex)), current_(regex_->Match(subject)) {}

Ref<TGroupBase> TMatch::Groups(int index) {
    if (index < -2 || (index >= 0 && index >= std::max(GroupCount(), 1)))
        throw ERegexException("Invalid group index " + std::to_string(index));
    return value::MakeRef<TGroup>(engine::TRegexCaptureGroup(current_, index));
}

Ref<TGroupBase> TMatch::GroupByName(std::string_view name) {
    const std::optional<int> number = current_->GroupNumber(name);
    if (!number) return value::MakeRef<TEmptyGroup>();
    return value::MakeRef<TGroup>(engine::TRegexCaptureGroup(current_, *number));
}

TMatchBase& TMatch::NextMatch() {
    const std::int64_t index = current_->Start(0);
    const std::int64_t length = current_->Success() ? current_->End(0) - index : 0;
    start_ = std::max(index + std::max<std::int64_t>(length, 1), start_ + 1);
    if (current_.use_count() == 1) {
        regex_->MatchInto(*current_, start_);
    } else {
        current_ = regex_->MatchAt(current_->Subject(), start_);
    }
    return *this;
}

} // namespace ozra::regex
