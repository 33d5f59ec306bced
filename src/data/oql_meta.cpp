// Building query trees by operator precedence.
#include "data/oql_meta.h"

#include "data/oql_sql_builder.h"

namespace ozra::data {

namespace {

std::vector<int> PathOf(const TOqlElement& element) {
    std::vector<int> path;
    for (const TOqlElement* at = &element; at->Parent(); at = at->Parent())
        path.insert(path.begin(), at->IndexInParent());
    return path;
}

TOqlElement* Follow(TOqlElement& root, const std::vector<int>& path) {
    TOqlElement* at = &root;
    for (int index : path)
        at = at->Children()[index].get();
    return at;
}

int PrecedenceOf(TOqlOp op) {
    return OqlOperator(op).Precedence;
}

} // namespace

std::unique_ptr<TOqlElement> TOqlOperand::MakeElement(TOqlOp op, bool tested) const {
    if (field_) {
        if (tested) return std::make_unique<TConditionElement>(*field_, false, op);
        return std::make_unique<TFieldInfoElement>(*field_, false, op);
    }
    if (dataField_) return std::make_unique<TScalarElement>(*dataField_, op);
    return std::make_unique<TStringValueElement>(value_, op);
}

TOqlMeta::TOqlMeta(TOqlOp rootOperator)
    : root_(std::make_unique<TOqlElement>(rootOperator)), current_(root_.get()) {}

TOqlMeta::TOqlMeta(const TOqlMeta& other)
    : root_(other.root_->Clone()), current_(Follow(*root_, PathOf(*other.current_))) {}

TOqlMeta& TOqlMeta::operator=(const TOqlMeta& other) {
    if (this != &other) {
        root_ = other.root_->Clone();
        current_ = Follow(*root_, PathOf(*other.current_));
    }
    return *this;
}

TSqlStatement TOqlMeta::ToSql(const TSqlBuilder* builder, bool format) const {
    return TOqlSqlBuilder(builder, format).Render(*root_);
}

std::unique_ptr<TOqlElement> TOqlMeta::CloneRoot(TOqlOp op) const {
    std::unique_ptr<TOqlElement> copy = root_->Clone();
    copy->SetOperator(op);
    return copy;
}

void TOqlMeta::Append(TOqlOp op, std::unique_ptr<TOqlElement> element) {
    element->SetOperator(op);
    if (current_ == root_.get() && !root_->HasChildren()) {
        current_ = &root_->AddChild(std::move(element));
        return;
    }
    const int precedence = PrecedenceOf(op);
    TOqlElement* at = current_;
    while (precedence > at->Operator().Precedence && at->Parent())
        at = at->Parent();
    if (precedence >= at->Operator().Precedence)
        AddSibling(*at, op, std::move(element));
    else
        Group(*at, std::move(element));
}

void TOqlMeta::AddSibling(TOqlElement& current, TOqlOp op, std::unique_ptr<TOqlElement> element) {
    if (!current.Parent()) {
        auto top = std::make_unique<TOqlElement>(TOqlOp::None);
        top->AddChild(std::move(root_));
        root_ = std::move(top);
    }
    TOqlElement& parent = *current.Parent();
    int index = current.IndexInParent();
    if (index == 0 && op == TOqlOp::Comma) current.SetOperator(TOqlOp::CommaNewLine);
    current_ = &parent.InsertChild(index + 1, std::move(element));
}

void TOqlMeta::Group(TOqlElement& current, std::unique_ptr<TOqlElement> element) {
    auto group = std::make_unique<TOqlElement>(current.Operator().Id);
    TOqlElement& made = *group;
    std::unique_ptr<TOqlElement> moved;
    if (current.Parent()) {
        moved = current.Parent()->ReplaceChild(current, std::move(group));
    } else {
        moved = std::move(root_);
        root_ = std::move(group);
    }
    moved->SetOperator(TOqlOp::None);
    made.AddChild(std::move(moved));
    current_ = &made.AddChild(std::move(element));
}

TQueryCondition& TQueryCondition::And(const TQueryCondition& other) {
    Append(TOqlOp::And, other.CloneRoot(TOqlOp::And));
    return *this;
}

TQueryCondition& TQueryCondition::Or(const TQueryCondition& other) {
    Append(TOqlOp::Or, other.CloneRoot(TOqlOp::Or));
    return *this;
}

TQueryCondition TQueryCondition::Not(const TQueryCondition& condition) {
    TQueryCondition negated;
    auto group = std::make_unique<TOqlElement>(TOqlOp::Not);
    group->AddChild(condition.CloneRoot(TOqlOp::None));
    negated.Append(TOqlOp::Not, std::move(group));
    return negated;
}

TQueryCondition TQueryCondition::Group(const TQueryCondition& condition) {
    TQueryCondition grouped;
    grouped.Append(TOqlOp::Criteria, condition.CloneRoot(TOqlOp::Criteria));
    return grouped;
}

TScalarTester::TScalarTester(const TOqlOperand& subject) : TOqlMeta(TOqlOp::Split) {
    Append(TOqlOp::Criteria, subject.MakeElement(TOqlOp::Criteria, true));
}

TScalarTester& TScalarTester::Arithmetic(TOqlOp op, const TOqlOperand& operand) {
    Append(op, operand.MakeElement(op, false));
    return *this;
}

TQueryCondition TScalarTester::Finish(TOqlOp op, std::unique_ptr<TOqlElement> element) const {
    TQueryCondition condition;
    static_cast<TOqlMeta&>(condition) = static_cast<const TOqlMeta&>(*this);
    condition.Append(op, std::move(element));
    return condition;
}

TQueryCondition TScalarTester::Compare(TOqlOp op, const TOqlOperand& value) const {
    return Finish(op, value.MakeElement(op, false));
}

TQueryCondition TScalarTester::IsNull() const {
    return Finish(TOqlOp::IsNull, std::make_unique<TEmptyElement>());
}

TQueryCondition TScalarTester::IsNotNull() const {
    return Finish(TOqlOp::IsNotNull, std::make_unique<TEmptyElement>());
}

TQueryCondition TScalarTester::Between(const TOqlOperand& low, const TOqlOperand& high) const {
    TQueryCondition condition = Compare(TOqlOp::Between, low);
    condition.Append(TOqlOp::BetweenAnd, high.MakeElement(TOqlOp::BetweenAnd, false));
    return condition;
}

TQueryCondition TScalarTester::NotBetween(const TOqlOperand& low, const TOqlOperand& high) const {
    TQueryCondition condition = Compare(TOqlOp::NotBetween, low);
    condition.Append(TOqlOp::BetweenAnd, high.MakeElement(TOqlOp::BetweenAnd, false));
    return condition;
}

TQueryCondition TScalarTester::In(std::vector<value::TtsValue> items) const {
    return Finish(TOqlOp::In, std::make_unique<TVectorElement>(std::move(items)));
}

TQueryCondition TScalarTester::NotIn(std::vector<value::TtsValue> items) const {
    return Finish(TOqlOp::NotIn, std::make_unique<TVectorElement>(std::move(items)));
}

TOrderBy::TOrderBy(const TOqlOperand& term) : TOqlMeta(TOqlOp::OrderBy) {
    Append(TOqlOp::Comma, term.MakeElement(TOqlOp::Comma, false));
}

TOrderBy& TOrderBy::ThenBy(const TOqlOperand& term) {
    Append(TOqlOp::Comma, term.MakeElement(TOqlOp::Comma, false));
    return *this;
}

TOrderBy& TOrderBy::Desc() {
    if (current_->Operator().Id != TOqlOp::Desc)
        Append(TOqlOp::Desc, std::make_unique<TEmptyElement>());
    return *this;
}

TOrderBy& TOrderBy::Arithmetic(TOqlOp op, const TOqlOperand& operand) {
    Append(op, operand.MakeElement(op, false));
    return *this;
}

TQueryCondition TOQL::Condition(const TFieldInfo& field, value::TtsValue value) {
    return TScalarTester(field).Compare(TOqlOp::EQ, std::move(value));
}

} // namespace ozra::data
