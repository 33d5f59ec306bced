// Five customers for query tests, with every kind of gap: a null score, a
// null flag, a null date, and two names that differ only in letter case.
//
//   id  name  score  active  born
//   1   Ann   3      true    2000-01-01
//   2   Bob   7      false   1990-05-05 12:00
//   3   Cid   null   true    null
//   4   ann   10     false   2010-10-10
//   5   Dee   5      null    1985-03-03
#pragma once

#include "data/date_text.h"
#include "data/oql_meta.h"
#include "data_fixture.h"

#include <optional>
#include <string>
#include <vector>

namespace ozra::data::fixture {

struct CustomerRow {
    int id;
    std::string name;
    std::optional<int> score;
    std::optional<bool> active;
    std::string born;
};

inline const std::vector<CustomerRow>& CustomerRows() {
    static const std::vector<CustomerRow> rows = {
        {1, "Ann", 3, true, "2000-01-01"},         {2, "Bob", 7, false, "1990-05-05 12:00:00"},
        {3, "Cid", std::nullopt, true, ""},        {4, "ann", 10, false, "2010-10-10"},
        {5, "Dee", 5, std::nullopt, "1985-03-03"},
    };
    return rows;
}

// The five customers as committed objects in one set.
inline VeRef<TObjectSet> LoadCustomers(ShopData& shop) {
    VeRef<TObjectSet> set = shop.manager.CreateSet(shop.customer);
    for (const CustomerRow& row : CustomerRows()) {
        VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
        auto place = [&](TFieldInfo& field, TtsValue value) {
            object->Field(field).InitValue(std::move(value));
            object->Field(field).Load();
        };
        place(shop.id, Int(row.id));
        place(shop.name, Text(row.name));
        place(shop.score, row.score ? Int(*row.score) : TtsValue::Null());
        place(shop.active, row.active ? TtsValue::FromBoolean(*row.active) : TtsValue::Null());
        place(shop.born,
              row.born.empty() ? TtsValue::Null() : TtsValue::FromDate(*ParseDateTime(row.born)));
        object->Load();
        set->Add(*object);
    }
    return set;
}

inline std::vector<int> IdsOf(const TObjectSet& set, const TFieldInfo& id) {
    std::vector<int> ids;
    for (TDataObject& object : set)
        ids.push_back(object.Field(id).AsInteger());
    return ids;
}

inline std::vector<std::string> Describe(const TSqlParams& params) {
    std::vector<std::string> out;
    for (const TSqlParam& param : params)
        out.push_back(std::string(ParamTypeName(param.Type)) + ":" + DataText(param.Value));
    return out;
}

inline TtsValue Day(const char* text) {
    return TtsValue::FromDate(*ParseDateTime(text));
}

struct ConditionCase {
    std::string label;
    TQueryCondition condition;
    std::string sql; // as the generic dialect writes it
    std::vector<std::string> params;
    std::vector<int> ids; // selected in memory
    std::string error{};  // or the error evaluating it in memory raises
    // For a condition only SQL can evaluate: what SQLite selects.
    std::optional<std::vector<int>> sqliteIds{};
};

inline std::vector<ConditionCase> ConditionCases(ShopData& shop) {
    auto name = TOQL::Test(shop.name);
    auto score = TOQL::Test(shop.score);
    auto active = TOQL::Test(shop.active);
    auto born = TOQL::Test(shop.born);
    const std::string invalid = "Invalid Condition Expression.";
    return {
        {"equal",
         TOQL::Condition(shop.name, Text("Ann")),
         R"("FullName" = ?)",
         {"String:Ann"},
         {1}},
        {"not equal", score.NotEqual(7), R"("Score" <> ?)", {"Integer:7"}, {1, 4, 5}},
        {"greater", score.Greater(5), R"("Score" > ?)", {"Integer:5"}, {2, 4}},
        {"greater or equal", score.GreaterOrEqual(5), R"("Score" >= ?)", {"Integer:5"}, {2, 4, 5}},
        {"lesser", score.Lesser(5), R"("Score" < ?)", {"Integer:5"}, {1}},
        {"lesser or equal", score.LesserOrEqual(5), R"("Score" <= ?)", {"Integer:5"}, {1, 5}},
        {"is null", score.IsNull(), R"("Score" IS NULL)", {}, {3}},
        {"is not null", score.IsNotNull(), R"("Score" IS NOT NULL)", {}, {1, 2, 4, 5}},
        {"between",
         score.Between(3, 7),
         R"("Score" BETWEEN ? AND ?)",
         {"Integer:3", "Integer:7"},
         {1, 2, 5}},
        {"not between",
         score.NotBetween(3, 7),
         R"("Score" NOT BETWEEN ? AND ?)",
         {"Integer:3", "Integer:7"},
         {4}},
        {"and",
         score.Greater(2).And(name.Equal("Ann")),
         R"("Score" > ? AND "FullName" = ?)",
         {"Integer:2", "String:Ann"},
         {1}},
        {"or",
         name.Equal("Bob").Or(score.Equal(10)),
         R"("FullName" = ? OR "Score" = ?)",
         {"String:Bob", "Integer:10"},
         {2, 4}},
        {"and binds tighter than or",
         name.Equal("Bob").Or(score.Greater(2)).And(active.Equal(true)),
         R"("FullName" = ? OR "Score" > ? AND "Active" = ?)",
         {"String:Bob", "Integer:2", "Boolean:True"},
         {1, 2}},
        {"group",
         TOQL::Group(name.Equal("Bob").Or(score.Greater(2))).And(active.Equal(true)),
         R"(("FullName" = ? OR "Score" > ?) AND "Active" = ?)",
         {"String:Bob", "Integer:2", "Boolean:True"},
         {1}},
        {"not with a null operand",
         TOQL::Not(score.Equal(7)),
         R"(NOT "Score" = ?)",
         {"Integer:7"},
         {1, 4, 5}},
        {"not of a group",
         TOQL::Not(name.Equal("Ann").Or(name.Equal("Bob"))),
         R"(NOT ("FullName" = ? OR "FullName" = ?))",
         {"String:Ann", "String:Bob"},
         {3, 4, 5}},
        {"not and",
         TOQL::Not(active.Equal(true)).And(score.Greater(6)),
         R"(NOT "Active" = ? AND "Score" > ?)",
         {"Boolean:True", "Integer:6"},
         {2, 4}},
        {"addition",
         TOQL::Test(shop.score).Add(1).Greater(5),
         R"("Score" + ? > ?)",
         {"Integer:1", "Integer:5"},
         {2, 4, 5}},
        {"product before difference",
         TOQL::Test(shop.score).Mul(2).Sub(1).Equal(5),
         R"("Score" * ? - ? = ?)",
         {"Integer:2", "Integer:1", "Integer:5"},
         {1}},
        {"difference then product",
         TOQL::Test(shop.score).Sub(1).Mul(2).Equal(12),
         R"("Score" - ? * ? = ?)",
         {"Integer:1", "Integer:2", "Integer:12"},
         {}},
        {"integer division",
         TOQL::Test(shop.score).Div(2).Equal(3),
         R"("Score" / ? = ?)",
         {"Integer:2", "Integer:3"},
         {2}},
        {"constant on the left",
         TOQL::Test(5).Lesser(shop.score),
         R"(? < "Score")",
         {"Integer:5"},
         {2, 4}},
        {"field against field",
         TOQL::Test(shop.score).Greater(shop.id),
         R"("Score" > "Id")",
         {},
         {1, 2, 4}},
        {"case-sensitive text", name.Greater("Zed"), R"("FullName" > ?)", {"String:Zed"}, {4}},
        {"truth values", active.Equal(true), R"("Active" = ?)", {"Boolean:True"}, {1, 3}},
        {"dates",
         born.GreaterOrEqual(Day("2000-01-01")),
         R"("Born" >= ?)",
         {"DateTime:2000-01-01"},
         {1, 4}},
        {"date and time",
         born.Lesser(Day("1990-05-05 12:00:01")),
         R"("Born" < ?)",
         {"DateTime:1990-05-05 12:00:01"},
         {2, 5}},
        // SQLite's LIKE ignores the case of ASCII letters.
        {"like",
         name.Like("A%"),
         R"("FullName" LIKE ?)",
         {"String:A%"},
         {},
         invalid,
         std::vector<int>{1, 4}},
        {"not like",
         name.NotLike("A%"),
         R"("FullName" NOT LIKE ?)",
         {"String:A%"},
         {},
         invalid,
         std::vector<int>{2, 3, 5}},
        {"in",
         score.In({Int(3), Int(7)}),
         R"("Score" IN (?, ?))",
         {"Integer:3", "Integer:7"},
         {},
         invalid,
         std::vector<int>{1, 2}},
        // A null score is in no list and not outside one either.
        {"not in",
         score.NotIn({Int(3)}),
         R"("Score" NOT IN (?))",
         {"Integer:3"},
         {},
         invalid,
         std::vector<int>{2, 4, 5}},
        {"empty in", score.In({}), R"("Score" IN (NULL))", {}, {}, invalid, std::vector<int>{}},
        {"concatenation",
         TOQL::Test(shop.name).Concat("x").Equal("Annx"),
         R"("FullName" + ? = ?)",
         {"String:x", "String:Annx"},
         {},
         invalid,
         std::vector<int>{1}},
    };
}

struct OrderCase {
    std::string label;
    TOrderBy order;
    std::string sql; // as the generic dialect writes it
    std::vector<int> ids;
};

inline std::vector<OrderCase> OrderCases(ShopData& shop) {
    return {
        {"text, upper case first",
         TOQL::OrderBy(shop.name),
         R"(ORDER BY "FullName")",
         {1, 2, 3, 5, 4}},
        {"descending, missing last",
         TOQL::OrderBy(shop.score).Desc(),
         R"(ORDER BY "Score" DESC)",
         {4, 2, 5, 1, 3}},
        {"truth values then text",
         TOQL::OrderBy(shop.active).ThenBy(shop.name),
         R"(ORDER BY "Active", "FullName")",
         {5, 2, 4, 1, 3}},
        {"dates descending then text",
         TOQL::OrderBy(shop.born).Desc().ThenBy(shop.name),
         R"(ORDER BY "Born" DESC, "FullName")",
         {4, 1, 2, 5, 3}},
        {"expression",
         TOQL::OrderBy(shop.score).Mul(-1),
         R"(ORDER BY "Score" * ?)",
         {3, 4, 2, 5, 1}},
        {"expression descending",
         TOQL::OrderBy(shop.score).Sub(1).Desc(),
         R"(ORDER BY "Score" - ? DESC)",
         {4, 2, 5, 1, 3}},
    };
}

} // namespace ozra::data::fixture
