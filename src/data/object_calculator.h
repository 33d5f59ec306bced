// Evaluating queries on data objects in memory, so a set can be filtered and
// sorted without a database, selecting and ordering what the SQL of the same
// query would.
//
// TObjectCalculator turns an operand into a result: a field gives its text
// with its type's category (no result when null), a constant its text with
// the Constant category, and a group of several operands 64-bit integer
// arithmetic, left to right. Only arithmetic operators may occur in an
// operand.
//
// TObjectMatcher decides a condition with SQL's three-valued logic: a
// comparison with a missing operand is unknown, Not of unknown is unknown,
// And and Or follow Kleene's tables, and only a true condition selects an
// object (so "not (x = 1)" does not select an object whose x is null, as in
// SQL). Two operands compare by the category of the non-constant one:
// numbers as 64-bit integers, text byte by byte, truth values as truth
// values, dates as dates, binary byte by byte; two different non-constant
// categories never compare.
//
// TObjectComparer orders objects by the terms of an order expression, each
// ascending or descending; a missing result sorts first.
#pragma once

#include "data/data_object.h"
#include "data/data_type.h"
#include "data/oql_meta.h"
#include "value/value.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ozra::data {

struct TCalcResult {
    std::string Text;
    TValueCategory Category;
    value::TtsValue Value;
};

class TObjectCalculator {
  public:
    // The message raised for an operand with an operator other than Zero,
    // Mul, Div, Add, Sub, Split and None.
    explicit TObjectCalculator(std::string message) : message_(std::move(message)) {}

    // Raises the message when the operand (below its own joining operator)
    // uses an operator it cannot evaluate.
    void Check(const TOqlElement& operand) const;
    std::optional<TCalcResult> Evaluate(const TOqlElement& operand, TDataObject& object) const;

  private:
    std::string message_;
};

// -1, 0 or 1; nullopt when the two results do not compare.
std::optional<int> CompareResults(const TCalcResult& left, const TCalcResult& right);

class TObjectMatcher {
  public:
    // Raises "Invalid Condition Expression." for a tree it cannot evaluate.
    explicit TObjectMatcher(const TOqlMeta& condition);

    bool Matches(TDataObject& object) const;

  private:
    enum class Truth { False, True, Unknown };

    void Check(const TOqlElement& element) const;
    Truth Evaluate(const TOqlElement& element, TDataObject& object) const;
    Truth Compare(const TOqlElement& group, TDataObject& object) const;

    std::unique_ptr<TOqlElement> root_;
    TObjectCalculator calculator_;
};

class TObjectComparer {
  public:
    // Raises "Invalid OrderBy Expression." for a tree it cannot evaluate.
    explicit TObjectComparer(const TOqlMeta& order);

    // The typed sort key of one term: absent, or a number, truth value, date
    // (as a double) or text.
    using TermKey = std::optional<std::variant<int64_t, bool, double, std::string>>;
    using Key = std::vector<TermKey>;

    // Evaluates every term for an object; may raise, so sorting can build
    // all keys before it moves anything.
    Key MakeKey(TDataObject& object) const;
    int CompareKeys(const Key& a, const Key& b) const;
    int Compare(TDataObject& a, TDataObject& b) const {
        return CompareKeys(MakeKey(a), MakeKey(b));
    }

  private:
    struct Term {
        const TOqlElement* expression;
        bool descending;
    };

    std::unique_ptr<TOqlElement> root_;
    std::vector<Term> terms_;
    TObjectCalculator calculator_;
};

} // namespace ozra::data
