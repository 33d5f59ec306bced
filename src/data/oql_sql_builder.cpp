// Query trees as SQL text.
#include "data/oql_sql_builder.h"

#include "data/data_error.h"
#include "data/string_helper.h"
#include "data/variant_array.h"

namespace ozra::data {

using value::TtsValue;
using value::ValueKind;

namespace {

TParamType ParamTypeOfValue(const TtsValue& value) {
    switch (value.Kind()) {
    case ValueKind::Text:
    case ValueKind::WideText:
        return TParamType::String;
    case ValueKind::Single:
    case ValueKind::Double:
        return TParamType::Float;
    case ValueKind::Currency:
        return TParamType::Currency;
    case ValueKind::Date:
        return TParamType::DateTime;
    case ValueKind::Boolean:
        return TParamType::Boolean;
    case ValueKind::Empty:
    case ValueKind::Null:
        return TParamType::None;
    default:
        if (value.IsInteger()) return TParamType::Integer;
        throw EDataError("Oql element not supports by sql builder");
    }
}

} // namespace

TOqlSqlBuilder::TOqlSqlBuilder(const TSqlBuilder* leaves, bool format)
    : leaves_(leaves ? leaves : &TDefaultSqlBuilder::Instance()), format_(format) {}

TSqlStatement TOqlSqlBuilder::Render(const TOqlElement& root) {
    text_.clear();
    params_.clear();
    glueNext_ = false;
    pendingBreak_ = -1;
    Visit(root, OqlOperator(TOqlOp::None), true, 0);
    return TSqlStatement{std::move(text_), std::move(params_)};
}

std::string_view TOqlSqlBuilder::OperatorText(const TOqlOperator& op) const {
    return leaves_->OqlOperatorText(op);
}

void TOqlSqlBuilder::Visit(const TOqlElement& element, const TOqlOperator& context, bool first,
                           int level) {
    const TOqlOperator& op = element.Operator();
    const bool writesOperator = op.Id != TOqlOp::None && (!first || op.Prefix);
    if (writesOperator) WriteOperator(op, level);
    WriteLeaf(element);
    const auto& children = element.Children();
    if (children.empty()) return;

    const TOqlOperator* join = children.size() >= 2 ? &children[1]->Operator() : nullptr;
    // A written prefix operator applies to the group; otherwise the group is
    // an operand of whatever binds it from outside.
    const bool unary = writesOperator && op.Prefix;
    const TOqlOperator& outer = unary ? op : context;
    bool parens = op.Parenthesize;
    if (join && !parens) {
        if (unary)
            parens = join->Precedence >= op.Precedence;
        else
            parens = join->Precedence > outer.Precedence ||
                     (join->Precedence == outer.Precedence && !first &&
                      (outer.NonAssociative || join->NonAssociative));
    }
    if (parens) Word("(");
    for (size_t i = 0; i < children.size(); ++i) {
        const TOqlOperator& childContext =
            i > 0 ? children[i]->Operator()
                  : (join ? *join : (parens ? OqlOperator(TOqlOp::None) : outer));
        Visit(*children[i], childContext, i == 0, level + 1);
    }
    if (parens) Word(")", true);
}

void TOqlSqlBuilder::WriteOperator(const TOqlOperator& op, int level) {
    std::string_view text = OperatorText(op);
    const bool breakBefore = text.starts_with("\r\n");
    const bool breakAfter = text.ends_with("\r\n");
    const std::string core = TStringHelper::UpperAscii(TStringHelper::Trim(text, " \r\n"));
    if (format_ && breakBefore && !text_.empty()) pendingBreak_ = level;
    if (!core.empty()) {
        const bool comma = core == ",";
        Word(core, op.NoSpace || comma);
        glueNext_ = op.NoSpace;
    }
    if (format_ && breakAfter) pendingBreak_ = level;
}

void TOqlSqlBuilder::WriteLeaf(const TOqlElement& element) {
    switch (element.ElementKind()) {
    case TOqlElement::Kind::Group:
    case TOqlElement::Kind::Empty:
        return;
    case TOqlElement::Kind::String:
        Word(Bind(TParamType::String,
                  TtsValue::FromText(static_cast<const TStringElement&>(element).Text())));
        return;
    case TOqlElement::Kind::StringValue: {
        const TtsValue& value = static_cast<const TStringValueElement&>(element).Value();
        Word(Bind(ParamTypeOfValue(value), value));
        return;
    }
    case TOqlElement::Kind::FieldInfo:
    case TOqlElement::Kind::Condition: {
        const auto& field = static_cast<const TFieldInfoElement&>(element);
        Word(leaves_->OqlField(field.Field(), field.Qualified()));
        return;
    }
    case TOqlElement::Kind::Scalar:
        Word(leaves_->ParamValue(static_cast<const TScalarElement&>(element).Field(), params_));
        return;
    case TOqlElement::Kind::Table:
        Word(leaves_->OqlTable(static_cast<const TTableInfoElement&>(element).Table()));
        return;
    case TOqlElement::Kind::Vector: {
        const auto& items = static_cast<const TVectorElement&>(element).Items();
        Word("(");
        if (items.empty()) Word("NULL");
        for (size_t i = 0; i < items.size(); ++i) {
            if (i) Word(",", true);
            Word(Bind(ParamTypeOfValue(items[i]), items[i]));
        }
        Word(")", true);
        return;
    }
    }
    throw EDataError("Oql element not supports by sql builder");
}

void TOqlSqlBuilder::Word(std::string_view text, bool glue) {
    if (!text_.empty()) {
        if (pendingBreak_ >= 0 && !glue) {
            while (!text_.empty() && text_.back() == ' ')
                text_.pop_back();
            text_ += "\r\n" + std::string(2 * static_cast<size_t>(pendingBreak_), ' ');
        } else if (!glue && !glueNext_ && text_.back() != '(' && text_.back() != ' ') {
            text_ += ' ';
        }
    }
    pendingBreak_ = -1;
    glueNext_ = false;
    text_ += text;
}

std::string TOqlSqlBuilder::Bind(TParamType type, TtsValue value) {
    if (AsArray(value) || IsInterfaceValue(value))
        throw EDataError("Oql element not supports by sql builder");
    params_.push_back(TSqlParam{type, IsNullValue(value) ? TtsValue::Null() : std::move(value)});
    return "?";
}

} // namespace ozra::data
