// Match and Group objects: their methods and the "next match" and
// "unmatched value" rules as scripts see them.
#include "libs/match_lib.h"

#include "libs/text_lib_support.h"
#include "value/conversions.h"

#include <algorithm>

namespace ozra::libs {

using namespace text_support;

namespace {

void ReturnGroup(front::TtsExpression& value, Ref<regex::TGroupBase> group) {
    auto object = value::MakeRef<TObj_Impl_Group>(std::move(group));
    ReturnObject(value, object.Get());
}

} // namespace

void TtsLibMatch::Success(runtime::TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnBoolean(value, ReceiverAs<TObj_Impl_Match>(value)->Match->Success());
}

void TtsLibMatch::Value(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const Ref<TObj_Impl_Match> self = ReceiverAs<TObj_Impl_Match>(value);
    ReturnText(value, self->Match->Value());
}

void TtsLibMatch::GroupCount(runtime::TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnInteger(value, ReceiverAs<TObj_Impl_Match>(value)->Match->GroupCount());
}

void TtsLibMatch::Groups(runtime::TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const Ref<TObj_Impl_Match> self = ReceiverAs<TObj_Impl_Match>(value);
    const std::int64_t index = value::ToInt64(Argument(arguments, 0));
    const bool inRange = index >= 0 && index <= INT32_MAX;
    ReturnGroup(value, self->Match->SafeGroup(inRange ? static_cast<int>(index) : -1));
}

void TtsLibMatch::GroupByName(runtime::TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 1, 1);
    const Ref<TObj_Impl_Match> self = ReceiverAs<TObj_Impl_Match>(value);
    ReturnGroup(value, self->Match->GroupByName(value::ToText(Argument(arguments, 0))));
}

void TtsLibMatch::NextMatch(runtime::TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const Ref<TObj_Impl_Match> self = ReceiverAs<TObj_Impl_Match>(value);
    regex::TMatchBase& match = *self->Match;
    if (match.Success()) self->Position = match.Index() + match.Length() + 1;
    match.NextMatch();
    ReturnObject(value, self.Get());
}

void TtsLibMatch::UnmatchedValue(runtime::TtsResult& context, front::TtsExpression& value,
                                 const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const Ref<TObj_Impl_Match> self = ReceiverAs<TObj_Impl_Match>(value);
    const std::string_view subject = self->Subject.View();
    const auto from = static_cast<std::size_t>(
        std::min<std::int64_t>(self->Position - 1, static_cast<std::int64_t>(subject.size())));
    std::string_view unmatched = subject.substr(from);
    if (self->Match->Success()) {
        const auto before = static_cast<std::size_t>(
            std::max<std::int64_t>(self->Match->Index() - (self->Position - 1), 0));
        unmatched = unmatched.substr(0, before);
    }
    ReturnText(value, unmatched);
}

void TtsLibMatch::Abort(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReceiverAs<TObj_Impl_Match>(value)->Match->Aborted = true;
    value.SetValue(TtsValue());
}

void TtsLibGroup::Index(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnInteger(value, ReceiverAs<TObj_Impl_Group>(value)->Group->Index());
}

void TtsLibGroup::Length(runtime::TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnInteger(value, ReceiverAs<TObj_Impl_Group>(value)->Group->Length());
}

void TtsLibGroup::IsNull(runtime::TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    ReturnBoolean(value, ReceiverAs<TObj_Impl_Group>(value)->Group->IsNull());
}

void TtsLibGroup::Value(runtime::TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    CheckArguments(context, arguments, 0, 0);
    const Ref<TObj_Impl_Group> self = ReceiverAs<TObj_Impl_Group>(value);
    ReturnText(value, self->Group->Value());
}

TtsLibMatch::TtsLibMatch(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Match>(runtime::AccessAll);
    Publish<TtsLibMatch>({
        {"Success", &TtsLibMatch::Success},
        {"Value", &TtsLibMatch::Value},
        {"GroupCount", &TtsLibMatch::GroupCount},
        {"Groups", &TtsLibMatch::Groups},
        {"GroupByName", &TtsLibMatch::GroupByName},
        {"NextMatch", &TtsLibMatch::NextMatch},
        {"UnmatchedValue", &TtsLibMatch::UnmatchedValue},
        {"Abort", &TtsLibMatch::Abort},
    });
}

TtsLibGroup::TtsLibGroup(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Group>(runtime::AccessAll);
    Publish<TtsLibGroup>({
        {"Index", &TtsLibGroup::Index},
        {"Length", &TtsLibGroup::Length},
        {"IsNull", &TtsLibGroup::IsNull},
        {"Value", &TtsLibGroup::Value},
    });
}

} // namespace ozra::libs
