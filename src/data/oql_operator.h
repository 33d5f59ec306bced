// The operators of the object query language: how an element is joined to
// the element before it, with the SQL text, precedence and layout flags of
// each. The registry is a constant table; operators are found by id or by
// name.
//
// Smaller precedence binds tighter. Flags: Prefix (the text is written
// before the element even when it opens its group), NonAssociative (an
// operand group of equal precedence needs parentheses), Parenthesize (the
// operands always go in parentheses), NoSpace (no spaces around the text).
// "\r\n" in a text marks a line break of formatted output.
#pragma once

#include <cstdint>
#include <string_view>

namespace ozra::data {

enum class TOqlOp : uint8_t {
    Zero,
    Function,
    Dot,
    Mul,
    Div,
    Add,
    Sub,
    Concat,
    Equal,
    NotEqual,
    Greater,
    GreaterOrEqual,
    Lesser,
    LesserOrEqual,
    EQ,
    NE,
    GT,
    GE,
    LT,
    LE,
    IsNull,
    IsNotNull,
    Like,
    NotLike,
    Escape,
    Between,
    NotBetween,
    BetweenAnd,
    In,
    NotIn,
    Exists,
    Unique,
    Not,
    Criteria,
    And,
    Or,
    Split,
    As,
    Desc,
    On,
    Comma,
    CommaNoLine,
    CommaNewLine,
    Select,
    From,
    Join,
    InnerJoin,
    LeftJoin,
    RightJoin,
    FullJoin,
    CrossJoin,
    Where,
    GroupBy,
    Having,
    OrderBy,
    DeleteFrom,
    Update,
    Set,
    InsertInto,
    Fields,
    Values,
    Case,
    When,
    Then,
    Else,
    End,
    Union,
    Semicolon,
    None,
};

struct TOqlOperator {
    TOqlOp Id;
    std::string_view Name;
    std::string_view Text;
    int Precedence;
    bool Prefix;
    bool NonAssociative;
    bool Parenthesize;
    bool NoSpace;

    // The comparison level: the operators that compare two or three
    // operands.
    bool IsComparison() const { return Precedence == 20; }
};

const TOqlOperator& OqlOperator(TOqlOp id);
// Case-insensitive; null when no operator has the name.
const TOqlOperator* FindOqlOperator(std::string_view name);

} // namespace ozra::data
