// In-memory evaluation of query trees on data objects.
#include "data/object_calculator.h"

#include "data/data_error.h"
#include "data/field_value.h"
#include "data/variant_array.h"

#include <charconv>

namespace ozra::data {

using value::TtsValue;

namespace {

std::optional<int64_t> TryParseInt64(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int64_t ParseInt64(std::string_view text) {
    if (auto value = TryParseInt64(text)) return *value;
    throw EDataError("'" + std::string(text) + "' is not a valid integer value");
}

template <class T> int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool IsArithmetic(TOqlOp op) {
    switch (op) {
    case TOqlOp::Zero:
    case TOqlOp::Mul:
    case TOqlOp::Div:
    case TOqlOp::Add:
    case TOqlOp::Sub:
    case TOqlOp::Split:
    case TOqlOp::None:
        return true;
    default:
        return false;
    }
}

bool IsConditionOperator(TOqlOp op) {
    if (IsArithmetic(op)) return true;
    if (op >= TOqlOp::Equal && op <= TOqlOp::LE) return true;
    switch (op) {
    case TOqlOp::IsNull:
    case TOqlOp::IsNotNull:
    case TOqlOp::Between:
    case TOqlOp::NotBetween:
    case TOqlOp::BetweenAnd:
    case TOqlOp::Not:
    case TOqlOp::Criteria:
    case TOqlOp::And:
    case TOqlOp::Or:
        return true;
    default:
        return false;
    }
}

bool IsOrderOperator(TOqlOp op) {
    switch (op) {
    case TOqlOp::Desc:
    case TOqlOp::Comma:
    case TOqlOp::CommaNewLine:
    case TOqlOp::OrderBy:
        return true;
    default:
        return IsArithmetic(op);
    }
}

bool IsComparisonGroup(const TOqlElement& element) {
    const auto& children = element.Children();
    return (children.size() == 2 || children.size() == 3) && children[1]->Operator().IsComparison();
}

int64_t Combine(TOqlOp op, int64_t left, int64_t right) {
    int64_t result = left;
    bool overflow = false;
    switch (op) {
    case TOqlOp::Mul:
        overflow = __builtin_mul_overflow(left, right, &result);
        break;
    case TOqlOp::Div:
        if (right == 0) throw value::EtsRuntime::DivisionByZero();
        overflow = left == INT64_MIN && right == -1;
        result = overflow ? 0 : left / right;
        break;
    case TOqlOp::Add:
        overflow = __builtin_add_overflow(left, right, &result);
        break;
    case TOqlOp::Sub:
        overflow = __builtin_sub_overflow(left, right, &result);
        break;
    default:
        break;
    }
    if (overflow) throw EDataError("Integer overflow");
    return result;
}

std::optional<TCalcResult> FieldResult(TDataField& field) {
    TtsValue value = field.GetValue();
    if (IsNullValue(value)) return std::nullopt;
    TDataType type = field.FieldInfo().DataType();
    return TCalcResult{ValueAsString(value, type), CategoryOf(type), std::move(value)};
}

} // namespace

void TObjectCalculator::Check(const TOqlElement& operand) const {
    auto kind = operand.ElementKind();
    if (kind == TOqlElement::Kind::Table || kind == TOqlElement::Kind::Vector)
        throw EDataError(message_);
    for (const auto& child : operand.Children()) {
        if (!IsArithmetic(child->Operator().Id)) throw EDataError(message_);
        Check(*child);
    }
}

std::optional<TCalcResult> TObjectCalculator::Evaluate(const TOqlElement& operand,
                                                       TDataObject& object) const {
    switch (operand.ElementKind()) {
    case TOqlElement::Kind::FieldInfo:
    case TOqlElement::Kind::Condition:
        return FieldResult(object.Field(static_cast<const TFieldInfoElement&>(operand).Field()));
    case TOqlElement::Kind::Scalar:
        return FieldResult(static_cast<const TScalarElement&>(operand).Field());
    case TOqlElement::Kind::String: {
        const std::string& text = static_cast<const TStringElement&>(operand).Text();
        return TCalcResult{text, TValueCategory::Constant, TtsValue::FromText(text)};
    }
    case TOqlElement::Kind::StringValue: {
        const TtsValue& value = static_cast<const TStringValueElement&>(operand).Value();
        if (IsNullValue(value)) return std::nullopt;
        return TCalcResult{DataText(value), TValueCategory::Constant, value};
    }
    case TOqlElement::Kind::Empty:
        return std::nullopt;
    case TOqlElement::Kind::Table:
    case TOqlElement::Kind::Vector:
        throw EDataError(message_);
    case TOqlElement::Kind::Group:
        break;
    }
    const auto& children = operand.Children();
    if (children.empty()) return std::nullopt;
    if (children.size() == 1) return Evaluate(*children[0], object);
    int64_t total = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        std::optional<TCalcResult> part = Evaluate(*children[i], object);
        if (!part) return std::nullopt;
        int64_t value = ParseInt64(part->Text);
        TOqlOp op = children[i]->Operator().Id;
        if (i == 0)
            total = op == TOqlOp::Sub ? Combine(TOqlOp::Sub, 0, value) : value;
        else
            total = Combine(op, total, value);
    }
    return TCalcResult{std::to_string(total), TValueCategory::Numeric,
                       TtsValue::FromInteger(total)};
}

std::optional<int> CompareResults(const TCalcResult& left, const TCalcResult& right) {
    const auto constant = TValueCategory::Constant;
    if (left.Category != constant && right.Category != constant && left.Category != right.Category)
        return std::nullopt;
    TValueCategory category = left.Category != constant ? left.Category : right.Category;
    switch (category) {
    case TValueCategory::Numeric:
        return Order(ParseInt64(left.Text), ParseInt64(right.Text));
    case TValueCategory::Boolean:
        return Order(ValueAsBoolean(left.Value), ValueAsBoolean(right.Value));
    case TValueCategory::Date:
        return Order(ValueAsDateTime(left.Value), ValueAsDateTime(right.Value));
    case TValueCategory::Constant: {
        auto a = TryParseInt64(left.Text), b = TryParseInt64(right.Text);
        if (a && b) return Order(*a, *b);
        return Order(left.Text, right.Text);
    }
    case TValueCategory::Text:
    case TValueCategory::Binary:
        break;
    }
    return Order(left.Text, right.Text);
}

TObjectMatcher::TObjectMatcher(const TOqlMeta& condition)
    : root_(condition.Root().Clone()), calculator_("Invalid Condition Expression.") {
    Check(*root_);
}

void TObjectMatcher::Check(const TOqlElement& element) const {
    if (!IsConditionOperator(element.Operator().Id))
        throw EDataError("Invalid Condition Expression.");
    if (IsComparisonGroup(element)) {
        for (const auto& operand : element.Children()) {
            if (!IsConditionOperator(operand->Operator().Id))
                throw EDataError("Invalid Condition Expression.");
            calculator_.Check(*operand);
        }
        return;
    }
    if (element.ElementKind() != TOqlElement::Kind::Group)
        throw EDataError("Invalid Condition Expression.");
    for (const auto& child : element.Children())
        Check(*child);
}

bool TObjectMatcher::Matches(TDataObject& object) const {
    return Evaluate(*root_, object) == Truth::True;
}

TObjectMatcher::Truth TObjectMatcher::Evaluate(const TOqlElement& element,
                                               TDataObject& object) const {
    Truth truth = Truth::True;
    if (IsComparisonGroup(element)) {
        truth = Compare(element, object);
    } else {
        const auto& children = element.Children();
        for (size_t i = 0; i < children.size(); ++i) {
            Truth next = Evaluate(*children[i], object);
            TOqlOp op = children[i]->Operator().Id;
            if (i == 0) {
                truth = next;
            } else if (op == TOqlOp::And) {
                if (truth == Truth::False || next == Truth::False)
                    truth = Truth::False;
                else if (truth == Truth::Unknown || next == Truth::Unknown)
                    truth = Truth::Unknown;
            } else if (op == TOqlOp::Or) {
                if (truth == Truth::True || next == Truth::True)
                    truth = Truth::True;
                else if (truth == Truth::Unknown || next == Truth::Unknown)
                    truth = Truth::Unknown;
            }
        }
    }
    if (element.Operator().Id == TOqlOp::Not && truth != Truth::Unknown)
        truth = truth == Truth::True ? Truth::False : Truth::True;
    return truth;
}

TObjectMatcher::Truth TObjectMatcher::Compare(const TOqlElement& group, TDataObject& object) const {
    const auto& operands = group.Children();
    const TOqlOp op = operands[1]->Operator().Id;
    std::optional<TCalcResult> left = calculator_.Evaluate(*operands[0], object);
    if (op == TOqlOp::IsNull) return left ? Truth::False : Truth::True;
    if (op == TOqlOp::IsNotNull) return left ? Truth::True : Truth::False;
    std::optional<TCalcResult> right = calculator_.Evaluate(*operands[1], object);
    if (op == TOqlOp::Between || op == TOqlOp::NotBetween) {
        if (operands.size() != 3) return Truth::False;
        std::optional<TCalcResult> high = calculator_.Evaluate(*operands[2], object);
        if (!left || !right || !high) return Truth::Unknown;
        std::optional<int> low = CompareResults(*left, *right);
        std::optional<int> up = CompareResults(*left, *high);
        if (!low || !up) return Truth::False;
        bool between = *low >= 0 && *up <= 0;
        return between != (op == TOqlOp::NotBetween) ? Truth::True : Truth::False;
    }
    if (!left || !right) return Truth::Unknown;
    std::optional<int> order = CompareResults(*left, *right);
    if (!order) return Truth::False;
    bool holds;
    switch (op) {
    case TOqlOp::Equal:
    case TOqlOp::EQ:
        holds = *order == 0;
        break;
    case TOqlOp::NotEqual:
    case TOqlOp::NE:
        holds = *order != 0;
        break;
    case TOqlOp::Greater:
    case TOqlOp::GT:
        holds = *order > 0;
        break;
    case TOqlOp::GreaterOrEqual:
    case TOqlOp::GE:
        holds = *order >= 0;
        break;
    case TOqlOp::Lesser:
    case TOqlOp::LT:
        holds = *order < 0;
        break;
    case TOqlOp::LesserOrEqual:
    case TOqlOp::LE:
        holds = *order <= 0;
        break;
    default:
        holds = false;
    }
    return holds ? Truth::True : Truth::False;
}

TObjectComparer::TObjectComparer(const TOqlMeta& order)
    : root_(order.Root().Clone()), calculator_("Invalid OrderBy Expression.") {
    auto check = [](const TOqlElement& element, auto& self) -> void {
        if (!IsOrderOperator(element.Operator().Id))
            throw EDataError("Invalid OrderBy Expression.");
        for (const auto& child : element.Children())
            self(*child, self);
    };
    check(*root_, check);
    for (const auto& term : root_->Children()) {
        const auto& parts = term->Children();
        bool descending = parts.size() == 2 && parts[1]->Operator().Id == TOqlOp::Desc;
        const TOqlElement& expression = descending ? *parts[0] : *term;
        calculator_.Check(expression);
        terms_.push_back(Term{&expression, descending});
    }
}

TObjectComparer::Key TObjectComparer::MakeKey(TDataObject& object) const {
    Key key;
    for (const Term& term : terms_) {
        std::optional<TCalcResult> result = calculator_.Evaluate(*term.expression, object);
        if (!result) {
            key.emplace_back();
            continue;
        }
        switch (result->Category) {
        case TValueCategory::Numeric:
            key.emplace_back(ParseInt64(result->Text));
            break;
        case TValueCategory::Boolean:
            key.emplace_back(ValueAsBoolean(result->Value));
            break;
        case TValueCategory::Date:
            key.emplace_back(ValueAsDateTime(result->Value));
            break;
        default:
            key.emplace_back(std::move(result->Text));
        }
    }
    return key;
}

int TObjectComparer::CompareKeys(const Key& a, const Key& b) const {
    for (size_t i = 0; i < terms_.size(); ++i) {
        const TermKey& x = a[i];
        const TermKey& y = b[i];
        int order = 0;
        if (!x || !y)
            order = Order(x.has_value(), y.has_value());
        else if (x->index() == y->index())
            order = std::visit(
                [&](const auto& left) {
                    return Order(left, std::get<std::decay_t<decltype(left)>>(*y));
                },
                *x);
        if (order != 0) return terms_[i].descending ? -order : order;
    }
    return 0;
}

} // namespace ozra::data
