// Raw match objects in script callbacks: abort and group values by index.
#include "libs/match_base_lib.h"

#include "libs/regex/regex_base.h"
#include "libs/text_lib_support.h"
#include "value/conversions.h"

namespace ozra::libs::raw {

using namespace text_support;

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
    ReturnText(out, group->Value());
}

void TtsLibMatch::Abort(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReceiverAs<regex::TMatchBase>(value)->Aborted = true;
    value.SetValue(TtsValue());
}

TtsLibMatch::TtsLibMatch(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<regex::TMatchBase>(runtime::AccessItem | runtime::AccessMethod);
    Publish<TtsLibMatch>({
        {"Abort", &TtsLibMatch::Abort},
    });
}

} // namespace ozra::libs::raw
