// One query, two engines: on a database whose schema was imported from the
// live catalogue, each condition selects the same objects when the
// database runs it as SQL and when it is evaluated over the loaded set.
#include "data/database_module.h"
#include "data/oql_meta.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

class OqlAgreementTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        std::ifstream file(std::string(OZRA_EXAMPLES_DIR) + "/shop/shop.sql", std::ios::binary);
        std::stringstream sql;
        sql << file.rdbuf();
        db->Execute(sql.str());
        db->Close();
        database.ImportSchema(connectionString, IsSqlite() ? "SQLite" : "PostgreSQL",
                              IsSqlite() ? "" : "public", false);
    }

    static std::vector<std::string> Ids(TObjectSet& set) {
        std::vector<std::string> ids;
        for (TDataObject& object : set)
            ids.push_back(object.FieldByAlias("id")->AsString());
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    DatabaseModule database;
};

TEST_P(OqlAgreementTest, ConditionsSelectTheSameObjectsInSqlAndInMemory) {
    TTableInfo& customer = *database.RuntimeSchema().FindTable("customer");
    TFieldInfo& name = *customer.FindField("name");
    TFieldInfo& email = *customer.FindField("email");
    TFieldInfo& id = *customer.FindField("id");
    struct Case {
        const char* label;
        TQueryCondition condition;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {"equal", TOQL::Condition(name, value::TtsValue::FromText("Alan Turing")), {"2"}},
        {"is null", TOQL::Test(email).IsNull(), {"2"}},
        {"greater or named",
         TOQL::Test(id).Greater(1).Or(TOQL::Test(name).Equal("Ada Byron")),
         {"1", "2"}},
        {"between and not null",
         TOQL::Test(id).Between(1, 2).And(TOQL::Test(email).IsNotNull()),
         {"1"}},
    };
    VeRef<TObjectSet> all = database.Data().LoadSet(customer);
    TSqlBuilder& builder = database.Data().GetDataProvider().GetOqlBuilder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TSqlStatement where = c.condition.ToSql(&builder);
        VeRef<TObjectSet> inSql = database.Data().LoadSet(
            customer, "SELECT * FROM customer WHERE " + where.Text, where.Params);
        EXPECT_EQ(Ids(*inSql), c.ids);
        EXPECT_EQ(Ids(*all->SubSet(c.condition)), c.ids);
    }
}

OZRA_ON_EVERY_BACKEND(OqlAgreementTest);

} // namespace
} // namespace ozra::data::testing
