// Token kinds shared by the scanner and the parser.
//
// The scanner's rule table produces raw tokens (text runs, quotes, comment
// marks ...); its filter turns them into the parser tokens below, each with a
// value that covers exactly its source characters. The parser maps these
// kinds onto its grammar symbols, so neither side depends on the numbering of
// the other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::front {

enum class TokenKind : std::uint8_t {
    EndOfInput,
    Error,  // a run of operator characters that spells no operator

    Ident,
    Dotted,
    IntLit,
    FloatLit,
    HexLit,
    StrLit,

    // Statement keywords, in the order the token filter's recovery rule
    // relies on: If .. Call.
    If,
    Case,
    For,
    Foreach,
    Loop,
    Function,
    Class,
    File,
    Assign,
    Try,
    End,
    ElseIf,
    ElseCase,
    Else,
    Except,
    Finally,
    Exit,
    Skip,
    Using,
    Var,
    Ref,
    Call,

    // Other keywords.
    DivMod,
    In,
    Not,
    And,
    Or,
    Bool,
    Nil,
    Then,
    To,
    Step,
    Do,
    While,
    Until,

    // Operators and punctuation.
    Tilde,
    Plus,
    Minus,
    Slash,
    MulOp,
    Power,
    IncDec,
    ShiftOp,
    BitNot,
    Colon,
    Eq,
    Ne,
    RelOp,
    Bang,
    Amp,
    Bar,
    OrOr,
    AssignOp,
    ColonEq,
    Quest,
    QQ,
    LParen,
    RParen,
    LBracket,
    RBracket,
    LBrace,
    RBrace,
    Comma,
    Semi,
    Dot,

    // A reserved word ("as", "int", "return" ...): a keyword that no grammar
    // rule uses, so it can never be an identifier and is always a syntax
    // error where the parser meets it.
    Reserved,
};

constexpr bool IsStatementKeyword(TokenKind kind) {
    return kind >= TokenKind::If && kind <= TokenKind::Call;
}

// A parser token's value. `Position` is the 1-based offset of the first source
// character the token covers; a string literal covers its quotes.
struct Token {
    TokenKind Kind = TokenKind::EndOfInput;
    std::int32_t Position = 0;
    std::int32_t Length = 0;
    std::string Text;
};

std::string_view TokenKindName(TokenKind kind);

}  // namespace ozra::front
