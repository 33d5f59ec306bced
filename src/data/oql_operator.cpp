// The operator registry, in creation order; the position of each entry is
// its id.
#include "data/oql_operator.h"

#include "data/schema_info.h"

#include <iterator>

namespace ozra::data {

namespace {

// Id, name, text, precedence, prefix, non-associative, parenthesize, no space.
constexpr TOqlOperator registry[] = {
    {TOqlOp::Zero, "Zero", "\r\n", 0, false, false, false, false},
    {TOqlOp::Function, "Function", "\r\n", 4, true, false, false, false},
    {TOqlOp::Dot, "Dot", ".", 8, false, false, false, true},
    {TOqlOp::Mul, "Mul", "*", 10, false, false, false, false},
    {TOqlOp::Div, "Div", "/", 10, false, true, false, false},
    {TOqlOp::Add, "Add", "+", 15, false, false, false, false},
    {TOqlOp::Sub, "Sub", "-", 15, true, true, false, false},
    {TOqlOp::Concat, "Concat", "+", 15, false, false, false, false},
    {TOqlOp::Equal, "Equal", "=", 20, false, false, false, false},
    {TOqlOp::NotEqual, "NotEqual", "<>", 20, false, false, false, false},
    {TOqlOp::Greater, "Greater", ">", 20, false, false, false, false},
    {TOqlOp::GreaterOrEqual, "GreaterOrEqual", ">=", 20, false, false, false, false},
    {TOqlOp::Lesser, "Lesser", "<", 20, false, false, false, false},
    {TOqlOp::LesserOrEqual, "LesserOrEqual", "<=", 20, false, false, false, false},
    {TOqlOp::EQ, "EQ", "=", 20, false, false, false, false},
    {TOqlOp::NE, "NE", "<>", 20, false, false, false, false},
    {TOqlOp::GT, "GT", ">", 20, false, false, false, false},
    {TOqlOp::GE, "GE", ">=", 20, false, false, false, false},
    {TOqlOp::LT, "LT", "<", 20, false, false, false, false},
    {TOqlOp::LE, "LE", "<=", 20, false, false, false, false},
    {TOqlOp::IsNull, "IsNull", "Is Null", 20, false, false, false, false},
    {TOqlOp::IsNotNull, "IsNotNull", "Is Not Null", 20, false, false, false, false},
    {TOqlOp::Like, "Like", "Like", 20, false, false, false, false},
    {TOqlOp::NotLike, "NotLike", "Not Like", 20, false, false, false, false},
    {TOqlOp::Escape, "Escape", "Escape", 20, false, false, false, false},
    {TOqlOp::Between, "Between", "Between", 20, false, false, false, false},
    {TOqlOp::NotBetween, "NotBetween", "Not Between", 20, false, false, false, false},
    {TOqlOp::BetweenAnd, "BetweenAnd", "And", 20, false, false, false, false},
    {TOqlOp::In, "In", "In", 20, false, false, false, false},
    {TOqlOp::NotIn, "NotIn", "Not In", 20, false, false, false, false},
    {TOqlOp::Exists, "Exists", "Exists", 20, true, false, false, false},
    {TOqlOp::Unique, "Unique", "Unique", 20, true, false, false, false},
    {TOqlOp::Not, "Not", "Not", 29, true, false, false, false},
    {TOqlOp::Criteria, "Criteria", " \r\n", 30, false, false, false, false},
    {TOqlOp::And, "And", "And\r\n", 30, false, false, false, false},
    {TOqlOp::Or, "Or", "Or\r\n", 31, false, false, false, false},
    {TOqlOp::Split, "Split", "\r\n", 40, false, false, false, false},
    {TOqlOp::As, "As", "As", 50, true, false, false, false},
    {TOqlOp::Desc, "Desc", "Desc", 50, true, false, false, false},
    {TOqlOp::On, "On", "\r\nOn", 50, true, false, false, false},
    {TOqlOp::Comma, "Comma", ",", 60, false, false, false, false},
    {TOqlOp::CommaNoLine, "CommaNoLine", ",", 60, false, false, false, false},
    {TOqlOp::CommaNewLine, "CommaNewLine", ",\r\n", 60, false, false, false, false},
    {TOqlOp::Select, "Select", "\r\nSelect", 70, true, false, false, false},
    {TOqlOp::From, "From", "\r\nFrom", 70, true, false, false, false},
    {TOqlOp::Join, "Join", "\r\nJoin", 69, true, false, false, false},
    {TOqlOp::InnerJoin, "InnerJoin", "\r\nInner Join", 69, true, false, false, false},
    {TOqlOp::LeftJoin, "LeftJoin", "\r\nLeft Join", 69, true, false, false, false},
    {TOqlOp::RightJoin, "RightJoin", "\r\nRight Join", 69, true, false, false, false},
    {TOqlOp::FullJoin, "FullJoin", "\r\nFull Join", 69, true, false, false, false},
    {TOqlOp::CrossJoin, "CrossJoin", "\r\nCross Join", 69, true, false, false, false},
    {TOqlOp::Where, "Where", "\r\nWhere", 70, true, false, false, false},
    {TOqlOp::GroupBy, "GroupBy", "\r\nGroup By", 70, true, false, false, false},
    {TOqlOp::Having, "Having", "\r\nHaving", 69, true, false, false, false},
    {TOqlOp::OrderBy, "OrderBy", "\r\nOrder By", 70, true, false, false, false},
    {TOqlOp::DeleteFrom, "DeleteFrom", "\r\nDelete From", 70, true, false, false, false},
    {TOqlOp::Update, "Update", "\r\nUpdate", 70, true, false, false, false},
    {TOqlOp::Set, "Set", "\r\nSet", 70, true, false, false, false},
    {TOqlOp::InsertInto, "InsertInto", "\r\nInsert Into", 70, true, false, false, false},
    {TOqlOp::Fields, "Fields", " \r\n", 70, true, false, true, false},
    {TOqlOp::Values, "Values", "\r\nValues\r\n", 70, true, false, true, false},
    {TOqlOp::Case, "Case", "\r\nCase", 70, true, false, false, false},
    {TOqlOp::When, "When", "\r\nWhen", 69, true, false, false, false},
    {TOqlOp::Then, "Then", "\r\nThen", 68, true, false, false, false},
    {TOqlOp::Else, "Else", "\r\nElse", 69, true, false, false, false},
    {TOqlOp::End, "End", "\r\nEnd", 70, true, false, false, false},
    {TOqlOp::Union, "Union", "\r\nUnion", 80, false, false, false, false},
    {TOqlOp::Semicolon, "Semicolon", ";\r\n", 90, false, false, false, false},
    {TOqlOp::None, "None", "", 99, false, false, false, false},
};

constexpr bool InIdOrder() {
    for (size_t i = 0; i < std::size(registry); ++i)
        if (static_cast<size_t>(registry[i].Id) != i) return false;
    return std::size(registry) == static_cast<size_t>(TOqlOp::None) + 1;
}
static_assert(InIdOrder(), "every operator sits at the position of its id");

} // namespace

const TOqlOperator& OqlOperator(TOqlOp id) {
    auto index = static_cast<size_t>(id);
    return registry[index < std::size(registry) ? index : static_cast<size_t>(TOqlOp::None)];
}

const TOqlOperator* FindOqlOperator(std::string_view name) {
    for (const TOqlOperator& op : registry)
        if (SameName(op.Name, name)) return &op;
    return nullptr;
}

} // namespace ozra::data
