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

  private:
    void Success(runtime::LibCall& call, TObj_Impl_Match& self);
    void Value(runtime::LibCall& call, TObj_Impl_Match& self);
    void GroupCount(runtime::LibCall& call, TObj_Impl_Match& self);
    void Groups(runtime::LibCall& call, TObj_Impl_Match& self);
    void GroupByName(runtime::LibCall& call, TObj_Impl_Match& self);
    void NextMatch(runtime::LibCall& call, TObj_Impl_Match& self);
    void UnmatchedValue(runtime::LibCall& call, TObj_Impl_Match& self);
    void Abort(runtime::LibCall& call, TObj_Impl_Match& self);
};

class TtsLibGroup final : public runtime::TtsLibBase {
  public:
    explicit TtsLibGroup(runtime::TtsHost& host);

  private:
    void Index(runtime::LibCall& call, TObj_Impl_Group& self);
    void Length(runtime::LibCall& call, TObj_Impl_Group& self);
    void IsNull(runtime::LibCall& call, TObj_Impl_Group& self);
    void Value(runtime::LibCall& call, TObj_Impl_Group& self);
};

} // namespace ozra::libs
