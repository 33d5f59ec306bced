// The host block: system variables, the library registry and the dispatch
// of operations on values that the evaluator cannot perform itself, and the
// template and target file rules.
#include "runtime/host.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "runtime/result.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/names.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <typeinfo>

namespace ozra::runtime {

using namespace value;

namespace {

// Days since 1899-12-30 of a civil date (proleptic Gregorian).
double DaysSince18991230(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long daysSince1970 = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    return static_cast<double>(daysSince1970 + 25569);
}

Ref<front::TtsVariable> NamedVariable(Ref<front::TtsVariable> variable, std::string_view name) {
    variable->Name = std::string(name);
    return variable;
}

} // namespace

void UpdateSystemVariable(front::TtsVariable& variable) {
    timespec now{};
    if (variable.Kind == front::NodeKind::SysTick) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                        static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
        variable.SetValue(TtsValue::FromUInt32(static_cast<std::uint32_t>(ms)));
    } else if (variable.Kind == front::NodeKind::SysNow) {
        clock_gettime(CLOCK_REALTIME, &now);
        std::tm local{};
        localtime_r(&now.tv_sec, &local);
        const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                               static_cast<double>(now.tv_nsec / 1000000) / 1000.0;
        variable.SetValue(TtsValue::FromDate(
            DaysSince18991230(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
            seconds / 86400.0));
    }
}

TtsHost::TtsHost() : TtsBlock(front::NodeKind::Host, nullptr) {
    Names.Add("String", NamedVariable(MakeRef<front::TtsVariable>(this), "String"));
    Names.Add("TickCount", NamedVariable(MakeRef<TtsSysTick>(this), "TickCount"));
    Names.Add("Now", NamedVariable(MakeRef<TtsSysNow>(this), "Now"));
    defaultLibrary_ = MakeRef<TtsLibBase>(*this);
}

TtsHost::~TtsHost() {
    choices_.clear();
    defaultLibrary_.Reset();
    automationLibrary_.Reset();
    registry_.clear();
}

void TtsHost::Register(ClassTest serves, std::uint8_t access, TtsLibBase& library) {
    registry_.push_back({serves, access, Ref<TtsLibBase>::Retain(&library)});
    choices_.clear();
}

void TtsHost::SetDefaultLibrary(TtsLibBase& library) {
    defaultLibrary_ = Ref<TtsLibBase>::Retain(&library);
    choices_.clear();
}

void TtsHost::SetAutomationLibrary(TtsLibBase& library) {
    automationLibrary_ = Ref<TtsLibBase>::Retain(&library);
}

std::vector<const TtsLibBase*> TtsHost::Libraries() const {
    std::vector<const TtsLibBase*> libraries;
    auto add = [&](const TtsLibBase* library) {
        if (library && std::find(libraries.begin(), libraries.end(), library) == libraries.end())
            libraries.push_back(library);
    };
    for (const RegistryEntry& entry : registry_)
        add(entry.Library.Get());
    add(defaultLibrary_.Get());
    add(automationLibrary_.Get());
    return libraries;
}

TtsLibBase& TtsHost::DefaultLibrary() {
    return *defaultLibrary_;
}

TtsLibBase& TtsHost::LibraryFor(TtsObject* object, std::uint8_t access) {
    if (!object) return DefaultLibrary();
    ChoiceCache& cache = choices_[std::type_index(typeid(*object))];
    TtsLibBase*& chosen = cache.ByAccess[access & AccessAll];
    if (!chosen) {
        chosen = defaultLibrary_.Get();
        for (const RegistryEntry& entry : registry_) {
            if ((entry.Access & access) && entry.Serves(*object)) {
                chosen = entry.Library.Get();
                break;
            }
        }
    }
    return *chosen;
}

TtsLibBase& TtsHost::LibraryFor(const TtsValue& value, std::uint8_t access) {
    if (value.Kind() == ValueKind::Automation && automationLibrary_) return *automationLibrary_;
    return LibraryFor(value.Object(), access);
}

void TtsHost::GetObjectItem(TtsObject& object, const TtsValue& index, TtsValue& out,
                            TtsResult& context) {
    TtsLibBase& library = LibraryFor(&object, AccessItem);
    TtsHostValue temporary(TtsValue::FromObject(&object));
    library.GetItem(temporary, &object, context, index);
    out = temporary.Value();
}

void TtsHost::GetValueItem(const TtsValue& value, TtsValue& out, TtsResult& context,
                           const TtsValue& index) {
    TtsHostValue temporary(value);
    TtsLibBase& library = LibraryFor(temporary.Value(), AccessItem);
    library.GetItem(temporary, temporary.Value().Object(), context, index);
    out = temporary.Value();
}

void TtsHost::CallMethod(front::TtsExpression& value, std::string_view name, TtsResult& context,
                         const front::TtsExpressions* arguments) {
    LibraryFor(value.Value(), AccessMethod)
        .Invoke(value, name, DispatchKind::Method, context, arguments);
}

front::TtsBlock* TtsHost::FindLibrary(std::string_view name) noexcept {
    return NamesEqual(name, "System") ? this : nullptr;
}

void TtsHost::GetProperty(front::TtsExpression& value, std::string_view name, bool& address,
                          TtsResult& context) {
    TtsLibBase& library = LibraryFor(value.Value(), AccessProperty);
    library.GetProperty(value, value.Value().Object(), address, context, name);
}

void TtsHost::SetObjectItem(TtsObject& object, const TtsValue& index, const TtsValue& value,
                            TtsResult& context) {
    LibraryFor(&object, AccessItem).SetItem(&object, index, value, context);
}

void TtsHost::SetValueItem(front::TtsExpression& expression, const TtsValue& index,
                           const TtsValue& value, TtsResult& context) {
    TtsHostValue temporary(expression.Value());
    SetProperty(temporary, ToText(index), value, context);
}

void TtsHost::SetProperty(front::TtsExpression& expression, std::string_view name,
                          const TtsValue& value, TtsResult& context) {
    TtsLibBase& library = LibraryFor(expression.Value(), AccessProperty);
    library.SetPropertyEntry(expression, expression.Value().Object(), value, context, name);
}

void TtsHost::SetVariable(std::string_view name, const TtsValue& value) {
    if (auto* existing = front::NodeCast<front::TtsExpression>(Names.Find(name))) {
        existing->SetValue(value);
        return;
    }
    Ref<front::TtsVariable> variable = NamedVariable(MakeRef<front::TtsGcVariable>(this), name);
    variable->SetValue(value);
    Names.Add(name, std::move(variable));
}

const TtsValue& TtsHost::Variable(std::string_view name) const noexcept {
    if (const auto* variable = front::NodeCast<front::TtsExpression>(Names.Find(name)))
        return variable->Value();
    return EmptyValue;
}

std::string TtsHost::ResolvePath(std::string_view path, std::string_view name) {
    const std::string resolved = platform::CheckedPath(name);
    if (path.empty() || platform::IsAbsolutePath(resolved)) return resolved;
    return platform::WithTrailingSlash(platform::CheckedPath(path)) + resolved;
}

std::string TtsHost::ReadTemplateFile(std::string_view name) {
    return platform::ReadWholeFile(ResolvePath(ToText(Variable("TemplatePath")), name));
}

void TtsHost::WriteTargetFile(std::string_view text, std::string_view name, bool overwrite) {
    const std::string path = ResolvePath(ToText(Variable("TargetPath")), name);
    if (!overwrite && platform::FileExists(path)) return;
    platform::CreateFolderOf(path);
    platform::ReplaceWholeFile(path, text);
}

} // namespace ozra::runtime
