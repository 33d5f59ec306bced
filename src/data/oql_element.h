// The element tree of an object query.
//
// Each element carries the operator that joins it to the element before it
// in its group (the first element of a group is joined to nothing, so its
// operator is written only when it is a prefix operator). A group element
// owns its children; leaves carry a field, a table, a constant or a data
// field. A tree is rendered as SQL text by TOqlSqlBuilder and evaluated on
// objects in memory by the calculator, matcher and comparer.
#pragma once

#include "data/data_field.h"
#include "data/oql_operator.h"
#include "data/schema_info.h"
#include "value/value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class TOqlElement {
  public:
    enum class Kind {
        Group,
        Empty,
        String,
        StringValue,
        FieldInfo,
        Condition,
        Scalar,
        Table,
        Vector
    };

    explicit TOqlElement(TOqlOp op = TOqlOp::None) : operator_(&OqlOperator(op)) {}
    virtual ~TOqlElement() = default;
    TOqlElement(const TOqlElement&) = delete;
    TOqlElement& operator=(const TOqlElement&) = delete;

    // The class label ("Element", "EmptyElement", "FieldInfoElement" ...).
    virtual std::string_view Name() const { return "Element"; }
    virtual Kind ElementKind() const { return Kind::Group; }
    // A copy of the element with its whole subtree.
    std::unique_ptr<TOqlElement> Clone() const;

    const TOqlOperator& Operator() const { return *operator_; }
    void SetOperator(TOqlOp op) { operator_ = &OqlOperator(op); }

    TOqlElement* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<TOqlElement>>& Children() const { return children_; }
    bool HasChildren() const { return !children_.empty(); }
    TOqlElement& AddChild(std::unique_ptr<TOqlElement> child);
    TOqlElement& InsertChild(int index, std::unique_ptr<TOqlElement> child);
    // Puts another element in the place of a child and hands the old one back.
    std::unique_ptr<TOqlElement> ReplaceChild(TOqlElement& child,
                                              std::unique_ptr<TOqlElement> replacement);
    int IndexInParent() const;

  protected:
    virtual std::unique_ptr<TOqlElement> CloneSelf() const {
        return std::make_unique<TOqlElement>(operator_->Id);
    }

  private:
    const TOqlOperator* operator_;
    TOqlElement* parent_ = nullptr;
    std::vector<std::unique_ptr<TOqlElement>> children_;
};

class TEmptyElement : public TOqlElement {
  public:
    using TOqlElement::TOqlElement;
    std::string_view Name() const override { return "EmptyElement"; }
    Kind ElementKind() const override { return Kind::Empty; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TEmptyElement>(Operator().Id);
    }
};

// A constant text written in the query.
class TStringElement : public TOqlElement {
  public:
    TStringElement(std::string text, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), text_(std::move(text)) {}
    std::string_view Name() const override { return "StringElement"; }
    Kind ElementKind() const override { return Kind::String; }
    const std::string& Text() const { return text_; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TStringElement>(text_, Operator().Id);
    }

  private:
    std::string text_;
};

// A constant value written in the query; a text is a quoted value, any
// other value stands for itself.
class TStringValueElement : public TOqlElement {
  public:
    TStringValueElement(value::TtsValue value, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), value_(std::move(value)) {}
    std::string_view Name() const override { return "StringValueElement"; }
    Kind ElementKind() const override { return Kind::StringValue; }
    const value::TtsValue& Value() const { return value_; }
    bool Quoted() const { return value_.IsText(); }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TStringValueElement>(value_, Operator().Id);
    }

  private:
    value::TtsValue value_;
};

// A field description: its column in SQL, its value in memory.
class TFieldInfoElement : public TOqlElement {
  public:
    TFieldInfoElement(const TFieldInfo& field, bool qualified, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), field_(&field), qualified_(qualified) {}
    std::string_view Name() const override { return "FieldInfoElement"; }
    Kind ElementKind() const override { return Kind::FieldInfo; }
    const TFieldInfo& Field() const { return *field_; }
    // Whether SQL names the field with its table.
    bool Qualified() const { return qualified_; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TFieldInfoElement>(*field_, qualified_, Operator().Id);
    }

  private:
    const TFieldInfo* field_;
    bool qualified_;
};

// The field a condition tests.
class TConditionElement : public TFieldInfoElement {
  public:
    using TFieldInfoElement::TFieldInfoElement;
    std::string_view Name() const override { return "ConditionElement"; }
    Kind ElementKind() const override { return Kind::Condition; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TConditionElement>(Field(), Qualified(), Operator().Id);
    }
};

// The value of one data object's field, taken when the query runs.
class TScalarElement : public TOqlElement {
  public:
    TScalarElement(TDataField& field, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), field_(RetainVe(&field)) {}
    std::string_view Name() const override { return "ScalarElement"; }
    Kind ElementKind() const override { return Kind::Scalar; }
    TDataField& Field() const { return *field_; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TScalarElement>(*field_, Operator().Id);
    }

  private:
    VeRef<TDataField> field_;
};

class TTableInfoElement : public TOqlElement {
  public:
    TTableInfoElement(const TTableInfo& table, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), table_(&table) {}
    std::string_view Name() const override { return "TableInfoElement"; }
    Kind ElementKind() const override { return Kind::Table; }
    const TTableInfo& Table() const { return *table_; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TTableInfoElement>(*table_, Operator().Id);
    }

  private:
    const TTableInfo* table_;
};

// A list of constant values, the right side of "In" and "Not In".
class TVectorElement : public TOqlElement {
  public:
    TVectorElement(std::vector<value::TtsValue> items, TOqlOp op = TOqlOp::None)
        : TOqlElement(op), items_(std::move(items)) {}
    std::string_view Name() const override { return "VectorElement"; }
    Kind ElementKind() const override { return Kind::Vector; }
    const std::vector<value::TtsValue>& Items() const { return items_; }

  protected:
    std::unique_ptr<TOqlElement> CloneSelf() const override {
        return std::make_unique<TVectorElement>(items_, Operator().Id);
    }

  private:
    std::vector<value::TtsValue> items_;
};

} // namespace ozra::data
