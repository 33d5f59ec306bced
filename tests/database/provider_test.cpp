// The SQL data provider on every back end: objects saved, loaded, changed
// and deleted through the object manager, identities read back, and names
// and values that look like SQL kept as data.
#include "data/connection_provider.h"
#include "data/data_error.h"
#include "data/date_text.h"
#include "data/object_manager.h"
#include "data/oql_meta.h"
#include "data/sql_data_provider.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

using value::TtsValue;

const std::string hostileText = "O'Brien \"q\"; DROP TABLE x; -- /* ünïcödé 日本 */ ?";
const std::string hostileBytes = std::string("\0\x01\xff'\";--", 8);

// A table whose names and values would break any statement that pasted
// them into its text.
struct HostileSchema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& table = schema->AddTable({"Weird", "Weird", "we\"ird; --/*é"});
    TFieldInfo& id = table.AddField({.Alias = "Id",
                                     .Name = "id",
                                     .DataType = TDataType::Integer,
                                     .IsAutoIncrement = true,
                                     .IsPrimary = true});
    TFieldInfo& label = table.AddField({.Alias = "Label", .Name = "la'bel; -- /* ü"});
    TFieldInfo& amount =
        table.AddField({.Alias = "Amount", .Name = "amount", .DataType = TDataType::Decimal});
    TFieldInfo& flag =
        table.AddField({.Alias = "Flag", .Name = "flag", .DataType = TDataType::Boolean});
    TFieldInfo& stamp =
        table.AddField({.Alias = "Stamp", .Name = "stamp", .DataType = TDataType::DateTime});
    TFieldInfo& data =
        table.AddField({.Alias = "Data", .Name = "data", .DataType = TDataType::Blob});
    TFieldInfo& count =
        table.AddField({.Alias = "Count", .Name = "count", .DataType = TDataType::Integer});
    HostileSchema() { table.AddIndex(true, true).AddField(id); }
};

class ProviderTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        const std::string identity = IsSqlite() ? "INTEGER PRIMARY KEY" : "serial PRIMARY KEY";
        db->Execute("CREATE TABLE \"we\"\"ird; --/*é\" (id " + identity +
                    ", \"la'bel; -- /* ü\" varchar(100), amount numeric(12,2), flag boolean, "
                    "stamp timestamp, data " +
                    (IsSqlite() ? "BLOB" : "bytea") + ", count integer)");
        connection.SetConnection(db.get());
        provider.SetConnectionProvider(&connection);
        manager.SetDataProvider(&provider);
    }

    VeRef<TDataObject> NewRow(std::string_view text, int count) {
        VeRef<TDataObject> row = manager.CreateObject(s.table);
        row->Field(s.label).SetValue(TtsValue::FromText(text));
        row->Field(s.amount).SetValue(TtsValue::FromCurrencyScaled(12345600));
        row->Field(s.flag).SetValue(TtsValue::FromBoolean(true));
        row->Field(s.stamp).SetValue(TtsValue::FromDate(*ParseDateTime("2024-02-29 13:45:10")));
        row->Field(s.data).SetValue(MakeByteArray(hostileBytes));
        row->Field(s.count).SetValue(TtsValue::FromInt32(count));
        return row;
    }

    // The rows read afresh from the database, in key order.
    VeRef<TObjectSet> Reload() {
        VeRef<TObjectSet> rows = manager.LoadSet(s.table);
        rows->Sort(TOQL::OrderBy(s.id));
        return rows;
    }

    HostileSchema s;
    TConnectionProvider connection;
    TDataProvider provider{IsSqlite() ? TDatabaseType::SQLite : TDatabaseType::PostgreSQL};
    TObjectManager manager;
};

TEST_P(ProviderTest, SavedObjectsGetTheirIdentityAndReadBackExactly) {
    VeRef<TDataObject> first = NewRow(hostileText, 42);
    ASSERT_TRUE(first->Save());
    VeRef<TDataObject> second = NewRow("", 7);
    second->Field(s.amount).SetValue(TtsValue::Null());
    ASSERT_TRUE(second->Save());
    EXPECT_EQ(first->Field(s.id).AsInteger(), 1);
    EXPECT_EQ(second->Field(s.id).AsInteger(), 2);

    VeRef<TObjectSet> rows = Reload();
    ASSERT_EQ(rows->Count(), 2);
    TDataObject& row = rows->Item(0);
    EXPECT_EQ(row.Field(s.id).AsInteger(), 1);
    EXPECT_EQ(row.Field(s.label).AsString(), hostileText);
    EXPECT_EQ(row.Field(s.amount).AsCurrency(), 12345600);
    EXPECT_EQ(row.Field(s.flag).Value().Kind(), value::ValueKind::Boolean);
    EXPECT_TRUE(row.Field(s.flag).AsBoolean());
    EXPECT_EQ(row.Field(s.stamp).Value().Kind(), value::ValueKind::Date);
    EXPECT_EQ(*FormatDateTime(row.Field(s.stamp).AsDateTime()), "2024-02-29 13:45:10");
    ASSERT_TRUE(AsByteArray(row.Field(s.data).Value()));
    EXPECT_EQ(*AsByteArray(row.Field(s.data).Value()), hostileBytes);
    EXPECT_EQ(row.Field(s.count).AsInteger(), 42);
    EXPECT_EQ(rows->Item(1).Field(s.label).AsString(), "");
    EXPECT_TRUE(rows->Item(1).Field(s.amount).IsNull());
}

TEST_P(ProviderTest, ChangesAndDeletesReachTheDatabase) {
    for (int count : {1, 2, 3})
        ASSERT_TRUE(NewRow("row " + std::to_string(count), count)->Save());
    VeRef<TObjectSet> rows = Reload();
    TDataObject& second = rows->Item(1);
    second.Field(s.label).SetValue(TtsValue::FromText(hostileText));
    ASSERT_TRUE(second.Save());
    EXPECT_EQ(Reload()->Item(1).Field(s.label).AsString(), hostileText);

    VeRef<TDataObject> templ = manager.CreateObject(s.table);
    templ->Field(s.label).SetValue(TtsValue::FromText(hostileText));
    VeRef<TDataObject> source = manager.CreateObject(s.table);
    source->Field(s.count).SetValue(TtsValue::FromInt32(20));
    provider.UpdateByExample(*templ, *source);
    EXPECT_EQ(Reload()->Item(1).Field(s.count).AsInteger(), 20);

    provider.DeleteByExample(*templ);
    ASSERT_TRUE(rows->Item(0).Delete());
    VeRef<TObjectSet> left = Reload();
    ASSERT_EQ(left->Count(), 1);
    EXPECT_EQ(left->Item(0).Field(s.count).AsInteger(), 3);

    VeRef<TDataObject> found = manager.FindOne(*templ);
    EXPECT_FALSE(found);
    templ->Field(s.label).SetValue(TtsValue::FromText("row 3"));
    found = manager.FindOne(*templ);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Field(s.id).AsInteger(), 3);
}

TEST_P(ProviderTest, ARolledBackTransactionLeavesNothing) {
    ASSERT_TRUE(NewRow("kept", 1)->Save());
    manager.StartTransaction();
    VeRef<TDataObject> row = NewRow("dropped", 2);
    ASSERT_TRUE(row->Save());
    VeRef<TObjectSet> before = Reload();
    manager.Rollback();
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(Reload()->Count(), 1);
}

TEST_P(ProviderTest, StatementErrorsNameTheStatementAndItsParameters) {
    try {
        connection.OpenQuery("SELECT * FROM missing WHERE a = ? AND b = ?",
                             {{TParamType::Integer, TtsValue::FromInt32(1)},
                              {TParamType::String, TtsValue::FromText("x")}});
        FAIL() << "the query ran";
    } catch (const EDataError& error) {
        std::string message = error.what();
        EXPECT_NE(message.find(IsSqlite() ? "no such table: missing"
                                          : "relation \"missing\" does not exist"),
                  std::string::npos)
            << message;
        const std::string tail = "\nSQL: SELECT * FROM missing WHERE a = ? AND b = ?\nPARAMS: 1, x";
        EXPECT_EQ(message.substr(message.size() - std::min(message.size(), tail.size())), tail);
    }
}

TEST_P(ProviderTest, ACommandTimeoutStopsALongStatement) {
    db->CommandTimeout = 1;
    const std::string endless =
        IsSqlite() ? "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                     "SELECT COUNT(*) FROM n"
                   : "SELECT pg_sleep(30)";
    try {
        db->Query(endless);
        FAIL() << "the statement ran to its end";
    } catch (const EDataError& error) {
        std::string message = error.what();
        EXPECT_NE(message.find(IsSqlite() ? "The command timed out after 1 seconds."
                                          : "canceling statement due to statement timeout"),
                  std::string::npos)
            << message;
    }
    db->CommandTimeout = DefaultCommandTimeout;
    EXPECT_EQ(Scalar(*db, "SELECT 1 + 1"), "2");
}

TEST_P(ProviderTest, ParametersBindAsTheirTypeOrTheirValueSays) {
    std::unique_ptr<QueryResult> row =
        db->Query("SELECT ? + 1, ?, ?", {{TParamType::None, TtsValue::FromInt32(41)},
                                         {TParamType::Integer, TtsValue::FromDouble(2.6)},
                                         {TParamType::None, TtsValue::FromText(hostileText)}});
    ASSERT_FALSE(row->Eof());
    EXPECT_EQ(DataText(row->Value(0)), "42");
    EXPECT_EQ(DataText(row->Value(1)), "3");
    EXPECT_EQ(DataText(row->Value(2)), hostileText);
}

OZRA_ON_EVERY_BACKEND(ProviderTest);

TEST(ProviderWiringTest, MissingPartsSaySo) {
    const auto message = [](auto call) {
        try {
            call();
        } catch (const EDataError& error) {
            return std::string(error.what());
        }
        return std::string("(no error)");
    };
    TDataProvider provider(TDatabaseType::SQLite);
    EXPECT_EQ(message([&] { provider.StartTransaction(); }),
              "No connection provider assigned to data provider");
    TConnectionProvider connection;
    EXPECT_EQ(message([&] { connection.ExecuteCommand("SELECT 1", {}); }),
              "No database assigned to connection provider");
    Connection empty;
    EXPECT_EQ(message([&] { empty.Open(); }), "The connection string is empty.");
    EXPECT_EQ(message([] { TDataProvider xml(TDatabaseType::Xml); }),
              "The Xml database type has no SQL data provider");
}

} // namespace
} // namespace ozra::data::testing
