// The string library's regex methods. Each makes a fresh regex from its
// arguments (regex_arguments.h) and releases it when done, also on failure;
// loops over matches stop at the first failed match or when a callback has
// aborted the match.
#include "libs/string_lib.h"

#include "libs/match_lib.h"
#include "libs/regex_arguments.h"
#include "libs/text_lib_support.h"
#include "runtime/evaluator.h"
#include "value/conversions.h"

#include <algorithm>

namespace ozra::libs {

using namespace text_support;

using front::TtsExpression;
using front::TtsExpressions;
using runtime::TtsResult;
using value::EtsRuntime;

namespace {

regex::SharedText Subject(const TtsExpression& value) {
    return regex::SharedText(value.Value());
}

// A new set value whose elements are the texts, in order.
class TextSet {
  public:
    void Add(std::string_view text) {
        auto element = value::MakeRef<front::TtsConst>(nullptr);
        element->OwnValue = TtsValue::FromText(text);
        elements_.Add(std::move(element));
    }

    void Return(TtsExpression& value) {
        auto set = value::MakeRef<front::TtsSet>(nullptr);
        set->SetUp(std::move(elements_));
        ReturnObject(value, set.Get());
    }

  private:
    TtsExpressions elements_;
};

bool Continues(const regex::TMatchBase& match) {
    return match.Success() && !match.Aborted;
}

front::TtsSet* AsSet(const TtsValue& value) {
    return front::NodeCast<front::TtsSet>(dynamic_cast<front::TtsNode*>(value.Object()));
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

void TtsLibString::RegexIsMatch(TtsResult& context, TtsExpression& value,
                                const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(arguments, 1, 2).Create();
    ReturnBoolean(value, regex->Match(Subject(value))->Success());
}

void TtsLibString::RegexMatch(TtsResult& context, TtsExpression& value,
                              const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    const regex::SharedText subject = Subject(value);
    if (front::TtsSet* set = AsSet(Argument(arguments, 0))) {
        const Ref<regex::TRegexBase> regex = ReadRegexArguments(&set->Elements, 1, 2).Create();
        auto match = value::MakeRef<TObj_Impl_Match>(regex->Match(subject), subject);
        ReturnObject(value, match.Get());
        return;
    }
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(arguments, 2, 3).Create();
    const TtsExpression* named = NamedArgument(arguments, "Function");
    const std::string name = value::ToText(named ? named->Value() : Argument(arguments, 1));
    front::TtsFunctionNode& function = FindFunction(context, name);
    const Ref<regex::TMatchBase> match = regex->Match(subject);
    CallbackArguments callback;
    std::string result;
    for (; Continues(*match); match->NextMatch()) {
        TtsValue returned;
        runtime::CallFunction(function, context, &callback.For(*match), returned);
        result += value::ToText(returned);
    }
    ReturnText(value, result);
}

void TtsLibString::RegexMatchs(TtsResult& context, TtsExpression& value,
                               const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(arguments, 1, 2).Create();
    TextSet values;
    for (const Ref<regex::TMatchBase> match = regex->Match(Subject(value)); Continues(*match);
         match->NextMatch())
        values.Add(match->Value());
    values.Return(value);
}

void TtsLibString::RegexReplace(TtsResult& context, TtsExpression& value,
                                const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 2);
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(arguments, 2, 3).Create();
    const TtsExpression* named = NamedArgument(arguments, "Replace");
    const std::string replacement = value::ToText(named ? named->Value() : Argument(arguments, 1));
    ReturnText(value, regex->Replace(Subject(value), replacement));
}

void TtsLibString::RegexSplit(TtsResult& context, TtsExpression& value,
                              const TtsExpressions* arguments) {
    CheckArguments(context, arguments, Unlimited, 1);
    const Ref<regex::TRegexBase> regex = ReadRegexArguments(arguments, 1, 2).Create();
    const regex::SharedText subject = Subject(value);
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
    pieces.Return(value);
}

} // namespace ozra::libs
