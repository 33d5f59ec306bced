// The spelling table of operator codes.
#include "front/operator_codes.h"

#include "value/operators.h"

#include <algorithm>
#include <array>

namespace ozra::front {

namespace {

namespace Code = value::OperatorCode;

struct Spelling {
    std::string_view text;
    char code;
};

constexpr std::array kSpellings{
    Spelling{"~", Code::Concat},
    Spelling{"+", Code::Add},
    Spelling{"-", Code::Subtract},
    Spelling{"*", Code::Multiply},
    Spelling{"/", Code::Divide},
    Spelling{"^", Code::Power},
    Spelling{"**", Code::Power},
    Spelling{"%", Code::Modulo},
    Spelling{"mod", Code::Modulo},
    Spelling{"/%", Code::IntDivide},
    Spelling{"div", Code::IntDivide},
    Spelling{"<<", Code::ShiftLeft},
    Spelling{">>", Code::ShiftRight},
    Spelling{"&^", Code::BitAnd},
    Spelling{"|^", Code::BitOr},
    Spelling{"^^", Code::BitXor},
    Spelling{"!^", Code::BitNot},
    Spelling{"=", Code::Equal},
    Spelling{"==", Code::Equal},
    Spelling{"<>", Code::NotEqual},
    Spelling{"!=", Code::NotEqual},
    Spelling{"<", Code::Less},
    Spelling{"<=", Code::LessOrEqual},
    Spelling{">", Code::Greater},
    Spelling{">=", Code::GreaterOrEqual},
    Spelling{"=?", Code::EqualQuery},
    Spelling{"!?", Code::BangQuery},
    Spelling{"=~", Code::EqualTilde},
    Spelling{"!~", Code::BangTilde},
    Spelling{"~~", Code::TildeTilde},
    Spelling{"in", Code::In},
    Spelling{"%%", Code::In},
    Spelling{"&", Code::And},
    Spelling{"&&", Code::And},
    Spelling{"and", Code::And},
    Spelling{"|", Code::Or},
    Spelling{"||", Code::Or},
    Spelling{"or", Code::Or},
    Spelling{"!", Code::Not},
    Spelling{"not", Code::Not},
};

} // namespace

char OperatorCode(std::string_view text) noexcept {
    const auto* found = std::find_if(kSpellings.begin(), kSpellings.end(),
                                     [text](const Spelling& s) { return s.text == text; });
    if (found != kSpellings.end()) return found->code;
    if (text.size() == 1) return text[0];
    if (text.size() == 2) {
        const char second = text[1];
        if (text[0] == second || second == '=' || second == '?' || second == '^' || second == '~')
            return text[0];
    }
    return 0;
}

char AssignCode(std::string_view text) noexcept {
    if (text.empty() || text[0] == ':' || text[0] == '=') return 0;
    return text[0];
}

} // namespace ozra::front
