// The errors of the regular-expression binding.
//
// They derive from the runtime's `EtsRuntime`, so a failing pattern, a bad
// substitution variable or a pattern that exhausts its match budget reaches
// a script as an ordinary run-time error carrying the message unchanged.
#pragma once

#include "value/errors.h"

#include <string>
#include <string_view>

namespace ozra::regex {

class ERegexException : public value::EtsRuntime {
  public:
    using EtsRuntime::EtsRuntime;
};

// "Invalid locale string %s or invalid locale category %d"
class EBadRegexLocale : public ERegexException {
  public:
    EBadRegexLocale(std::string_view locale, int category);
};

// "Invalid substitution variable $%d"
class ERegexInvalidSubstitutionGroup : public ERegexException {
  public:
    explicit ERegexInvalidSubstitutionGroup(int group);
};

// "Invalid group name '%s'"
class ERegexBadGroupName : public ERegexException {
  public:
    explicit ERegexBadGroupName(std::string_view name);
};

// Raises the error for a negative engine result other than "no match".
// Codes of the old engine's table keep their names; a match or depth
// budget running out names the pattern, so a run that would otherwise hang
// says which expression was too costly.
[[noreturn]] void RaiseEngineError(int code, std::string_view pattern);

// The engine's own text for an error code.
std::string EngineErrorText(int code);

} // namespace ozra::regex
