// A small schema (customers and their orders) and an in-memory stand-in for a
// database provider, shared by the data layer's tests. The stand-in keeps
// rows per table, answers the object manager's requests the way a SQL
// provider does (whole-object reads leave lazy columns out, one-field reads
// return only that column) and logs every request it serves.
#pragma once

#include "data/data_object.h"
#include "data/data_provider.h"
#include "data/data_result.h"
#include "data/object_manager.h"
#include "data/object_set.h"
#include "data/schema_info.h"
#include "data/variant_array.h"
#include "value/operators.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ozra::data::fixture {

using value::TtsValue;

inline TtsValue Int(int64_t v) {
    return TtsValue::FromInteger(v);
}
inline TtsValue Text(std::string_view v) {
    return TtsValue::FromText(v);
}

struct ShopSchema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& customer = schema->AddTable({"Customer", "Customer", "Customer"});
    TFieldInfo& id = customer.AddField({.Caption = "Id",
                                        .Alias = "Id",
                                        .Name = "Id",
                                        .DataType = TDataType::Integer,
                                        .IsAutoIncrement = true,
                                        .IsPrimary = true,
                                        .IsNullable = false});
    TFieldInfo& name =
        customer.AddField({.Caption = "Name", .Alias = "Name", .Name = "FullName", .Width = 64});
    TFieldInfo& active = customer.AddField(
        {.Caption = "Active", .Alias = "Active", .Name = "Active", .DataType = TDataType::Boolean});
    TFieldInfo& born = customer.AddField(
        {.Caption = "Born", .Alias = "Born", .Name = "Born", .DataType = TDataType::DateTime});
    TFieldInfo& score = customer.AddField(
        {.Caption = "Score", .Alias = "Score", .Name = "Score", .DataType = TDataType::Integer});
    TFieldInfo& notes = customer.AddField({.Caption = "Notes",
                                           .Alias = "Notes",
                                           .Name = "Notes",
                                           .DataType = TDataType::Text,
                                           .IsLazyLoad = true});
    TFieldInfo& photo = customer.AddField(
        {.Caption = "Photo", .Alias = "Photo", .Name = "Photo", .DataType = TDataType::Blob});
    TFieldInfo& code = customer.AddField(
        {.Caption = "Code", .Alias = "Code", .Name = "Code", .DataType = TDataType::Guid});
    TFieldInfo& remark = customer.AddField(
        {.Caption = "Remark", .Alias = "Remark", .Name = "Remark", .IsLazyLoad = true});

    TTableInfo& order = schema->AddTable({"Order", "Order", "Orders"});
    TFieldInfo& orderId = order.AddField({.Caption = "Id",
                                          .Alias = "Id",
                                          .Name = "Id",
                                          .DataType = TDataType::Integer,
                                          .IsPrimary = true,
                                          .IsNullable = false});
    TFieldInfo& customerId = order.AddField({.Caption = "Customer_Id",
                                             .Alias = "Customer_Id",
                                             .Name = "Customer_Id",
                                             .DataType = TDataType::Integer});
    TFieldInfo& amount = order.AddField(
        {.Caption = "Amount", .Alias = "Amount", .Name = "Amount", .DataType = TDataType::Decimal});
    TFieldInfo& stamp = order.AddField({.Caption = "Stamp",
                                        .Alias = "Stamp",
                                        .Name = "Stamp",
                                        .DataType = TDataType::Integer,
                                        .IsReadOnly = true});

    TParentRelationInfo* orderCustomer = nullptr;

    ShopSchema() {
        customer.AddIndex(true, true).AddField(id);
        order.AddIndex(true, true).AddField(orderId);
        orderCustomer = &RelateTables({{id, customerId}}, "Customer", "Orders");
    }
    TChildRelationInfo& customerOrders() const { return *orderCustomer->Counterpart(); }
};

// Rows of one result, the columns named as asked.
class MemoryResult : public TDataResult {
  public:
    MemoryResult(std::vector<std::string> columns, std::vector<std::vector<TtsValue>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}
    bool Eof() const override { return position_ >= rows_.size(); }
    void Next() override { ++position_; }
    int FindColumn(std::string_view name) const override {
        for (size_t i = 0; i < columns_.size(); ++i)
            if (SameName(columns_[i], name)) return static_cast<int>(i);
        return -1;
    }
    TtsValue Value(int column) const override { return rows_[position_][column]; }

  private:
    std::vector<std::string> columns_;
    std::vector<std::vector<TtsValue>> rows_;
    size_t position_ = 0;
};

class MemoryProvider : public TDataProviderBase {
  public:
    using Row = std::vector<TtsValue>; // one value per field, by field index

    std::map<const TTableInfo*, std::vector<Row>> tables;
    std::vector<std::string> log;
    bool inTransaction = false;
    bool failNextSave = false;
    // Hand out one shared instance per row, the way a caching provider does.
    bool shareObjects = false;
    int64_t nextIdentity = 100;

    // Stores a row as the database holds it; returns its position.
    void AddRow(const TTableInfo& table, Row row) { tables[&table].push_back(std::move(row)); }

    void StartTransaction() override { inTransaction = true; }
    void Commit() override { inTransaction = false; }
    void Rollback() override { inTransaction = false; }
    bool InTransaction() override { return inTransaction; }

    std::unique_ptr<TObjectReaderBase> OpenByTemplate(TDataObject& templ, bool byKey,
                                                      const TFieldInfo* field) override {
        TTableInfo& table = templ.TableInfo();
        log.push_back(std::string(byKey ? "select by key " : "select by example ") + table.Name() +
                      (field ? "." + field->Name() : ""));
        if (shareObjects && !field) {
            VeRef<TObjectSet> selection = ObjectManager().CreateSet(table);
            for (TDataObject& object : Shared(table))
                if (byKey ? KeyMatches(templ, Values(object))
                          : ExampleMatches(templ, Values(object)))
                    selection->Add(object);
            return std::make_unique<TObjectSetReader>(selection, false);
        }
        std::vector<Row> found;
        for (const Row& row : tables[&table])
            if (byKey ? KeyMatches(templ, row) : ExampleMatches(templ, row)) found.push_back(row);
        return Reader(table, found, field);
    }

    std::unique_ptr<TObjectReaderBase> OpenTable(TTableInfo& table, std::string_view where,
                                                 const TSqlParams&) override {
        log.push_back("select all " + table.Name());
        return Reader(table, tables[&table], nullptr);
    }

    void Save(TDataObject& object) override {
        if (failNextSave) {
            failNextSave = false;
            throw std::runtime_error("disk full");
        }
        TTableInfo& table = object.TableInfo();
        if (object.Internal().IsNew()) {
            log.push_back("insert " + table.Name());
            if (TFieldInfo* identity = table.AutoIncrementField())
                object.Field(*identity).SetValue(Int(nextIdentity++));
            Row row;
            for (TDataField& field : object.Fields())
                row.push_back(field.Value());
            tables[&table].push_back(row);
            return;
        }
        log.push_back("update " + table.Name());
        for (Row& row : tables[&table])
            if (KeyMatches(object, row))
                for (TDataField& field : object.Fields())
                    if (field.IsModified()) row[field.FieldInfo().Index()] = field.Value();
    }

    void Delete(TDataObject& object) override {
        log.push_back("delete " + object.TableInfo().Name());
        auto& rows = tables[&object.TableInfo()];
        std::erase_if(rows, [&](const Row& row) { return KeyMatches(object, row); });
    }

    void DeleteByExample(TDataObject& templ) override {
        log.push_back("delete by example " + templ.TableInfo().Name());
    }
    void UpdateByExample(TDataObject& templ, TDataObject&) override {
        log.push_back("update by example " + templ.TableInfo().Name());
    }
    void ObjectCommitted(TDataObject& object) override {
        log.push_back("committed " + object.TableInfo().Name());
    }

  private:
    std::map<const TTableInfo*, VeRef<TObjectSet>> shared_;

    TObjectSet& Shared(TTableInfo& table) {
        VeRef<TObjectSet>& set = shared_[&table];
        if (!set) {
            set = ObjectManager().CreateSet(table);
            std::unique_ptr<TObjectReaderBase> reader = Reader(table, tables[&table], nullptr);
            while (!reader->Eof())
                set->Add(*reader->Next());
        }
        return *set;
    }
    static Row Values(TDataObject& object) {
        Row row;
        for (TDataField& field : object.Fields())
            row.push_back(field.Value());
        return row;
    }
    static bool Same(const TtsValue& a, const TtsValue& b) {
        return value::TtsOperatorHelper::Compare(a, b, true) == value::CompareResult::Equal;
    }
    static bool KeyMatches(TDataObject& object, const Row& row) {
        for (TFieldInfo& key : object.TableInfo().PrimaryKeyFields())
            if (!Same(row[key.Index()], object.Field(key).StoredValue())) return false;
        return true;
    }
    static bool ExampleMatches(TDataObject& templ, const Row& row) {
        for (TDataField& field : templ.Fields())
            if (field.IsModified() && !Same(row[field.FieldInfo().Index()], field.Value()))
                return false;
        return true;
    }
    std::unique_ptr<TObjectReaderBase> Reader(TTableInfo& table, const std::vector<Row>& rows,
                                              const TFieldInfo* only) {
        std::vector<std::string> columns;
        std::vector<int> picked;
        for (TFieldInfo& field : table.Fields())
            if (only ? &field == only : !field.IsLazyLoad()) {
                columns.push_back(field.Name());
                picked.push_back(field.Index());
            }
        std::vector<Row> result;
        for (const Row& row : rows) {
            Row out;
            for (int index : picked)
                out.push_back(row[index]);
            result.push_back(out);
        }
        auto data = std::make_unique<MemoryResult>(columns, result);
        return std::make_unique<TObjectReader>(ObjectManager(), table, std::move(data), false);
    }
};

// A manager wired to a fresh memory provider.
struct ShopData : ShopSchema {
    MemoryProvider provider;
    TObjectManager manager;
    ShopData() { manager.SetDataProvider(&provider); }

    // A customer row stored in the provider: id, name, score (null when
    // negative) and notes.
    void StoreCustomer(int64_t customerId, std::string_view customerName, int64_t customerScore,
                       std::string_view customerNotes = "") {
        MemoryProvider::Row row(customer.Fields().Count());
        row[id.Index()] = Int(customerId);
        row[name.Index()] = Text(customerName);
        row[score.Index()] = customerScore < 0 ? TtsValue::Null() : Int(customerScore);
        row[notes.Index()] = Text(customerNotes);
        provider.AddRow(customer, row);
    }
    void StoreOrder(int64_t id, int64_t customerIdValue) {
        MemoryProvider::Row row(order.Fields().Count());
        row[orderId.Index()] = Int(id);
        row[customerId.Index()] = Int(customerIdValue);
        provider.AddRow(order, row);
    }
};

} // namespace ozra::data::fixture
