// Raw match objects in script callbacks: abort and group values by index.
#include "libs/match_base_lib.h"

#include "libs/lib_support.h"
#include "libs/regex/regex_base.h"
#include "value/conversions.h"

namespace ozra::libs::raw {

void TtsLibMatch::GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult&,
                          const value::TtsValue& index) {
    auto* match = dynamic_cast<regex::TMatchBase*>(object);
    if (!match) throw value::EtsRuntime::ParameterError();
    const Ref<regex::TMatchBase> keep = Ref<regex::TMatchBase>::Retain(match);
    Ref<regex::TGroupBase> group;
    if (value::TtsValueHelper::IsIntLike(index)) {
        const std::int64_t number = value::ToInt64(index);
        group =
            match->SafeGroup(number >= 0 && number <= INT32_MAX ? static_cast<int>(number) : -1);
    } else {
        group = match->GroupByName(value::ToText(index));
    }
    out.SetValue(TtsValue::FromText(group->Value()));
}

void TtsLibMatch::Abort(LibCall&, regex::TMatchBase& match) {
    match.Aborted = true;
}

TtsLibMatch::TtsLibMatch(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<regex::TMatchBase>(runtime::AccessItem | runtime::AccessMethod);
    Publish({
        {"Abort", Method<&TtsLibMatch::Abort>, 0, 0},
    });
}

} // namespace ozra::libs::raw
