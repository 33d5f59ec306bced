// Parsing and expanding replacement strings.
#include "libs/regex/substitute.h"

#include "libs/regex/pcre_engine.h"
#include "libs/regex/regex_error.h"

#include <limits>

namespace ozra::regex::engine {

namespace {

// Compiled once, on first use, and only read afterwards.
const TRegex& VariablePattern() {
    static const std::shared_ptr<const TRegex> pattern =
        TRegex::Compile(R"(\$(\d+|\$|&|`|''|\+|_|{([^}]*)}))", 0);
    return *pattern;
}

// Decimal digits read with saturation, so "$99999999999" is a bad group
// rather than a wrapped one.
int GroupNumber(std::string_view digits) {
    long long number = 0;
    for (const char digit : digits) {
        number = number * 10 + (digit - '0');
        if (number > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    }
    return static_cast<int>(number);
}

}  // namespace

TSubstitute::TSubstitute(std::string_view replacement) {
    if (replacement.find('$') == std::string_view::npos) {
        if (!replacement.empty()) pieces_.push_back({PieceKind::Literal, std::string(replacement)});
        return;
    }
    const SharedText text(replacement);
    const TRegex& pattern = VariablePattern();
    std::size_t copied = 0;
    for (auto match = pattern.Match(text); match->Success();
         pattern.MatchInto(*match, match->End(0))) {
        const auto start = static_cast<std::size_t>(match->Start(0));
        if (start > copied) {
            pieces_.push_back({PieceKind::Literal, std::string(replacement.substr(copied, start - copied))});
        }
        const std::string_view variable = match->Text(1);
        switch (variable.front()) {
        case '$': pieces_.push_back({PieceKind::Literal, "$"}); break;
        case '&': pieces_.push_back({PieceKind::Group, {}, 0}); break;
        case '\'': pieces_.push_back({PieceKind::After}); break;
        case '`': pieces_.push_back({PieceKind::Before}); break;
        case '+': pieces_.push_back({PieceKind::LastGroup}); break;
        case '_': pieces_.push_back({PieceKind::Subject}); break;
        case '{': pieces_.push_back({PieceKind::Named, std::string(match->Text(2))}); break;
        default: pieces_.push_back({PieceKind::Group, {}, GroupNumber(variable)}); break;
        }
        copied = static_cast<std::size_t>(match->End(0));
    }
    if (copied < replacement.size())
        pieces_.push_back({PieceKind::Literal, std::string(replacement.substr(copied))});
}

void TSubstitute::Expand(const TRegexMatch& match, std::string& out) const {
    for (const Piece& piece : pieces_) {
        switch (piece.Kind) {
        case PieceKind::Literal: out += piece.Text; break;
        case PieceKind::Group:
            if (piece.Group >= match.GroupCount())
                throw ERegexInvalidSubstitutionGroup(piece.Group);
            out += match.Text(piece.Group);
            break;
        case PieceKind::Named: {
            const std::optional<int> number = match.GroupNumber(piece.Text);
            if (!number) throw ERegexBadGroupName(piece.Text);
            out += match.Text(*number);
            break;
        }
        case PieceKind::Before: out += match.Text(-1); break;
        case PieceKind::After: out += match.Text(-2); break;
        case PieceKind::LastGroup: out += match.Text(match.GroupCount() - 1); break;
        case PieceKind::Subject: out += match.Subject().View(); break;
        }
    }
}

}  // namespace ozra::regex::engine
