// Match and Group objects as scripts hold them.
//
// A Match object owns its own `TMatchBase` (which shares the compiled
// pattern and the subject), so it stays valid whatever happens to the Regex
// object or to other matches. It also keeps a 1-based position just after
// the previous match, which `UnmatchedValue` reads. A Group object owns its
// group, which keeps the match data it reads alive.
#pragma once

#include "libs/regex/regex_base.h"
#include "runtime/lib_base.h"

namespace ozra::libs {

using value::Ref;

class TObj_Impl_Match final : public value::TtsObjectZero {
  public:
    TObj_Impl_Match(Ref<regex::TMatchBase> match, regex::SharedText subject) noexcept
        : Match(std::move(match)), Subject(std::move(subject)) {}
    std::string_view ClassName() const override { return "TObj_Impl_Match"; }

    const Ref<regex::TMatchBase> Match;
    const regex::SharedText Subject;
    // 1-based position just after the previous match.
    std::int64_t Position = 1;
};

class TObj_Impl_Group final : public value::TtsObjectZero {
  public:
    explicit TObj_Impl_Group(Ref<regex::TGroupBase> group) noexcept : Group(std::move(group)) {}
    std::string_view ClassName() const override { return "TObj_Impl_Group"; }

    const Ref<regex::TGroupBase> Group;
};

class TtsLibMatch final : public runtime::TtsLibBase {
  public:
    explicit TtsLibMatch(runtime::TtsHost& host);

    void Success(runtime::TtsResult& context, front::TtsExpression& value,
                 const front::TtsExpressions* arguments);
    void Value(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void GroupCount(runtime::TtsResult& context, front::TtsExpression& value,
                    const front::TtsExpressions* arguments);
    void Groups(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void GroupByName(runtime::TtsResult& context, front::TtsExpression& value,
                     const front::TtsExpressions* arguments);
    void NextMatch(runtime::TtsResult& context, front::TtsExpression& value,
                   const front::TtsExpressions* arguments);
    void UnmatchedValue(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments);
    void Abort(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
};

class TtsLibGroup final : public runtime::TtsLibBase {
  public:
    explicit TtsLibGroup(runtime::TtsHost& host);

    void Index(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
    void Length(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void IsNull(runtime::TtsResult& context, front::TtsExpression& value,
                const front::TtsExpressions* arguments);
    void Value(runtime::TtsResult& context, front::TtsExpression& value,
               const front::TtsExpressions* arguments);
};

} // namespace ozra::libs
