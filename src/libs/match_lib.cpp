// Match and Group objects: their methods and the "next match" and
// "unmatched value" rules as scripts see them.
#include "libs/match_lib.h"

#include "libs/lib_support.h"
#include "value/conversions.h"

#include <algorithm>

namespace ozra::libs {

namespace {

void ReturnGroup(LibCall& call, Ref<regex::TGroupBase> group) {
    call.ReturnObject(value::MakeRef<TObj_Impl_Group>(std::move(group)).Get());
}

} // namespace

void TtsLibMatch::Success(LibCall& call, TObj_Impl_Match& self) {
    call.ReturnBoolean(self.Match->Success());
}

void TtsLibMatch::Value(LibCall& call, TObj_Impl_Match& self) {
    call.ReturnText(self.Match->Value());
}

void TtsLibMatch::GroupCount(LibCall& call, TObj_Impl_Match& self) {
    call.ReturnInteger(self.Match->GroupCount());
}

void TtsLibMatch::Groups(LibCall& call, TObj_Impl_Match& self) {
    const std::int64_t index = value::ToInt64(call.Argument(0));
    const bool inRange = index >= 0 && index <= INT32_MAX;
    ReturnGroup(call, self.Match->SafeGroup(inRange ? static_cast<int>(index) : -1));
}

void TtsLibMatch::GroupByName(LibCall& call, TObj_Impl_Match& self) {
    ReturnGroup(call, self.Match->GroupByName(call.Text(0)));
}

void TtsLibMatch::NextMatch(LibCall& call, TObj_Impl_Match& self) {
    regex::TMatchBase& match = *self.Match;
    if (match.Success()) self.Position = match.Index() + match.Length() + 1;
    match.NextMatch();
    call.ReturnObject(&self);
}

void TtsLibMatch::UnmatchedValue(LibCall& call, TObj_Impl_Match& self) {
    const std::string_view subject = self.Subject.View();
    const auto from = static_cast<std::size_t>(
        std::min<std::int64_t>(self.Position - 1, static_cast<std::int64_t>(subject.size())));
    std::string_view unmatched = subject.substr(from);
    if (self.Match->Success()) {
        const auto before = static_cast<std::size_t>(
            std::max<std::int64_t>(self.Match->Index() - (self.Position - 1), 0));
        unmatched = unmatched.substr(0, before);
    }
    call.ReturnText(unmatched);
}

void TtsLibMatch::Abort(LibCall&, TObj_Impl_Match& self) {
    self.Match->Aborted = true;
}

void TtsLibGroup::Index(LibCall& call, TObj_Impl_Group& self) {
    call.ReturnInteger(self.Group->Index());
}

void TtsLibGroup::Length(LibCall& call, TObj_Impl_Group& self) {
    call.ReturnInteger(self.Group->Length());
}

void TtsLibGroup::IsNull(LibCall& call, TObj_Impl_Group& self) {
    call.ReturnBoolean(self.Group->IsNull());
}

void TtsLibGroup::Value(LibCall& call, TObj_Impl_Group& self) {
    call.ReturnText(self.Group->Value());
}

TtsLibMatch::TtsLibMatch(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Match>(runtime::AccessAll);
    Publish({
        {"Success", Method<&TtsLibMatch::Success>, 0, 0},
        {"Value", Method<&TtsLibMatch::Value>, 0, 0},
        {"GroupCount", Method<&TtsLibMatch::GroupCount>, 0, 0},
        {"Groups", Method<&TtsLibMatch::Groups>, 1, 1},
        {"GroupByName", Method<&TtsLibMatch::GroupByName>, 1, 1},
        {"NextMatch", Method<&TtsLibMatch::NextMatch>, 0, 0},
        {"UnmatchedValue", Method<&TtsLibMatch::UnmatchedValue>, 0, 0},
        {"Abort", Method<&TtsLibMatch::Abort>, 0, 0},
    });
}

TtsLibGroup::TtsLibGroup(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Group>(runtime::AccessAll);
    Publish({
        {"Index", Method<&TtsLibGroup::Index>, 0, 0},
        {"Length", Method<&TtsLibGroup::Length>, 0, 0},
        {"IsNull", Method<&TtsLibGroup::IsNull>, 0, 0},
        {"Value", Method<&TtsLibGroup::Value>, 0, 0},
    });
}

} // namespace ozra::libs
