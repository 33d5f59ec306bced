// The string library's regex methods. Each makes a fresh regex from its
// arguments (regex_arguments.h) and releases it when done, also on failure;
// loops over matches stop at the first failed match or when a callback has
// aborted the match.
#include "libs/string_lib.h"

#include "libs/lib_support.h"
#include "libs/match_lib.h"
#include "libs/regex_arguments.h"
#include "runtime/evaluator.h"
#include "value/conversions.h"

#include <algorithm>

namespace ozra::libs {

using front::TtsExpressions;
using runtime::TtsResult;
using value::EtsRuntime;

namespace {

regex::SharedText Subject(const LibCall& call) {
    return regex::SharedText(call.Receiver());
}

bool Continues(const regex::TMatchBase& match) {
    return match.Success() && !match.Aborted;
}

front::TtsFunctionNode& FindFunction(TtsResult& context, const std::string& name) {
    value::TtsObject* found = context.CurrentNode ? context.CurrentNode->FindNode(name) : nullptr;
    auto* function = front::NodeCast<front::TtsFunctionNode>(found);
    if (!function || function->Kind != front::NodeKind::FunctionNode)
        throw EtsRuntime::FunctionNotFound(name);
    return *function;
}

// The callback's four arguments, named and refilled for every match.
class CallbackArguments {
  public:
    CallbackArguments() {
        for (const char* name : {"Index", "Length", "Value", "Match"}) {
            auto argument = value::MakeRef<front::TtsConst>(nullptr);
            argument->Name = name;
            list_.Add(std::move(argument));
        }
    }

    const TtsExpressions& For(regex::TMatchBase& match) {
        list_[0]->OwnValue = TtsValue::FromInteger(match.Index());
        list_[1]->OwnValue = TtsValue::FromInteger(match.Length());
        list_[2]->OwnValue = TtsValue::FromText(match.Value());
        list_[3]->OwnValue = TtsValue::FromCountedObject(&match);
        return list_;
    }

  private:
    TtsExpressions list_;
};

} // namespace

void TtsLibString::RegexIsMatch(LibCall& call) {
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(call.Arguments(), 1, 2).Create();
    call.ReturnBoolean(regex->Match(Subject(call))->Success());
}

void TtsLibString::RegexMatch(LibCall& call) {
    const regex::SharedText subject = Subject(call);
    if (front::TtsSet* set = AsSet(call.Argument(0))) {
        const Ref<regex::TRegexBase> regex = ReadRegexArguments(&set->Elements, 1, 2).Create();
        auto match = value::MakeRef<TObj_Impl_Match>(regex->Match(subject), subject);
        call.ReturnObject(match.Get());
        return;
    }
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(call.Arguments(), 2, 3).Create();
    const TtsValue* named = call.Named("Function");
    const std::string name = value::ToText(named ? *named : call.Argument(1));
    front::TtsFunctionNode& function = FindFunction(call.Context, name);
    const Ref<regex::TMatchBase> match = regex->Match(subject);
    CallbackArguments callback;
    std::string result;
    for (; Continues(*match); match->NextMatch()) {
        TtsValue returned;
        runtime::CallFunction(function, call.Context, &callback.For(*match), returned);
        result += value::ToText(returned);
    }
    call.ReturnText(result);
}

void TtsLibString::RegexMatchs(LibCall& call) {
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(call.Arguments(), 1, 2).Create();
    TextSet values;
    for (const Ref<regex::TMatchBase> match = regex->Match(Subject(call)); Continues(*match);
         match->NextMatch())
        values.Add(match->Value());
    values.Return(call);
}

void TtsLibString::RegexReplace(LibCall& call) {
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(call.Arguments(), 2, 3).Create();
    const TtsValue* named = call.Named("Replace");
    const std::string replacement = value::ToText(named ? *named : call.Argument(1));
    call.ReturnText(regex->Replace(Subject(call), replacement));
}

void TtsLibString::RegexSplit(LibCall& call) {
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(call.Arguments(), 1, 2).Create();
    const regex::SharedText subject = Subject(call);
    const std::string_view text = subject.View();
    TextSet pieces;
    std::size_t from = 0;
    for (const Ref<regex::TMatchBase> match = regex->Match(subject); Continues(*match);
         match->NextMatch()) {
        const auto index = static_cast<std::size_t>(match->Index());
        pieces.Add(text.substr(from, index > from ? index - from : 0));
        from = std::max(from, index + static_cast<std::size_t>(match->Length()));
    }
    pieces.Add(text.substr(std::min(from, text.size())));
    pieces.Return(call);
}

} // namespace ozra::libs
