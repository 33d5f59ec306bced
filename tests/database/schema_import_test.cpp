// Schema import on every back end: the catalogue fixture read into a
// schema document, compared as the saved document text, and the run-time
// schema created from it.
#include "data/schema_creator.h"
#include "data/schema_document.h"
#include "data/schema_import.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

class SchemaImportTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        LoadFixture(*db, "catalogue");
    }

    // Imports into the document and returns the saved text.
    std::string Import(const std::string& schemaName) {
        document.Assign(
            ImportSchema(*db, document.Manager(), SchemaHelperKind::Catalogue, schemaName));
        document.Save(folder.Path + "schema.xml");
        return folder.Read("schema.xml");
    }
    std::string Expected(const std::string& name) {
        return ReadTestFile(name + (IsSqlite() ? "_sqlite.xml" : "_postgres.xml"));
    }

    SchemaDocument document;
};

TEST_P(SchemaImportTest, CatalogueFixtureGivesTheExpectedDocument) {
    std::string saved = Import(IsSqlite() ? "" : "public");
    EXPECT_EQ(saved, Expected("catalogue_schema"));

    // The saved document reads back to the same text.
    SchemaDocument reloaded;
    reloaded.Load(folder.Path + "schema.xml");
    reloaded.Save(folder.Path + "again.xml");
    EXPECT_EQ(folder.Read("again.xml"), saved);
}

TEST_P(SchemaImportTest, CreatedSchemaRelatesTablesBothWays) {
    Import(IsSqlite() ? "" : "public");
    VeRef<TSchemaInfo> schema = CreateSchema(document.Set(TSDOSchema::Instance().DoTable()));

    TTableInfo* orders = schema->FindTable("orders");
    ASSERT_NE(orders, nullptr);
    EXPECT_TRUE(orders->IsDynamic());
    std::vector<std::string> keys;
    for (TFieldInfo& field : orders->PrimaryKeyFields())
        keys.push_back(field.Alias());
    EXPECT_EQ(keys, (std::vector<std::string>{"customer_id", "number"}));

    // Each relation: "child -> parent as ParentName / ChildName: pairs".
    std::vector<std::string> relations;
    for (TTableInfo& table : schema->Tables())
        for (TParentRelationInfo& relation : table.ParentRelations()) {
            std::string line = table.Alias() + " -> " + relation.ParentTable()->Alias() + " as " +
                               relation.ParentName() + " / " + relation.ChildName() + ":";
            for (TFieldInfoPair& pair : relation.FieldPairs())
                line += " " + pair.ChildField().Alias() + "=" + pair.ParentField().Alias();
            EXPECT_EQ(&relation.Counterpart()->Counterpart(), &relation);
            relations.push_back(line);
        }
    std::sort(relations.begin(), relations.end());
    EXPECT_EQ(relations, (std::vector<std::string>{
                             "invoice -> customer as customer / invoices: customer_id=id",
                             "order_line -> orders as orders / order_lines: "
                             "customer_id=customer_id order_number=number",
                             "orders -> customer as customer / orderss: customer_id=id",
                             "orders -> product as product / orderss: product_id=id",
                         }));
}

TEST_P(SchemaImportTest, SchemaNameKeepsOnlyThatSchemaAndPrefixesKeys) {
    Import("second");
    TObjectSet& tables = document.Set(TSDOSchema::Instance().DoTable());
    ASSERT_EQ(tables.Count(), 1);
    EXPECT_EQ(DocText(tables.Item(0), "Id"), "second.extra");
    TObjectSet& fields = document.Set(TSDOSchema::Instance().DoField());
    ASSERT_EQ(fields.Count(), 2);
    EXPECT_EQ(DocText(fields.Item(0), "Id"), "second.extra.id");
}

OZRA_ON_EVERY_BACKEND(SchemaImportTest);

TEST(SchemaHelperFactory, TestsSqliteAndPostgresBeforeTheSqlSubstring) {
    struct Case {
        const char* type;
        bool useSql;
        SchemaHelperKind kind;
    };
    const Case cases[] = {
        {"SQLite", true, SchemaHelperKind::Catalogue},
        {"PostgreSQL", true, SchemaHelperKind::Catalogue},
        {"MS Access", true, SchemaHelperKind::AccessCatalogue},
        {"SqlServer", false, SchemaHelperKind::SqlServerCatalogue},
        {"MS SQL Server", true, SchemaHelperKind::SqlServerQueries},
        {"Oracle", false, SchemaHelperKind::Catalogue},
        {"oracle", true, SchemaHelperKind::OracleQueries},
        {"Generic", true, SchemaHelperKind::Catalogue},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SchemaHelperFor(c.type, c.useSql), c.kind) << c.type << " " << c.useSql;
}

} // namespace
} // namespace ozra::data::testing
