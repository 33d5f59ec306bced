// Object queries: the SQL each tree renders to, and the objects it selects
// or the order it gives in memory.
#include "data/data_error.h"
#include "data/object_calculator.h"
#include "data/oql_meta.h"
#include "data/sql_builder.h"
#include "oql_fixture.h"

#include <gtest/gtest.h>

namespace ozra::data {
namespace {

using fixture::ConditionCase;
using fixture::ConditionCases;
using fixture::Describe;
using fixture::IdsOf;
using fixture::Int;
using fixture::LoadCustomers;
using fixture::OrderCase;
using fixture::OrderCases;
using fixture::ShopData;
using fixture::Text;
using value::TtsValue;

TEST(OqlTest, ConditionsRenderAndMatch) {
    ShopData shop;
    VeRef<TObjectSet> customers = LoadCustomers(shop);
    TSqlBuilder generic;
    for (const ConditionCase& c : ConditionCases(shop)) {
        SCOPED_TRACE(c.label);
        TSqlStatement sql = c.condition.ToSql(&generic);
        EXPECT_EQ(sql.Text, c.sql);
        EXPECT_EQ(Describe(sql.Params), c.params);
        try {
            EXPECT_EQ(IdsOf(*customers->SubSet(c.condition), shop.id), c.ids);
            EXPECT_EQ(c.error, "");
        } catch (const EDataError& e) {
            EXPECT_EQ(e.what(), c.error);
        }
    }
}

TEST(OqlTest, DialectsWriteLeavesAndOperators) {
    ShopData shop;
    auto condition = TOQL::Test(shop.name).Concat("x").Equal("Annx");
    struct Case {
        const TSqlBuilder* builder;
        std::string sql;
    };
    TAccessSqlBuilder access;
    TSqliteSqlBuilder sqlite;
    TPostgreSqlBuilder postgres;
    TOracleSqlBuilder oracle;
    const Case cases[] = {
        {nullptr, R"("Customer"."FullName" + ? = ?)"},
        {&access, "[FullName] + ? = ?"},
        {&oracle, R"("FullName" + ? = ?)"},
        {&sqlite, R"("FullName" || ? = ?)"},
        {&postgres, R"("FullName" || ? = ?)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(condition.ToSql(c.builder).Text, c.sql);
}

TEST(OqlTest, ConditionOnOneObjectsField) {
    ShopData shop;
    VeRef<TObjectSet> customers = LoadCustomers(shop);
    TDataField& bobScore = customers->Item(1).Field(shop.score);
    auto condition = TOQL::Test(shop.score).Greater(bobScore);
    TSqlStatement sql = condition.ToSql();
    EXPECT_EQ(sql.Text, R"("Customer"."Score" > ?)");
    EXPECT_EQ(Describe(sql.Params), (std::vector<std::string>{"Integer:7"}));
    EXPECT_EQ(customers->CountWhere(condition), 1);
    EXPECT_EQ(customers->FirstWhere(condition), &customers->Item(3));
}

TEST(OqlTest, FormattedRenderingBreaksLines) {
    ShopData shop;
    auto condition =
        TOQL::Condition(shop.name, Text("Ann")).And(TOQL::Condition(shop.score, Int(3)));
    EXPECT_EQ(condition.ToSql(nullptr, true).Text,
              "\"Customer\".\"FullName\" = ? AND\r\n  \"Customer\".\"Score\" = ?");
}

TEST(OqlTest, OrderingRendersAndSorts) {
    ShopData shop;
    TSqlBuilder generic;
    for (const OrderCase& c : OrderCases(shop)) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.order.ToSql(&generic).Text, c.sql);
        VeRef<TObjectSet> customers = LoadCustomers(shop);
        customers->Sort(c.order);
        EXPECT_EQ(IdsOf(*customers, shop.id), c.ids);
    }
}

TEST(OqlTest, SortingFailsCleanlyAndLeavesTheSetAlone) {
    ShopData shop;
    VeRef<TObjectSet> orders = shop.manager.CreateSet(shop.order);
    for (const char* amount : {"4", "2.5", "1"}) {
        VeRef<TDataObject> order = shop.manager.CreateObject(shop.order);
        order->Field(shop.amount).SetValue(Text(amount));
        orders->Add(*order);
    }
    try {
        orders->Sort(TOQL::OrderBy(shop.amount));
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "'2.5' is not a valid integer value");
    }
    EXPECT_EQ(orders->Item(1).Field(shop.amount).AsString(), "2.5");

    // A condition is no order, and an order no condition.
    try {
        TObjectComparer comparer(TOQL::Condition(shop.amount, Int(1)));
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "Invalid OrderBy Expression.");
    }
    try {
        TObjectMatcher matcher(TOQL::OrderBy(shop.amount));
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "Invalid Condition Expression.");
    }
}

TEST(OqlTest, BuildingDoesNotChangeTheOperands) {
    ShopData shop;
    auto first = TOQL::Condition(shop.name, Text("Ann"));
    auto second = TOQL::Condition(shop.score, Int(3));
    auto both = first;
    both.And(second);
    second.Or(first);
    EXPECT_EQ(first.ToSql().Text, R"("Customer"."FullName" = ?)");
    EXPECT_EQ(both.ToSql().Text, R"("Customer"."FullName" = ? AND "Customer"."Score" = ?)");
}

} // namespace
} // namespace ozra::data
