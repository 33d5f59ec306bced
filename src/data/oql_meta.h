// Building object queries. A query is not parsed from text: it is built
// through calls that append elements to a tree, each joined by an operator,
// and the operators' precedences decide the shape of the tree:
//
//   - an operator of the same precedence as the current element's adds a
//     sibling;
//   - a tighter one replaces the current element by a group of the current
//     element and the new one;
//   - a looser one climbs to the first ancestor that binds at least as
//     loosely, and adds there.
//
// So TOQL::Test(a).Add(1).Greater(5) is (a + 1) > 5, and x.Or(y).And(z) is
// x OR (y AND z), as in SQL; TOQL::Group keeps a condition together.
//
// TScalarTester holds an operand being built and offers the comparisons;
// a comparison yields a TQueryCondition, which offers And and Or. TOrderBy
// holds order terms, each ascending or, after Desc, descending. Every meta
// renders as SQL (TOqlSqlBuilder) and evaluates in memory (matcher and
// comparer, object_calculator.h).
#pragma once

#include "data/oql_element.h"
#include "data/sql_param.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class TSqlBuilder;
class TQueryCondition;

// An operand: a field, a constant, or the field of one data object.
class TOqlOperand {
  public:
    TOqlOperand(const TFieldInfo& field) : field_(&field) {}
    TOqlOperand(TDataField& field) : dataField_(&field) {}
    TOqlOperand(value::TtsValue value) : value_(std::move(value)) {}
    TOqlOperand(int value) : value_(value::TtsValue::FromInt32(value)) {}
    TOqlOperand(int64_t value) : value_(value::TtsValue::FromInt64(value)) {}
    TOqlOperand(double value) : value_(value::TtsValue::FromDouble(value)) {}
    TOqlOperand(bool value) : value_(value::TtsValue::FromBoolean(value)) {}
    TOqlOperand(const char* text) : value_(value::TtsValue::FromText(text)) {}
    TOqlOperand(std::string_view text) : value_(value::TtsValue::FromText(text)) {}
    TOqlOperand(const std::string& text) : value_(value::TtsValue::FromText(text)) {}

    // The element for the operand; a field tested by a condition becomes a
    // condition element.
    std::unique_ptr<TOqlElement> MakeElement(TOqlOp op, bool tested) const;

  private:
    const TFieldInfo* field_ = nullptr;
    TDataField* dataField_ = nullptr;
    value::TtsValue value_;
};

class TOqlMeta {
  public:
    explicit TOqlMeta(TOqlOp rootOperator);
    TOqlMeta(const TOqlMeta& other);
    TOqlMeta& operator=(const TOqlMeta& other);
    TOqlMeta(TOqlMeta&&) noexcept = default;
    TOqlMeta& operator=(TOqlMeta&&) noexcept = default;
    virtual ~TOqlMeta() = default;

    const TOqlElement& Root() const { return *root_; }
    const TOqlElement& Current() const { return *current_; }

    // The query as SQL; leaves are rendered by the given builder, or by the
    // default one (table-qualified double-quoted names).
    TSqlStatement ToSql(const TSqlBuilder* builder = nullptr, bool format = false) const;

  protected:
    // Appends an element joined by an operator, by the precedence rules.
    void Append(TOqlOp op, std::unique_ptr<TOqlElement> element);
    // The whole tree as one element joined by the given operator.
    std::unique_ptr<TOqlElement> CloneRoot(TOqlOp op) const;

    std::unique_ptr<TOqlElement> root_;
    TOqlElement* current_;

  private:
    void AddSibling(TOqlElement& current, TOqlOp op, std::unique_ptr<TOqlElement> element);
    void Group(TOqlElement& current, std::unique_ptr<TOqlElement> element);
};

class TQueryCondition : public TOqlMeta {
  public:
    // Both must hold; by precedence And binds tighter than Or.
    TQueryCondition& And(const TQueryCondition& other);
    TQueryCondition& Or(const TQueryCondition& other);

    static TQueryCondition Not(const TQueryCondition& condition);
    // The condition as one operand of what follows.
    static TQueryCondition Group(const TQueryCondition& condition);

  private:
    friend class TScalarTester;
    TQueryCondition() : TOqlMeta(TOqlOp::Split) {}
};

class TScalarTester : public TOqlMeta {
  public:
    explicit TScalarTester(const TOqlOperand& subject);

    TScalarTester& Add(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Add, operand); }
    TScalarTester& Sub(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Sub, operand); }
    TScalarTester& Mul(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Mul, operand); }
    TScalarTester& Div(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Div, operand); }
    TScalarTester& Concat(const TOqlOperand& operand) {
        return Arithmetic(TOqlOp::Concat, operand);
    }

    TQueryCondition Equal(const TOqlOperand& value) const { return Compare(TOqlOp::Equal, value); }
    TQueryCondition NotEqual(const TOqlOperand& value) const {
        return Compare(TOqlOp::NotEqual, value);
    }
    TQueryCondition Greater(const TOqlOperand& value) const {
        return Compare(TOqlOp::Greater, value);
    }
    TQueryCondition GreaterOrEqual(const TOqlOperand& value) const {
        return Compare(TOqlOp::GreaterOrEqual, value);
    }
    TQueryCondition Lesser(const TOqlOperand& value) const {
        return Compare(TOqlOp::Lesser, value);
    }
    TQueryCondition LesserOrEqual(const TOqlOperand& value) const {
        return Compare(TOqlOp::LesserOrEqual, value);
    }
    TQueryCondition Like(const TOqlOperand& pattern) const {
        return Compare(TOqlOp::Like, pattern);
    }
    TQueryCondition NotLike(const TOqlOperand& pattern) const {
        return Compare(TOqlOp::NotLike, pattern);
    }
    TQueryCondition IsNull() const;
    TQueryCondition IsNotNull() const;
    TQueryCondition Between(const TOqlOperand& low, const TOqlOperand& high) const;
    TQueryCondition NotBetween(const TOqlOperand& low, const TOqlOperand& high) const;
    TQueryCondition In(std::vector<value::TtsValue> items) const;
    TQueryCondition NotIn(std::vector<value::TtsValue> items) const;
    // Any comparison operator with one value.
    TQueryCondition Compare(TOqlOp op, const TOqlOperand& value) const;

  private:
    TScalarTester& Arithmetic(TOqlOp op, const TOqlOperand& operand);
    TQueryCondition Finish(TOqlOp op, std::unique_ptr<TOqlElement> element) const;
};

class TOrderBy : public TOqlMeta {
  public:
    explicit TOrderBy(const TOqlOperand& term);

    TOrderBy& ThenBy(const TOqlOperand& term);
    // The last term sorts descending.
    TOrderBy& Desc();

    TOrderBy& Add(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Add, operand); }
    TOrderBy& Sub(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Sub, operand); }
    TOrderBy& Mul(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Mul, operand); }
    TOrderBy& Div(const TOqlOperand& operand) { return Arithmetic(TOqlOp::Div, operand); }

  private:
    TOrderBy& Arithmetic(TOqlOp op, const TOqlOperand& operand);
};

// Entry points for building queries.
struct TOQL {
    // Ascending by a field.
    static TOrderBy OrderBy(const TFieldInfo& field) { return TOrderBy(field); }
    // field = value.
    static TQueryCondition Condition(const TFieldInfo& field, value::TtsValue value);
    // An operand to compare.
    static TScalarTester Test(const TOqlOperand& subject) { return TScalarTester(subject); }
    static TQueryCondition Not(const TQueryCondition& condition) {
        return TQueryCondition::Not(condition);
    }
    static TQueryCondition Group(const TQueryCondition& condition) {
        return TQueryCondition::Group(condition);
    }
};

} // namespace ozra::data
