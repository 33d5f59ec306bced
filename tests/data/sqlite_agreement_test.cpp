// The SQLite dialect run for real on an in-memory database: the statements
// it writes execute, identities come back, hostile names and values stay
// data, and every query selects and orders the same objects in SQL as in
// memory.
#include "data/date_text.h"
#include "data/sql_builder.h"
#include "oql_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>

namespace ozra::data {
namespace {

using fixture::ConditionCases;
using fixture::CustomerRows;
using fixture::IdsOf;
using fixture::Int;
using fixture::LoadCustomers;
using fixture::OrderCases;
using fixture::ShopData;
using fixture::Text;
using value::TtsValue;

// A connection to a fresh in-memory database that runs statements with
// typed positional parameters, the way a provider binds them.
class Database {
  public:
    Database() {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open database");
    }
    ~Database() { sqlite3_close(db_); }

    // Runs a statement; a NUL splits a command (with the parameters) from a
    // query (without), as the identity read-back needs. Returns the rows of
    // the last statement, every value as text ("NULL" for null).
    std::vector<std::vector<std::string>> Run(const std::string& sql,
                                              const TSqlParams& params = {}) {
        auto nul = sql.find('\0');
        if (nul == std::string::npos) return Step(sql, params);
        Step(sql.substr(0, nul), params);
        return Step(sql.substr(nul + 1), {});
    }

    std::vector<int> Ids(const std::string& sql, const TSqlParams& params = {}) {
        std::vector<int> ids;
        for (const auto& row : Run(sql, params))
            ids.push_back(std::stoi(row.at(0)));
        return ids;
    }

  private:
    void Bind(sqlite3_stmt* statement, int index, const TSqlParam& param) {
        const TtsValue& value = param.Value;
        if (value.Kind() == value::ValueKind::Null) {
            sqlite3_bind_null(statement, index);
            return;
        }
        switch (param.Type) {
        case TParamType::Integer:
            sqlite3_bind_int64(statement, index, value.Integer());
            break;
        case TParamType::Boolean:
            sqlite3_bind_int(statement, index, value.Boolean() ? 1 : 0);
            break;
        case TParamType::Float:
            sqlite3_bind_double(statement, index, value.Real());
            break;
        case TParamType::Currency:
            sqlite3_bind_double(statement, index, value.CurrencyScaled() / 10000.0);
            break;
        case TParamType::DateTime: {
            std::string text = *FormatDateTime(value.Real());
            sqlite3_bind_text(statement, index, text.c_str(), -1, SQLITE_TRANSIENT);
            break;
        }
        case TParamType::Blob:
            sqlite3_bind_blob(statement, index, value.Text().data(),
                              static_cast<int>(value.Text().size()), SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_bind_text(statement, index, value.Text().data(),
                              static_cast<int>(value.Text().size()), SQLITE_TRANSIENT);
        }
    }

    std::vector<std::vector<std::string>> Step(const std::string& sql, const TSqlParams& params) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement,
                               nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + "\nSQL: " + sql);
        if (sqlite3_bind_parameter_count(statement) != static_cast<int>(params.size())) {
            sqlite3_finalize(statement);
            throw std::runtime_error("parameter count mismatch\nSQL: " + sql);
        }
        for (size_t i = 0; i < params.size(); ++i)
            Bind(statement, static_cast<int>(i + 1), params[i]);
        std::vector<std::vector<std::string>> rows;
        int result;
        while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                const unsigned char* text = sqlite3_column_text(statement, column);
                row.push_back(text ? std::string(reinterpret_cast<const char*>(text),
                                                 sqlite3_column_bytes(statement, column))
                                   : "NULL");
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        if (result != SQLITE_DONE)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + "\nSQL: " + sql);
        return rows;
    }

    sqlite3* db_ = nullptr;
};

// The customer table filled through the builder's own inserts.
class SqliteAgreementTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.Run(R"(CREATE TABLE "Customer" ("Id" INTEGER PRIMARY KEY AUTOINCREMENT,)"
               R"( "FullName" TEXT, "Active" INTEGER, "Born" TEXT, "Score" INTEGER,)"
               R"( "Notes" TEXT, "Photo" BLOB, "Code" TEXT))");
        VeRef<TObjectSet> customers = LoadCustomers(shop);
        for (TDataObject& loaded : *customers) {
            VeRef<TDataObject> row = shop.manager.CreateObject(shop.customer);
            for (TFieldInfo* field : {&shop.name, &shop.score, &shop.active, &shop.born})
                row->Field(*field).SetValue(loaded.Field(*field).Value());
            TSqlStatement insert = builder.Insert(*row);
            auto identity = db.Run(insert.Text, insert.Params);
            ASSERT_EQ(identity.size(), 1u);
            EXPECT_EQ(identity[0][0], loaded.Field(shop.id).AsString());
        }
    }

    ShopData shop;
    TSqliteSqlBuilder builder;
    Database db;
};

TEST_F(SqliteAgreementTest, ConditionsSelectTheSameObjects) {
    VeRef<TObjectSet> customers = LoadCustomers(shop);
    for (const auto& c : ConditionCases(shop)) {
        SCOPED_TRACE(c.label);
        TSqlStatement condition = c.condition.ToSql(&builder);
        std::vector<int> inSql =
            db.Ids(R"(SELECT "Id" FROM "Customer" WHERE )" + condition.Text + R"( ORDER BY "Id")",
                   condition.Params);
        if (c.error.empty()) {
            EXPECT_EQ(inSql, IdsOf(*customers->SubSet(c.condition), shop.id));
        } else {
            ASSERT_TRUE(c.sqliteIds.has_value()) << "no expected rows for an SQL-only condition";
            EXPECT_EQ(inSql, *c.sqliteIds);
        }
    }
}

TEST_F(SqliteAgreementTest, OrdersGiveTheSameSequence) {
    for (const auto& c : OrderCases(shop)) {
        SCOPED_TRACE(c.label);
        TSqlStatement order = c.order.ToSql(&builder);
        std::vector<int> inSql =
            db.Ids(R"(SELECT "Id" FROM "Customer" )" + order.Text, order.Params);
        VeRef<TObjectSet> customers = LoadCustomers(shop);
        customers->Sort(c.order);
        EXPECT_EQ(inSql, IdsOf(*customers, shop.id));
    }
}

TEST_F(SqliteAgreementTest, ObjectStatementsRoundTrip) {
    VeRef<TDataObject> ann = shop.manager.CreateObject(shop.customer);
    ann->Field(shop.id).InitValue(Int(1));
    ann->Load();
    ann->Field(shop.name).SetValue(Text("Annie"));
    ann->Field(shop.score).SetValue(TtsValue::Null());
    TSqlStatement update = builder.UpdateByKey(*ann);
    db.Run(update.Text, update.Params);
    TSqlStatement select = builder.SelectByKey(*ann);
    auto rows = db.Run(select.Text, select.Params);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "Annie");
    EXPECT_EQ(rows[0][4], "NULL");

    VeRef<TDataObject> templ = shop.manager.CreateObject(shop.customer);
    templ->Field(shop.active).SetValue(TtsValue::FromBoolean(false));
    TSqlStatement byExample = builder.SelectByExample(*templ);
    EXPECT_EQ(db.Run(byExample.Text, byExample.Params).size(), 2u);
    templ->Field(shop.score).SetValue(MakeValueArray({Int(7), Int(3)}));
    TSqlStatement remove = builder.DeleteByExample(*templ);
    db.Run(remove.Text, remove.Params);
    EXPECT_EQ(db.Ids(R"(SELECT "Id" FROM "Customer" ORDER BY "Id")"),
              (std::vector<int>{1, 3, 4, 5}));
    TSqlStatement removeAnn = builder.DeleteByKey(*ann);
    db.Run(removeAnn.Text, removeAnn.Params);
    EXPECT_EQ(db.Ids(R"(SELECT "Id" FROM "Customer" ORDER BY "Id")"), (std::vector<int>{3, 4, 5}));
}

TEST_F(SqliteAgreementTest, HostileNamesAndValuesStayData) {
    TTableInfo& table = shop.schema->AddTable({"Odd", "Odd", "odd\"; DROP TABLE \"Customer\"; --"});
    TFieldInfo& key = table.AddField({.Alias = "K",
                                      .Name = "k\"[]';",
                                      .DataType = TDataType::Integer,
                                      .IsAutoIncrement = true,
                                      .IsPrimary = true});
    TFieldInfo& value = table.AddField({.Alias = "V", .Name = "v /* x */"});
    table.AddIndex(true, true).AddField(key);
    db.Run("CREATE TABLE " + builder.QuoteName(table.Name()) + " (" +
           builder.QuoteName(key.Name()) + " INTEGER PRIMARY KEY AUTOINCREMENT, " +
           builder.QuoteName(value.Name()) + " TEXT)");
    const std::string hostile = "'); DROP TABLE \"Customer\"; -- \" ] /*";
    VeRef<TDataObject> object = shop.manager.CreateObject(table);
    object->Field(value).SetValue(Text(hostile));
    TSqlStatement insert = builder.Insert(*object);
    auto identity = db.Run(insert.Text, insert.Params);
    object->Field(key).InitValue(Int(std::stoi(identity.at(0).at(0))));
    object->Load();

    auto condition = TOQL::Condition(value, Text(hostile)).ToSql(&builder);
    TSqlStatement select = builder.SelectAll(table, &condition);
    auto rows = db.Run(select.Text, select.Params);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], hostile);
    EXPECT_EQ(db.Ids(R"(SELECT "Id" FROM "Customer")").size(), 5u);
}

} // namespace
} // namespace ozra::data
