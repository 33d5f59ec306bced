// Schema documents: the fixed schema of the twelve entities, documents read
// and written through it, navigation between their objects, the run-time
// schema made from them, and the catalogue query texts of the query-based
// helpers.
#include "../support/temp_folder.h"
#include "data/data_error.h"
#include "data/schema_creator.h"
#include "data/schema_document.h"
#include "data/sql_schema_queries.h"

#include <gtest/gtest.h>

namespace ozra::data {
namespace {

constexpr const char* kDocument = R"(<?xml version="1.0"?>
<ObjectSpace>
  <ObjectSet Name="DoConfig">
    <Object Key="ConnectionString" Value="Data Source=shop.db" />
  </ObjectSet>
  <ObjectSet Name="DoTable">
    <Object Alias="Customer" Caption="Customer" Id="customer" Name="customer" />
    <Object Alias="Order" Caption="Order" Id="orders" Name="orders" />
    <Object Alias="Empty" Caption="Empty" Id="empty" Name="empty" />
  </ObjectSet>
  <ObjectSet Name="DoField">
    <Object Alias="Id" Caption="Id" DataType="1" Id="customer.id" IsPrimary="True" Name="id" Table_Id="customer" />
    <Object Alias="Id" Caption="Id" DataType="1" Id="orders.id" IsPrimary="True" IsAutoIncrement="True" Name="id" Table_Id="orders" />
    <Object Alias="CustomerId" Caption="CustomerId" DataType="1" Id="orders.customer_id" Name="customer_id" Table_Id="orders" />
    <Object Alias="Name" Caption="Name" DataType="9" Id="customer.name" Name="name" Table_Id="customer" Width="40" />
  </ObjectSet>
  <ObjectSet Name="DoRelation">
    <Object ChildName="Order" ChildTable_Id="orders" Id="fk" Name="fk" ParentName="Customer" ParentTable_Id="customer" />
  </ObjectSet>
  <ObjectSet Name="DoRelationField">
    <Object ChildField_Id="orders.customer_id" Id="fk.customer_id" ParentField_Id="customer.id" Relation_Id="fk" />
  </ObjectSet>
</ObjectSpace>
)";

class SchemaDocumentTest : public ::testing::Test {
  protected:
    void Load(std::string_view text) {
        folder.Write("doc.xml", text);
        document.Load(folder.Path + "doc.xml");
    }
    TObjectSet& Tables() { return document.Set(TSDOSchema::Instance().DoTable()); }

    ozra::testing::TempFolder folder;
    SchemaDocument document;
};

TEST(SchemaDocumentSchema, HasTheTwelveEntitiesInOrderWithTheirRelations) {
    TSDOSchema& sdo = TSDOSchema::Instance();
    std::vector<std::string> names;
    for (TTableInfo& table : sdo.Tables())
        names.push_back(table.Alias());
    EXPECT_EQ(names, (std::vector<std::string>{"DoConfig", "DoExtProperty", "DoField", "DoIndex",
                                               "DoIndexField", "DoMethod", "DoParameter",
                                               "DoPhysicalField", "DoRelation", "DoRelationField",
                                               "DoTable", "DoTemplate"}));
    std::vector<std::string> children;
    for (TChildRelationInfo& relation : sdo.DoTable().ChildRelations())
        children.push_back(relation.ChildName());
    EXPECT_EQ(children,
              (std::vector<std::string>{"Fields", "Indexs", "ChildRelations", "ParentRelations"}));
    EXPECT_EQ(sdo.DoField().FindField("Caption")->Name(), "Column_Name");
    EXPECT_EQ(sdo.DoTemplate().PrimaryKeyFields().Item(0).Alias(), "Name");
    EXPECT_EQ(ParentRelationOf(sdo.DoRelation(), "ChildTable").Counterpart()->ChildName(),
              "ParentRelations");
}

TEST_F(SchemaDocumentTest, NavigatesAndRoundTrips) {
    Load(kDocument);
    EXPECT_EQ(document.Config("connectionstring", ""), "Data Source=shop.db");
    EXPECT_EQ(document.Config("DatabaseName", "Other"), "Other");

    TDataObject& customer = Tables().Item(0);
    TObjectSet& fields = customer.ChildSet(ChildRelationOf(customer.TableInfo(), "Fields"));
    ASSERT_EQ(fields.Count(), 2);
    EXPECT_EQ(DocText(fields.Item(0), "Id"), "customer.id");
    EXPECT_EQ(DocText(fields.Item(1), "Id"), "customer.name");

    document.SetConfig("DatabaseName", "XML");
    document.Save(folder.Path + "saved.xml");
    SchemaDocument reloaded;
    reloaded.Load(folder.Path + "saved.xml");
    EXPECT_EQ(reloaded.Config("DatabaseName", ""), "XML");
    EXPECT_EQ(reloaded.Set(TSDOSchema::Instance().DoField()).Count(), 4);
}

TEST_F(SchemaDocumentTest, CreatesRunTimeTablesAndRelations) {
    Load(kDocument);
    VeRef<TSchemaInfo> schema = CreateSchema(Tables());
    ASSERT_EQ(schema->Tables().Count(), 3);
    TTableInfo& order = *schema->FindTable("Order");
    EXPECT_EQ(order.Name(), "orders");
    EXPECT_TRUE(order.AutoIncrementField()->Alias() == "Id");
    EXPECT_EQ(schema->FindTable("Empty")->Fields().Count(), 0);
    EXPECT_EQ(schema->FindTable("Customer")->FindField("Name")->Width(), 40);

    ASSERT_EQ(order.ParentRelations().Count(), 1);
    TParentRelationInfo& parent = order.ParentRelations().Item(0);
    EXPECT_EQ(parent.ParentName(), "Customer");
    EXPECT_EQ(parent.ChildName(), "Orders");
    EXPECT_EQ(parent.FieldPairs().Item(0).ChildField().Alias(), "CustomerId");
    TChildRelationInfo& child = schema->FindTable("Customer")->ChildRelations().Item(0);
    EXPECT_EQ(&child.Counterpart(), &parent);
    EXPECT_EQ(child.FieldPairs().Item(0).ParentField().Alias(), "Id");
}

TEST_F(SchemaDocumentTest, RefusesWhatIsNotASchemaDocument) {
    const std::string bad = "Bad XML file format or XML file not match the present schema.";
    for (
        const char* text :
        {R"(<ObjectSpace><ObjectSet Name="Tables"/></ObjectSpace>)",
         R"(<ObjectSpace><ObjectSet Name="DoTable"><Object Colour="red"/></ObjectSet></ObjectSpace>)"}) {
        try {
            Load(text);
            ADD_FAILURE() << text;
        } catch (const EDataError& error) {
            EXPECT_EQ(error.what(), bad) << text;
        }
    }
}

TEST_F(SchemaDocumentTest, NonNumericDataTypeStopsCreation) {
    std::string text = kDocument;
    text.replace(text.find("DataType=\"9\""), 12, "DataType=\"Unknown\"");
    Load(text);
    EXPECT_ANY_THROW(CreateSchema(Tables()));
}

TEST(CatalogueQueries, OracleOwnerIsAQuotedLiteral) {
    struct Case {
        const char* owner;
        const char* literal;
    };
    for (Case c : {Case{"SCOTT", "'SCOTT'"}, Case{"O'Neil", "'O''Neil'"}, Case{"", "' '"}}) {
        for (CatalogueQuery query :
             {CatalogueQuery::Tables, CatalogueQuery::Indexes, CatalogueQuery::IndexFields}) {
            std::string text = CatalogueQueryText(SqlDialectQueries::Oracle, query, c.owner);
            EXPECT_NE(text.find(c.literal), std::string::npos) << text;
            EXPECT_EQ(text.find("ORM"), std::string::npos) << text;
        }
    }
    EXPECT_EQ(
        CatalogueQueryText(SqlDialectQueries::Oracle, CatalogueQuery::Tables, "X").substr(0, 29),
        "SELECT 'X' AS SchemaName, tab");
    std::string tables =
        CatalogueQueryText(SqlDialectQueries::SqlServer, CatalogueQuery::Tables, "x");
    EXPECT_NE(tables.find("xtype = 'U' AND name <> 'dtproperties' ORDER BY id"), std::string::npos);
    std::string fields =
        CatalogueQueryText(SqlDialectQueries::SqlServer, CatalogueQuery::RelationFields, "");
    EXPECT_EQ(fields.substr(0, 80),
              "SELECT CAST(constid AS VarChar(100)) + '00' + CAST(keyno AS VarChar(100)) AS Id,");
}

} // namespace
} // namespace ozra::data
