// Messages of the regular-expression errors and the translation of engine
// result codes.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "libs/regex/regex_error.h"

#include <pcre2.h>

namespace ozra::regex {

EBadRegexLocale::EBadRegexLocale(std::string_view locale, int category)
    : ERegexException("Invalid locale string " + std::string(locale) +
                      " or invalid locale category " + std::to_string(category)) {}

ERegexInvalidSubstitutionGroup::ERegexInvalidSubstitutionGroup(int group)
    : ERegexException("Invalid substitution variable $" + std::to_string(group)) {}

ERegexBadGroupName::ERegexBadGroupName(std::string_view name)
    : ERegexException("Invalid group name '" + std::string(name) + "'") {}

std::string EngineErrorText(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (length < 0) return "unknown error " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

namespace {

const char* NamedCode(int code) {
    if (code <= PCRE2_ERROR_UTF8_ERR1 && code >= PCRE2_ERROR_UTF8_ERR21)
        return "PCRE_ERROR_BADUTF8";
    switch (code) {
    case PCRE2_ERROR_NOMATCH: return "PCRE_ERROR_NOMATCH";
    case PCRE2_ERROR_NULL: return "PCRE_ERROR_NULL";
    case PCRE2_ERROR_BADOPTION: return "PCRE_ERROR_BADOPTION";
    case PCRE2_ERROR_BADMAGIC: return "PCRE_ERROR_BADMAGIC";
    case PCRE2_ERROR_NOMEMORY: return "PCRE_ERROR_NOMEMORY";
    case PCRE2_ERROR_NOSUBSTRING: return "PCRE_ERROR_NOSUBSTRING";
    case PCRE2_ERROR_BADUTFOFFSET: return "PCRE_ERROR_BADUTF8_OFFSET";
    case PCRE2_ERROR_PARTIAL: return "PCRE_ERROR_PARTIAL";
    case PCRE2_ERROR_INTERNAL: return "PCRE_ERROR_INTERNAL";
    case PCRE2_ERROR_DFA_UITEM: return "PCRE_ERROR_DFA_UITEM";
    case PCRE2_ERROR_DFA_UCOND: return "PCRE_ERROR_DFA_UCOND";
    case PCRE2_ERROR_DFA_WSSIZE: return "PCRE_ERROR_DFA_WSSIZE";
    case PCRE2_ERROR_DFA_RECURSE: return "PCRE_ERROR_DFA_RECURSE";
    default: return nullptr;
    }
}

bool IsBudgetCode(int code) {
    return code == PCRE2_ERROR_MATCHLIMIT || code == PCRE2_ERROR_DEPTHLIMIT ||
           code == PCRE2_ERROR_HEAPLIMIT || code == PCRE2_ERROR_JIT_STACKLIMIT;
}

}  // namespace

void RaiseEngineError(int code, std::string_view pattern) {
    if (IsBudgetCode(code)) {
        throw ERegexException("Pattern '" + std::string(pattern) +
                              "' is too costly to match: " + EngineErrorText(code));
    }
    if (const char* name = NamedCode(code)) throw ERegexException(name);
    throw ERegexException("RE" + std::to_string(code) + ":" + std::string(pattern.substr(0, 8)));
}

}  // namespace ozra::regex
