// Token delivery, error placement and the "=" output rule of one parse.
#include "front/parse_context.h"

#include <algorithm>
#include <array>

#include "front/grammar.hpp"
#include "value/errors.h"

namespace ozra::front {

namespace {

using Code = grammar::Grammar::token;

// Grammar codes of the token kinds, in the order of `TokenKind`.
constexpr std::array kGrammarCode = {
    Code::END_OF_INPUT, Code::BADOP,    Code::IDENT,    Code::DOTTED, Code::INTLIT, Code::FLOATLIT,
    Code::HEXLIT,       Code::STRLIT,   Code::IF,       Code::CASE,   Code::FOR,    Code::FOREACH,
    Code::LOOP,         Code::FUNCTION, Code::CLASS,    Code::FILE,   Code::ASSIGN, Code::TRY,
    Code::END,          Code::ELSEIF,   Code::ELSECASE, Code::ELSE,   Code::EXCEPT, Code::FINALLY,
    Code::EXIT,         Code::SKIP,     Code::USING,    Code::VAR,    Code::REF,    Code::CALL,
    Code::DIVMOD,       Code::IN,       Code::NOT,      Code::AND,    Code::OR,     Code::BOOL,
    Code::NIL,          Code::THEN,     Code::TO,       Code::STEP,   Code::DO,     Code::WHILE,
    Code::UNTIL,        Code::TILDE,    Code::PLUS,     Code::MINUS,  Code::SLASH,  Code::MULOP,
    Code::POWER,        Code::INCDEC,   Code::SHIFTOP,  Code::BITNOT, Code::COLON,  Code::EQ,
    Code::NE,           Code::RELOP,    Code::BANG,     Code::AMP,    Code::BAR,    Code::OROR,
    Code::ASSIGNOP,     Code::COLONEQ,  Code::QUEST,    Code::QQ,     Code::LPAREN, Code::RPAREN,
    Code::LBRACKET,     Code::RBRACKET, Code::LBRACE,   Code::RBRACE, Code::COMMA,  Code::SEMI,
    Code::DOT,
};
static_assert(kGrammarCode.size() == static_cast<std::size_t>(TokenKind::Dot) + 1,
              "every token kind needs a grammar code");

int GrammarCode(TokenKind kind) {
    auto index = static_cast<std::size_t>(kind);
    return index < kGrammarCode.size() ? kGrammarCode[index] : Code::BADOP;
}

ParseValue ValueOf(const Token& token) {
    ParseValue value;
    value.Position = token.Position;
    value.Length = token.Length;
    value.Text = token.Text;
    return value;
}

} // namespace

ParseContext::ParseContext(std::string_view text, ParserCallbacks& callbacks, TtsBuilder& builder)
    : callbacks_(callbacks), builder_(builder), scanner_(text, *this),
      textLength_(static_cast<std::int32_t>(text.size())) {}

int ParseContext::Lex(ParseValue& value, bool previousDiscarded, std::size_t stackDepth) {
    if (previousDiscarded && handBack_ == HandBack::None && IsStatementKeyword(lookahead_.Kind) &&
        lookahead_.Position != lastHandBackPosition_) {
        lastHandBackPosition_ = lookahead_.Position;
        handBackToken_ = lookahead_;
        handBack_ = HandBack::Semi;
    }
    if (handBack_ == HandBack::None) {
        lookahead_ = scanner_.NextToken();
    } else {
        lookahead_ = handBackToken_;
        if (handBack_ == HandBack::Semi) lookahead_.Kind = TokenKind::Semi;
        handBack_ = handBack_ == HandBack::Semi ? HandBack::Keyword : HandBack::None;
    }
    if (stackDepth > kStackLimit) {
        // Reported at the token that nests too deep, then the parse stops.
        const std::string kOverflow = "yyparse stack overflow";
        OnError(lookahead_.Position, lookahead_.Length, kOverflow);
        throw value::EtsException(kOverflow);
    }
    if (lookahead_.Kind == TokenKind::EndOfInput) {
        // The end stands on the last character, so that a statement left
        // incomplete there is reported where the text stops.
        lookahead_.Position = std::max(textLength_, 1);
        lookahead_.Length = textLength_ > 0 ? 1 : 0;
        lookahead_.Text.clear();
    }
    value = ValueOf(lookahead_);
    return GrammarCode(lookahead_.Kind);
}

namespace {

// The offending token as a message shows it: its own text where it has one
// that says what it is.
std::string Unexpected(const Token& token) {
    switch (token.Kind) {
    case TokenKind::EndOfInput:
        return "end of file";
    case TokenKind::StrLit:
        return "text";
    case TokenKind::Semi:
        return token.Text == ";" ? "\";\"" : "end of code block";
    default:
        return "\"" + token.Text + "\"";
    }
}

std::string ListOf(const std::vector<std::string>& names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " or " : ", ";
        list += names[i];
    }
    return list;
}

} // namespace

void ParseContext::SyntaxError(bool atStatementBoundary, const ParseValue& lastSymbol,
                               const std::vector<std::string>& expected) {
    errorMessage_ = "Syntax error, unexpected " + Unexpected(lookahead_);
    if (!expected.empty()) errorMessage_ += ", expected " + ListOf(expected);
    // Where a statement begins, the offending token itself is the error;
    // inside a statement the report starts at the last symbol read.
    if (atStatementBoundary || lookahead_.Kind == TokenKind::EndOfInput) {
        errorValue_ = ValueOf(lookahead_);
    } else {
        errorValue_ = ParseValue();
        errorValue_.Position = lastSymbol.Position;
        errorValue_.Length = lastSymbol.Length;
    }
}

void ParseContext::ErrorStatement(const ParseValue* semi) {
    if (errorValue_.Position == lastErrorPosition_) return;
    lastErrorPosition_ = errorValue_.Position;
    builder_.SyntaxErrorStatement(errorValue_, semi, errorMessage_);
}

bool ParseContext::HasBareEquality(const ParseValue& value) const {
    return value.Node && bareEquality_.count(value.Node.Get()) != 0;
}

ParseValue ParseContext::Binary(ParseValue& left, ParseValue& op, ParseValue& right) {
    bool bare = op.Text == "=" || HasBareEquality(left) || HasBareEquality(right);
    ParseValue result = builder_.BinaryOperator(left, op, right);
    if (bare) bareEquality_.insert(result.Node.Get());
    return result;
}

ParseValue ParseContext::Unary(ParseValue& op, ParseValue& operand) {
    bool bare = HasBareEquality(operand);
    ParseValue result = builder_.UnaryOperator(op, operand);
    if (bare) bareEquality_.insert(result.Node.Get());
    return result;
}

ParseValue ParseContext::Parenthesized(ParseValue& open, ParseValue& close, ParseValue& inner) {
    ParseValue result = builder_.Parenthesized(open, close, inner);
    bareEquality_.erase(result.Node.Get());
    return result;
}

// "= a = b" is refused: the "=" that starts an output statement does not
// chain with a comparison by "=". Parenthesize the comparison to output it.
ParseValue ParseContext::OutputWithEquals(ParseValue& equals, ParseValue& expression) {
    if (HasBareEquality(expression)) {
        if (callbacks_.OnError) {
            callbacks_.OnError(expression.Position, expression.Length,
                               "Syntax error, a comparison written after \"=\" needs parentheses");
        }
        ParseValue dropped;
        dropped.Position = equals.Position;
        dropped.Length = expression.Position + expression.Length - equals.Position;
        return dropped;
    }
    return builder_.OutputStatement(equals, expression, expression, false);
}

void ParseContext::AddText(std::int32_t position, std::int32_t length, std::string_view text) {
    builder_.AddText(position, length, text);
}

void ParseContext::OnError(std::int32_t position, std::int32_t length, const std::string& message) {
    if (callbacks_.OnError) callbacks_.OnError(position, length, message);
}

} // namespace ozra::front
