// The parts of the abstract regex layer that do not depend on the engine.
#include "libs/regex/regex_base.h"

namespace ozra::regex {

Ref<TGroupBase> TMatchBase::SafeGroup(int index) noexcept {
    if (index >= 0 && index < GroupCount()) {
        try {
            return Groups(index);
        } catch (...) {
            // The empty group stands for any group that cannot be read.
        }
    }
    return value::MakeRef<TEmptyGroup>();
}

std::string TRegexBase::EscapeLiteral(std::string_view text, bool wholeWord) {
    std::string pattern = wholeWord ? "\\b" : "";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
            (c >= 'A' && c <= 'Z')) {
            pattern += c;
        } else if (code >= 0x21 && code <= 0x7E) {
            pattern += '\\';
            pattern += c;
        } else if (c == '\r') {
            pattern += "\\r";
        } else if (c == '\n') {
            pattern += "\\n";
        } else if (c == '\t') {
            pattern += "\\t";
        }
    }
    if (wholeWord) pattern += "\\b";
    return pattern;
}

std::string TRegexBase::EscapeReplacement(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        escaped += c;
        if (c == '$') escaped += '$';
    }
    return escaped;
}

} // namespace ozra::regex
