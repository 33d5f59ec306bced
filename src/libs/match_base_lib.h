// The library of raw match objects: the `TMatchBase` that the string
// library's `RegexMatch` hands to a script callback. A callback may stop
// the loop with «m.Abort()» and read groups by number or name with «m[x]».
//
// It bears the same name as the Match-object library of match_lib.h and
// lives in its own namespace to keep the two apart.
#pragma once

#include "libs/regex/regex_base.h"
#include "runtime/lib_base.h"

namespace ozra::libs::raw {

class TtsLibMatch final : public runtime::TtsLibBase {
  public:
    explicit TtsLibMatch(runtime::TtsHost& host);

    // «m[x]»: a group's value; an integer (or integer text) is a group
    // number through the safe access, anything else a name ("" unknown).
    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;

  private:
    void Abort(runtime::LibCall& call, regex::TMatchBase& match);
};

} // namespace ozra::libs::raw
