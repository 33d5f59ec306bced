// The statements of the SQL builders and the rules shared by the dialects.
#include "data/sql_builder.h"

#include "data/data_error.h"
#include "data/field_value.h"
#include "data/string_helper.h"
#include "data/variant_array.h"

namespace ozra::data {

using value::TtsValue;

namespace {

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) text += separator;
        text += parts[i];
    }
    return text;
}

bool TakesPartInExample(TDataType type) {
    return static_cast<uint8_t>(type) <= 9;
}

bool IsByteType(TDataType type) {
    return type == TDataType::Guid || type == TDataType::Binary || type == TDataType::Blob;
}

// The items of an array value, a byte array giving one number per byte.
std::vector<TtsValue> ItemsOf(const TVariantArray& array) {
    if (array.ArrayKind() == TVariantArray::Kind::Values) return array.Items();
    std::vector<TtsValue> items;
    for (unsigned char byte : array.Bytes())
        items.push_back(TtsValue::FromInt32(byte));
    return items;
}

} // namespace

std::string TSqlBuilder::QuoteName(std::string_view name) const {
    return TStringHelper::QuoteIdent(name);
}

std::string TSqlBuilder::IdentitySql(const TDataObject&) const {
    return {};
}

std::string TSqlBuilder::ParamValue(TDataField& field, TSqlParams& params) const {
    return ParamValue(field.FieldInfo(), field.GetValue(), params);
}

std::string TSqlBuilder::ParamValue(const TFieldInfo& field, const TtsValue& value,
                                    TSqlParams& params) const {
    TParamType type = ParamTypeOf(field.DataType());
    if (type == TParamType::None)
        throw EDataError("field " + field.Alias() + " has an unknown data type.");
    params.push_back(TSqlParam{type, ValueAsParam(value, field.DataType())});
    return "?";
}

std::string TSqlBuilder::BaseLiteral(TDataField& field) const {
    TtsValue value = field.GetValue();
    if (IsNullValue(value)) return "NULL";
    TDataType type = field.FieldInfo().DataType();
    std::string text = ValueAsString(value, type);
    switch (type) {
    case TDataType::Boolean:
        return ValueAsBoolean(value) ? "1" : "0";
    case TDataType::DateTime:
    case TDataType::Guid:
        return text.empty() ? "NULL" : TStringHelper::QuoteStr(text);
    case TDataType::String:
    case TDataType::Text:
        return TStringHelper::QuoteStr(text);
    case TDataType::Binary:
    case TDataType::Blob:
        return "0x" + TStringHelper::ToHex(DataText(value));
    default:
        return text.empty() ? "NULL" : text;
    }
}

std::string TSqlBuilder::LiteralValue(TDataField& field) const {
    return BaseLiteral(field);
}

std::string TSqlBuilder::OqlField(const TFieldInfo& field, bool qualified) const {
    if (qualified) return QuoteName(field.Table().Name()) + "." + QuoteName(field.Name());
    return QuoteName(field.Name());
}

std::string TSqlBuilder::OqlTable(const TTableInfo& table) const {
    return QuoteName(table.Name());
}

std::string TSqlBuilder::SelectList(const TTableInfo& table) const {
    std::vector<std::string> columns;
    for (TFieldInfo& field : table.Fields())
        if (!field.IsLazyLoad()) columns.push_back(QuoteName(field.Name()));
    return Join(columns, ", ");
}

std::string TSqlBuilder::KeyCondition(TDataObject& object, TSqlParams& params) const {
    const TFieldInfoSet& keys = object.TableInfo().PrimaryKeyFields();
    if (keys.Count() == 0) throw EDataError("No primary key");
    std::vector<std::string> terms;
    for (TFieldInfo& key : keys)
        terms.push_back(QuoteName(key.Name()) + " = " +
                        ParamValue(key, object.Field(key).StoredValue(), params));
    return Join(terms, std::string(" AND ") + std::string(Separator()));
}

std::string TSqlBuilder::ExampleCondition(TDataObject& templ, TSqlParams& params) const {
    std::string condition;
    for (TDataField& field : templ.Fields()) {
        const TFieldInfo& info = field.FieldInfo();
        if (!field.IsModified() || !TakesPartInExample(info.DataType())) continue;
        const TtsValue& value = field.Value();
        if (IsInterfaceValue(value)) continue;
        if (!condition.empty()) condition += " AND ";
        condition += QuoteName(info.Name());
        const TVariantArray* array = AsArray(value);
        if (IsNullValue(value)) {
            condition += " IS NULL ";
        } else if (array && (!IsByteType(info.DataType()) || array->IsStringArray())) {
            // Every item is a parameter: an item can never become SQL text.
            std::vector<std::string> items;
            for (const TtsValue& item : ItemsOf(*array))
                items.push_back(ParamValue(info, item, params));
            condition +=
                " IN ( " + (items.empty() ? std::string("NULL") : Join(items, " , ")) + " ) ";
        } else {
            condition += " = " + ParamValue(info, value, params);
        }
    }
    return condition;
}

std::string TSqlBuilder::UpdateList(TDataObject& object, bool withKey, TSqlParams& params) const {
    std::vector<std::string> items;
    for (TDataField& field : object.Fields()) {
        const TFieldInfo& info = field.FieldInfo();
        if (!field.IsModified() || info.IsAutoIncrement() || info.IsReadOnly() ||
            (info.IsPrimary() && !withKey))
            continue;
        const TtsValue& value = field.Value();
        items.push_back(
            "  " + QuoteName(info.Name()) + " = " +
            (IsNullValue(value) ? std::string(" NULL ") : ParamValue(info, value, params)));
    }
    return Join(items, std::string(",") + std::string(Separator()));
}

TSqlStatement TSqlBuilder::Insert(TDataObject& object) const {
    TSqlStatement statement;
    std::vector<std::string> columns, values;
    for (TDataField& field : object.Fields()) {
        const TFieldInfo& info = field.FieldInfo();
        if (!field.IsModified() || info.IsAutoIncrement() || info.IsReadOnly()) continue;
        columns.push_back(QuoteName(info.Name()));
        values.push_back(ParamValue(info, field.Value(), statement.Params));
    }
    const std::string sep(Separator());
    const TTableInfo& table = object.TableInfo();
    statement.Text = "INSERT INTO " + QuoteName(table.Name()) + " " + sep + sep + "  ( " +
                     Join(columns, ", ") + " ) " + sep + "  VALUES" + sep + "  ( " +
                     Join(values, ", ") + " ) ";
    if (SupportsIdentity() && table.AutoIncrementField()) statement.Text += IdentitySql(object);
    return statement;
}

TSqlStatement TSqlBuilder::UpdateByKey(TDataObject& object) const {
    TSqlStatement statement;
    const std::string sep(Separator());
    std::string list = UpdateList(object, true, statement.Params);
    if (list.empty()) return {};
    std::string key = KeyCondition(object, statement.Params);
    statement.Text = "UPDATE " + QuoteName(object.TableInfo().Name()) + sep + "SET " + sep + list +
                     sep + "WHERE " + sep + key;
    return statement;
}

TSqlStatement TSqlBuilder::UpdateByExample(TDataObject& templ, TDataObject& source) const {
    if (&templ.TableInfo() != &source.TableInfo()) throw EDataError("Object type not equal");
    TSqlStatement statement;
    const std::string sep(Separator());
    std::string list = UpdateList(source, false, statement.Params);
    if (list.empty()) return {};
    statement.Text =
        "UPDATE " + QuoteName(templ.TableInfo().Name()) + " " + sep + "SET " + sep + list;
    std::string example = ExampleCondition(templ, statement.Params);
    if (!example.empty()) statement.Text += sep + "WHERE " + sep + example;
    return statement;
}

TSqlStatement TSqlBuilder::DeleteByKey(TDataObject& object) const {
    TSqlStatement statement;
    std::string key = KeyCondition(object, statement.Params);
    statement.Text = "DELETE FROM " + QuoteName(object.TableInfo().Name()) + " WHERE " + key;
    return statement;
}

TSqlStatement TSqlBuilder::DeleteByExample(TDataObject& templ) const {
    TSqlStatement statement;
    statement.Text = "DELETE FROM " + QuoteName(templ.TableInfo().Name());
    std::string example = ExampleCondition(templ, statement.Params);
    if (!example.empty()) statement.Text += " WHERE " + example;
    return statement;
}

TSqlStatement TSqlBuilder::SelectByExample(TDataObject& templ) const {
    TSqlStatement statement;
    const TTableInfo& table = templ.TableInfo();
    statement.Text = "SELECT " + SelectList(table) + " FROM " + QuoteName(table.Name());
    std::string example = ExampleCondition(templ, statement.Params);
    if (!example.empty()) statement.Text += " WHERE " + example;
    return statement;
}

TSqlStatement TSqlBuilder::SelectByKey(TDataObject& object, const TFieldInfo* field) const {
    TSqlStatement statement;
    const TTableInfo& table = object.TableInfo();
    std::string list = field ? QuoteName(field->Name()) : SelectList(table);
    std::string key = KeyCondition(object, statement.Params);
    statement.Text = "SELECT " + list + " FROM " + QuoteName(table.Name()) + " WHERE " + key;
    return statement;
}

TSqlStatement TSqlBuilder::SelectAll(TTableInfo& table, const TSqlStatement* condition) const {
    TSqlStatement statement;
    statement.Text = "SELECT " + SelectList(table) + " FROM " + QuoteName(table.Name());
    if (condition && !condition->Text.empty()) {
        statement.Text += " WHERE " + condition->Text;
        statement.Params = condition->Params;
    }
    return statement;
}

} // namespace ozra::data
