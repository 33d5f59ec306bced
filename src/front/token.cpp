// Names of the token kinds, for messages, dumps and tests.
#include "front/token.h"

namespace ozra::front {

std::string_view TokenKindName(TokenKind kind) {
    switch (kind) {
    case TokenKind::EndOfInput: return "EndOfInput";
    case TokenKind::Error: return "Error";
    case TokenKind::Ident: return "Ident";
    case TokenKind::Dotted: return "Dotted";
    case TokenKind::IntLit: return "IntLit";
    case TokenKind::FloatLit: return "FloatLit";
    case TokenKind::HexLit: return "HexLit";
    case TokenKind::StrLit: return "StrLit";
    case TokenKind::If: return "If";
    case TokenKind::Case: return "Case";
    case TokenKind::For: return "For";
    case TokenKind::Foreach: return "Foreach";
    case TokenKind::Loop: return "Loop";
    case TokenKind::Function: return "Function";
    case TokenKind::Class: return "Class";
    case TokenKind::File: return "File";
    case TokenKind::Assign: return "Assign";
    case TokenKind::Try: return "Try";
    case TokenKind::End: return "End";
    case TokenKind::ElseIf: return "ElseIf";
    case TokenKind::ElseCase: return "ElseCase";
    case TokenKind::Else: return "Else";
    case TokenKind::Except: return "Except";
    case TokenKind::Finally: return "Finally";
    case TokenKind::Exit: return "Exit";
    case TokenKind::Skip: return "Skip";
    case TokenKind::Using: return "Using";
    case TokenKind::Var: return "Var";
    case TokenKind::Ref: return "Ref";
    case TokenKind::Call: return "Call";
    case TokenKind::DivMod: return "DivMod";
    case TokenKind::In: return "In";
    case TokenKind::Not: return "Not";
    case TokenKind::And: return "And";
    case TokenKind::Or: return "Or";
    case TokenKind::Bool: return "Bool";
    case TokenKind::Nil: return "Nil";
    case TokenKind::Then: return "Then";
    case TokenKind::To: return "To";
    case TokenKind::Step: return "Step";
    case TokenKind::Do: return "Do";
    case TokenKind::While: return "While";
    case TokenKind::Until: return "Until";
    case TokenKind::Tilde: return "Tilde";
    case TokenKind::Plus: return "Plus";
    case TokenKind::Minus: return "Minus";
    case TokenKind::Slash: return "Slash";
    case TokenKind::MulOp: return "MulOp";
    case TokenKind::Power: return "Power";
    case TokenKind::IncDec: return "IncDec";
    case TokenKind::ShiftOp: return "ShiftOp";
    case TokenKind::BitNot: return "BitNot";
    case TokenKind::Colon: return "Colon";
    case TokenKind::Eq: return "Eq";
    case TokenKind::Ne: return "Ne";
    case TokenKind::RelOp: return "RelOp";
    case TokenKind::Bang: return "Bang";
    case TokenKind::Amp: return "Amp";
    case TokenKind::Bar: return "Bar";
    case TokenKind::OrOr: return "OrOr";
    case TokenKind::AssignOp: return "AssignOp";
    case TokenKind::ColonEq: return "ColonEq";
    case TokenKind::Quest: return "Quest";
    case TokenKind::QQ: return "QQ";
    case TokenKind::LParen: return "LParen";
    case TokenKind::RParen: return "RParen";
    case TokenKind::LBracket: return "LBracket";
    case TokenKind::RBracket: return "RBracket";
    case TokenKind::LBrace: return "LBrace";
    case TokenKind::RBrace: return "RBrace";
    case TokenKind::Comma: return "Comma";
    case TokenKind::Semi: return "Semi";
    case TokenKind::Dot: return "Dot";
    case TokenKind::Reserved: return "Reserved";
    }
    return "?";
}

}  // namespace ozra::front
