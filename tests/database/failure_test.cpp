// Failures lose nothing and say why: a constraint violation, a commit the
// database refuses, a locked database, a wrong port and a server that stops
// between two statements each give the database's own message and leave
// the rows as they were before the transaction.
#include "data/connection_provider.h"
#include "data/data_error.h"
#include "data/object_manager.h"
#include "data/sql_data_provider.h"
#include "test_database.h"

#include <regex>

namespace ozra::data::testing {
namespace {

using value::TtsValue;

struct FamilySchema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& parent = schema->AddTable({"Parent", "Parent", "parent"});
    TFieldInfo& parentId = parent.AddField(
        {.Alias = "Id", .Name = "id", .DataType = TDataType::Integer, .IsPrimary = true});
    TTableInfo& child = schema->AddTable({"Child", "Child", "child"});
    TFieldInfo& childId = child.AddField(
        {.Alias = "Id", .Name = "id", .DataType = TDataType::Integer, .IsPrimary = true});
    TFieldInfo& childParent =
        child.AddField({.Alias = "ParentId", .Name = "parent_id", .DataType = TDataType::Integer});
    FamilySchema() {
        parent.AddIndex(true, true).AddField(parentId);
        child.AddIndex(true, true).AddField(childId);
    }
};

class FailureTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        db->Execute("CREATE TABLE parent (id integer PRIMARY KEY); "
                    "CREATE TABLE child (id integer PRIMARY KEY, parent_id integer "
                    "REFERENCES parent (id) DEFERRABLE INITIALLY DEFERRED); "
                    "INSERT INTO parent (id) VALUES (1)");
        connection.SetConnection(db.get());
        provider.SetConnectionProvider(&connection);
        manager.SetDataProvider(&provider);
    }

    VeRef<TDataObject> Child(int id, int parentId) {
        VeRef<TDataObject> child = manager.CreateObject(s.child);
        child->Field(s.childId).SetValue(TtsValue::FromInt32(id));
        child->Field(s.childParent).SetValue(TtsValue::FromInt32(parentId));
        return child;
    }

    // The message of the error the call raises.
    template <class Call> static std::string ErrorOf(Call call) {
        try {
            call();
        } catch (const EDataError& error) {
            return error.what();
        }
        return "(no error)";
    }

    FamilySchema s;
    TConnectionProvider connection;
    TDataProvider provider{IsSqlite() ? TDatabaseType::SQLite : TDatabaseType::PostgreSQL};
    TObjectManager manager;
};

TEST_P(FailureTest, AConstraintViolationGivesTheDatabaseMessageAndRollsBackWhole) {
    ASSERT_TRUE(Child(1, 1)->Save());
    manager.StartTransaction();
    ASSERT_TRUE(Child(2, 1)->Save());
    std::string message = ErrorOf([&] { Child(1, 1)->Save(); });
    EXPECT_NE(message.find(IsSqlite() ? "UNIQUE constraint failed: child.id"
                                      : "duplicate key value violates unique constraint"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("\nSQL: INSERT INTO \"child\""), std::string::npos) << message;
    manager.Rollback();
    EXPECT_EQ(RowCount(*db, "child"), 1);
}

TEST_P(FailureTest, ACommitTheDatabaseRefusesRollsBackAndSaysWhy) {
    manager.StartTransaction();
    VeRef<TDataObject> orphan = Child(5, 99);
    ASSERT_TRUE(orphan->Save());
    std::string message = ErrorOf([&] { manager.Commit(); });
    EXPECT_NE(message.find(IsSqlite() ? "FOREIGN KEY constraint failed"
                                      : "violates foreign key constraint"),
              std::string::npos)
        << message;
    EXPECT_FALSE(manager.InTransaction());
    EXPECT_TRUE(orphan->Internal().IsNew());
    EXPECT_EQ(RowCount(*db, "child"), 0);

    // The connection is usable again: nothing of the transaction lingers.
    manager.StartTransaction();
    ASSERT_TRUE(Child(6, 1)->Save());
    manager.Commit();
    EXPECT_EQ(RowCount(*db, "child"), 1);
}

TEST_P(FailureTest, AnUnreachableServerOrFileSaysSoWithoutThePassword) {
    std::string target;
    if (IsSqlite()) {
        target = "Data Source=" + folder.Path + "nowhere.db";
    } else {
        // A port nothing listens on: the server's own, taken while it is
        // stopped would race; one below the private range is closed.
        target = std::regex_replace(connectionString, std::regex("Port=[0-9]+"), "Port=1");
    }
    Connection wrong(target);
    std::string message = ErrorOf([&] { wrong.Open(); });
    if (IsSqlite()) {
        EXPECT_NE(message.find("the file does not exist."), std::string::npos) << message;
        return;
    }
    EXPECT_NE(message.find("Connection refused"), std::string::npos) << message;
    EXPECT_NE(message.find("Pwd=***"), std::string::npos) << message;
    const std::string password =
        std::regex_replace(connectionString, std::regex(".*Pwd=([^;]*).*"), "$1");
    EXPECT_EQ(message.find(password), std::string::npos) << message;
}

OZRA_ON_EVERY_BACKEND(FailureTest);

class SqliteFailureTest : public FailureTest {};

TEST_P(SqliteFailureTest, ALockedDatabaseWaitsItsTimeoutThenSaysSo) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(connectionString.substr(12).c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    db->CommandTimeout = 1;
    std::string message = ErrorOf([&] { Child(1, 1)->Save(); });
    EXPECT_NE(message.find("database is locked"), std::string::npos) << message;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(Child(1, 1)->Save());
    EXPECT_EQ(RowCount(*db, "child"), 1);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, SqliteFailureTest, ::testing::Values(Backend::SQLite),
                         BackendName);

class PostgresFailureTest : public FailureTest {};

TEST_P(PostgresFailureTest, AServerThatStopsBetweenTwoStatementsLosesNothing) {
    ASSERT_TRUE(Child(1, 1)->Save());
    manager.StartTransaction();
    ASSERT_TRUE(Child(2, 1)->Save());
    Server("stop");
    std::string message = ErrorOf([&] { Child(3, 1)->Save(); });
    std::string rollback = ErrorOf([&] { manager.Rollback(); });
    Server("start");
    EXPECT_NE(message.find("\nThe connection to the database is lost.\nSQL: INSERT INTO"),
              std::string::npos)
        << message;
    EXPECT_FALSE(manager.InTransaction()) << rollback;
    Connection fresh(connectionString);
    EXPECT_EQ(RowCount(fresh, "child"), 1);
}

INSTANTIATE_TEST_SUITE_P(Postgres, PostgresFailureTest, ::testing::Values(Backend::PostgreSQL),
                         BackendName);

} // namespace
} // namespace ozra::data::testing
