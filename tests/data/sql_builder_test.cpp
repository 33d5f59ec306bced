// The SQL each dialect writes for data objects: exact text and parameters.
#include "data/data_error.h"
#include "data/date_text.h"
#include "data/sql_builder.h"
#include "data_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ozra::data {
namespace {

using fixture::Int;
using fixture::ShopData;
using fixture::Text;
using value::TtsValue;
using P = TParamType;

// A parameter as the tests spell it: its type and the text of its value
// ("NULL" for a null).
std::string Describe(const TSqlParam& param) {
    std::string value =
        param.Value.Kind() == value::ValueKind::Null ? "NULL" : DataText(param.Value);
    return std::string(ParamTypeName(param.Type)) + ":" + value;
}

std::vector<std::string> Describe(const TSqlParams& params) {
    std::vector<std::string> out;
    for (const TSqlParam& param : params)
        out.push_back(Describe(param));
    return out;
}

const std::string nul(1, '\0');

// A customer loaded as row 7 "Ann", then edited: name "Bo", score null.
VeRef<TDataObject> EditedCustomer(ShopData& shop) {
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    object->Field(shop.id).InitValue(Int(7));
    object->Field(shop.name).InitValue(Text("Ann"));
    object->Load();
    object->Field(shop.name).SetValue(Text("Bo"));
    object->Field(shop.score).SetValue(TtsValue::Null());
    return object;
}

// A new customer: name "Ann", active, score null (the identity is left to
// the database).
VeRef<TDataObject> NewCustomer(ShopData& shop) {
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    object->Field(shop.name).SetValue(Text("Ann"));
    object->Field(shop.active).SetAsBoolean(true);
    object->Field(shop.score).SetValue(TtsValue::Null());
    return object;
}

TEST(SqlBuilderTest, StatementsPerDialect) {
    struct Case {
        TDatabaseType type;
        std::string insert, update, remove, select;
    };
    const std::string dq = R"(INSERT INTO "Customer"     ( "FullName", "Active", "Score" ) )"
                           R"(   VALUES   ( ?, ?, ? ) )";
    const std::string br = R"(INSERT INTO [Customer]     ( [FullName], [Active], [Score] ) )"
                           R"(   VALUES   ( ?, ?, ? ) )";
    const std::string dqUpdate =
        R"(UPDATE "Customer" SET    "FullName" = ?,   "Score" =  NULL  WHERE  "Id" = ?)";
    const std::string brUpdate =
        R"(UPDATE [Customer] SET    [FullName] = ?,   [Score] =  NULL  WHERE  [Id] = ?)";
    const std::string dqSelect =
        R"(SELECT "Id", "FullName", "Active", "Born", "Score", "Photo", "Code" FROM "Customer" WHERE "Id" = ?)";
    const std::string brSelect =
        R"(SELECT [Id], [FullName], [Active], [Born], [Score], [Photo], [Code] FROM [Customer] WHERE [Id] = ?)";
    const Case cases[] = {
        {TDatabaseType::Generic, dq, dqUpdate, R"(DELETE FROM "Customer" WHERE "Id" = ?)",
         dqSelect},
        {TDatabaseType::Oracle, dq, dqUpdate, R"(DELETE FROM "Customer" WHERE "Id" = ?)", dqSelect},
        {TDatabaseType::Access, br + nul + "SELECT @@IDENTITY AS [Id]", brUpdate,
         "DELETE FROM [Customer] WHERE [Id] = ?", brSelect},
        {TDatabaseType::SqlServer, br + nul + "SELECT @@IDENTITY AS [Id];", brUpdate,
         "DELETE FROM [Customer] WHERE [Id] = ?", brSelect},
        {TDatabaseType::SQLite, dq + nul + R"(SELECT last_insert_rowid() AS "Id")", dqUpdate,
         R"(DELETE FROM "Customer" WHERE "Id" = ?)", dqSelect},
        {TDatabaseType::PostgreSQL, dq + R"( RETURNING "Id")", dqUpdate,
         R"(DELETE FROM "Customer" WHERE "Id" = ?)", dqSelect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DatabaseTypeName(c.type));
        ShopData shop;
        auto builder = CreateSqlBuilder(c.type);
        TSqlStatement insert = builder->Insert(*NewCustomer(shop));
        EXPECT_EQ(insert.Text, c.insert);
        // A null value binds a typed NULL, never the empty value of its type.
        EXPECT_EQ(Describe(insert.Params),
                  (std::vector<std::string>{"String:Ann", "Boolean:True", "Integer:NULL"}));
        VeRef<TDataObject> edited = EditedCustomer(shop);
        TSqlStatement update = builder->UpdateByKey(*edited);
        EXPECT_EQ(update.Text, c.update);
        EXPECT_EQ(Describe(update.Params), (std::vector<std::string>{"String:Bo", "Integer:7"}));
        TSqlStatement remove = builder->DeleteByKey(*edited);
        EXPECT_EQ(remove.Text, c.remove);
        EXPECT_EQ(Describe(remove.Params), (std::vector<std::string>{"Integer:7"}));
        TSqlStatement select = builder->SelectByKey(*edited);
        EXPECT_EQ(select.Text, c.select);
        EXPECT_EQ(Describe(select.Params), (std::vector<std::string>{"Integer:7"}));
    }
}

TEST(SqlBuilderTest, ExampleStatements) {
    ShopData shop;
    TSqlBuilder builder;
    VeRef<TDataObject> templ = shop.manager.CreateObject(shop.customer);
    EXPECT_EQ(builder.DeleteByExample(*templ).Text, R"(DELETE FROM "Customer")");
    EXPECT_EQ(
        builder.SelectByExample(*templ).Text,
        R"(SELECT "Id", "FullName", "Active", "Born", "Score", "Photo", "Code" FROM "Customer")");

    templ->Field(shop.name).SetValue(Text("Ann"));
    templ->Field(shop.score).SetValue(MakeValueArray({Int(1), Int(2), Int(3)}));
    templ->Field(shop.born).SetValue(TtsValue::Null());
    templ->Field(shop.notes).SetValue(Text("text never takes part"));
    templ->Field(shop.photo).SetValue(MakeByteArray("\x01"));
    // A byte array in a Guid field is one value, not a list.
    templ->Field(shop.code).SetValue(MakeByteArray(std::string(16, '\x11')));
    TSqlStatement select = builder.SelectByExample(*templ);
    EXPECT_EQ(select.Text, R"(SELECT "Id", "FullName", "Active", "Born", "Score", "Photo", "Code" )"
                           R"(FROM "Customer" WHERE "FullName" = ? AND "Born" IS NULL  AND )"
                           R"("Score" IN ( ? , ? , ? )  AND "Code" = ?)");
    EXPECT_EQ(Describe(select.Params),
              (std::vector<std::string>{"String:Ann", "Integer:1", "Integer:2", "Integer:3",
                                        "String:{11111111-1111-1111-1111-111111111111}"}));

    VeRef<TDataObject> source = shop.manager.CreateObject(shop.customer);
    source->Field(shop.score).SetValue(Int(9));
    source->Field(shop.id).SetValue(Int(5)); // identity fields are never written
    VeRef<TDataObject> byName = shop.manager.CreateObject(shop.customer);
    byName->Field(shop.name).SetValue(Text("Ann"));
    TSqlStatement update = builder.UpdateByExample(*byName, *source);
    EXPECT_EQ(update.Text, R"(UPDATE "Customer"  SET    "Score" = ? WHERE  "FullName" = ?)");
    EXPECT_EQ(Describe(update.Params), (std::vector<std::string>{"Integer:9", "String:Ann"}));

    VeRef<TDataObject> order = shop.manager.CreateObject(shop.order);
    try {
        builder.UpdateByExample(*order, *source);
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "Object type not equal");
    }
}

TEST(SqlBuilderTest, KeysAreTheStoredOnes) {
    ShopData shop;
    TSqlBuilder builder;
    VeRef<TDataObject> order = shop.manager.CreateObject(shop.order);
    order->Field(shop.orderId).InitValue(Int(10));
    order->Field(shop.stamp).InitValue(Int(1));
    order->Load();
    order->Field(shop.orderId).SetValue(Int(11));
    order->Field(shop.stamp).SetValue(Int(2)); // read-only: never written
    TSqlStatement update = builder.UpdateByKey(*order);
    EXPECT_EQ(update.Text, R"(UPDATE "Orders" SET    "Id" = ? WHERE  "Id" = ?)");
    EXPECT_EQ(Describe(update.Params), (std::vector<std::string>{"Integer:11", "Integer:10"}));
    EXPECT_EQ(Describe(builder.DeleteByKey(*order).Params),
              (std::vector<std::string>{"Integer:10"}));

    order->Field(shop.orderId).Reset();
    EXPECT_EQ(builder.UpdateByKey(*order).Text, ""); // nothing to write

    VeRef<TDataObject> fresh = shop.manager.CreateObject(shop.order);
    fresh->Field(shop.orderId).SetValue(Int(12));
    fresh->Field(shop.customerId).SetValue(TtsValue::Null());
    fresh->Field(shop.amount).SetValue(Text("12.5"));
    TSqlStatement insert = builder.Insert(*fresh);
    EXPECT_EQ(Describe(insert.Params),
              (std::vector<std::string>{"Integer:12", "Integer:NULL", "Currency:12.5"}));
}

TEST(SqlBuilderTest, KeyStatementsNeedAPrimaryKey) {
    ShopData shop;
    TTableInfo& log = shop.schema->AddTable({"Log", "Log", "Log"});
    log.AddField({.Alias = "Line", .Name = "Line"});
    VeRef<TDataObject> entry = shop.manager.CreateObject(log);
    entry->Field(log.Fields().Item(0)).SetValue(Text("x"));
    TSqlBuilder builder;
    for (auto statement : {&TSqlBuilder::UpdateByKey, &TSqlBuilder::DeleteByKey}) {
        try {
            (builder.*statement)(*entry);
            ADD_FAILURE();
        } catch (const EDataError& e) {
            EXPECT_STREQ(e.what(), "No primary key");
        }
    }
}

TEST(SqlBuilderTest, ListItemsAreParametersNeverText) {
    ShopData shop;
    TSqlBuilder builder;
    VeRef<TDataObject> templ = shop.manager.CreateObject(shop.customer);
    templ->Field(shop.name).SetValue(MakeValueArray({Text("x') OR 1=1 --")}));
    TSqlStatement select = builder.SelectByExample(*templ);
    EXPECT_EQ(select.Text.find("OR 1=1"), std::string::npos);
    EXPECT_EQ(Describe(select.Params), (std::vector<std::string>{"String:x') OR 1=1 --"}));

    // An integer field cannot take a text item at all.
    templ->Field(shop.name).Reset();
    templ->Field(shop.score).SetValue(MakeValueArray({Text("1) OR 1=1 --")}));
    EXPECT_THROW(builder.SelectByExample(*templ), value::EtsRuntime);
}

TEST(SqlBuilderTest, HostileNamesStayNames) {
    ShopData shop;
    TTableInfo& table = shop.schema->AddTable({"T", "T", "we\"ird]; --"});
    TFieldInfo& key = table.AddField(
        {.Alias = "K", .Name = "k'\"]", .DataType = TDataType::Integer, .IsPrimary = true});
    table.AddIndex(true, true).AddField(key);
    VeRef<TDataObject> object = shop.manager.CreateObject(table);
    object->Field(key).SetValue(Int(1));
    struct Case {
        TDatabaseType type;
        std::string text;
    };
    const Case cases[] = {
        {TDatabaseType::Generic, R"(DELETE FROM "we""ird]; --" WHERE "k'""]" = ?)"},
        {TDatabaseType::Access, R"(DELETE FROM [we"ird]]; --] WHERE [k'"]]] = ?)"},
        {TDatabaseType::SqlServer, R"(DELETE FROM [we"ird]]; --] WHERE [k'"]]] = ?)"},
        {TDatabaseType::PostgreSQL, R"(DELETE FROM "we""ird]; --" WHERE "k'""]" = ?)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CreateSqlBuilder(c.type)->DeleteByKey(*object).Text, c.text);
}

TEST(SqlBuilderTest, LiteralsPerDialect) {
    ShopData shop;
    const double born = *ParseDateTime("2024-02-29 13:45:10");
    struct Case {
        TDatabaseType type;
        TFieldInfo* field;
        TtsValue value;
        std::string literal;
    };
    const Case cases[] = {
        {TDatabaseType::Generic, &shop.active, Int(1), "1"},
        {TDatabaseType::Generic, &shop.active, Text("no"), "0"},
        {TDatabaseType::Generic, &shop.born, TtsValue::FromDate(born), "'2024-02-29 13:45:10'"},
        {TDatabaseType::Generic, &shop.code, Text("{0A-1B}"), "'{0A-1B}'"},
        {TDatabaseType::Generic, &shop.name, Text("it's"), "'it''s'"},
        {TDatabaseType::Generic, &shop.photo, MakeByteArray("\x01\xab"), "0x01AB"},
        {TDatabaseType::Generic, &shop.score, Int(5), "5"},
        {TDatabaseType::Generic, &shop.score, TtsValue::Null(), "NULL"},
        {TDatabaseType::Access, &shop.name, Text("it's"), "'it''s'"},
        {TDatabaseType::Oracle, &shop.born, TtsValue::FromDate(born),
         "TO_DATE('2024-02-29 13:45:10', 'YYYY-MM-DD HH24:MI:SS')"},
        {TDatabaseType::Oracle, &shop.code, Text("{0A-1B}"), "'0A1B'"},
        {TDatabaseType::Oracle, &shop.code, MakeByteArray("\x0a\x1b"), "'0A1B'"},
        {TDatabaseType::Oracle, &shop.photo, MakeByteArray("\x01\xab"), "'01AB'"},
        {TDatabaseType::SQLite, &shop.active, TtsValue::FromBoolean(true), "1"},
        {TDatabaseType::SQLite, &shop.born, TtsValue::FromDate(std::floor(born)),
         "'2024-02-29 00:00:00'"},
        {TDatabaseType::SQLite, &shop.photo, MakeByteArray("\x01\xab"), "X'01AB'"},
        {TDatabaseType::PostgreSQL, &shop.active, TtsValue::FromBoolean(true), "TRUE"},
        {TDatabaseType::PostgreSQL, &shop.active, Int(0), "FALSE"},
        {TDatabaseType::PostgreSQL, &shop.born, TtsValue::FromDate(born),
         "TIMESTAMP '2024-02-29 13:45:10'"},
        {TDatabaseType::PostgreSQL, &shop.photo, MakeByteArray("\x01\xab"), "'\\x01AB'::bytea"},
        {TDatabaseType::PostgreSQL, &shop.score, TtsValue::Null(), "NULL"},
    };
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.literal);
        object->Field(*c.field).SetValue(c.value);
        EXPECT_EQ(CreateSqlBuilder(c.type)->LiteralValue(object->Field(*c.field)), c.literal);
    }
}

TEST(SqlBuilderTest, FormattedStatementsBreakLines) {
    ShopData shop;
    TSqlBuilder builder(true);
    VeRef<TDataObject> edited = EditedCustomer(shop);
    EXPECT_EQ(builder.UpdateByKey(*edited).Text,
              "UPDATE \"Customer\" \r\nSET  \r\n  \"FullName\" = ?, \r\n  \"Score\" =  NULL  "
              "\r\nWHERE  \r\n\"Id\" = ?");
}

TEST(SqlBuilderTest, DatabaseTypes) {
    TDatabaseType type;
    ASSERT_TRUE(FindDatabaseType("sqlserver", type));
    EXPECT_EQ(type, TDatabaseType::SqlServer);
    ASSERT_TRUE(FindDatabaseDisplayName("ms access", type));
    EXPECT_EQ(type, TDatabaseType::Access);
    ASSERT_TRUE(FindDatabaseType("PostgreSQL", type));
    EXPECT_EQ(DatabaseDisplayName(type), "PostgreSQL");
    EXPECT_FALSE(FindDatabaseType("Paradox", type));
    EXPECT_EQ(CreateSqlBuilder(TDatabaseType::Xml), nullptr);
}

} // namespace
} // namespace ozra::data
