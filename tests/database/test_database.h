// A fresh database for every test, on each back end: a new SQLite file, or
// the PostgreSQL database of scripts/with-postgres emptied. Tests written
// on DatabaseTest run once per back end (instances Sqlite/... and
// Postgres/...); the PostgreSQL ones skip when no server was started.
#pragma once

#include "../support/temp_folder.h"
#include "data/connection.h"
#include "data/variant_array.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ozra::data::testing {

enum class Backend { SQLite, PostgreSQL };

inline std::string ReadTestFile(const std::string& name) {
    std::ifstream file(std::string(OZRA_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DatabaseTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override {
        if (GetParam() == Backend::SQLite) {
            std::string file = folder.Path + "test.db";
            sqlite3* created = nullptr;
            sqlite3_open_v2(file.c_str(), &created, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr);
            sqlite3_close(created);
            connectionString = "Data Source=" + file;
        } else {
            const char* server = std::getenv("OZRA_TEST_PG");
            if (!server) GTEST_SKIP() << "no PostgreSQL server: run under scripts/with-postgres";
            connectionString = server;
            Connection reset(connectionString);
            reset.Execute("DROP SCHEMA IF EXISTS second CASCADE; DROP SCHEMA public CASCADE; "
                          "CREATE SCHEMA public");
        }
        db = std::make_unique<Connection>(connectionString);
    }

    bool IsSqlite() const { return GetParam() == Backend::SQLite; }

    // The schema of data/NAME_sqlite.sql or data/NAME_postgres.sql.
    void LoadFixture(Connection& connection, const std::string& name) {
        connection.Execute(ReadTestFile(name + (IsSqlite() ? "_sqlite.sql" : "_postgres.sql")));
    }

    // The first column of the first row, as text.
    static std::string Scalar(Connection& connection, const std::string& sql,
                              const TSqlParams& params = {}) {
        std::unique_ptr<QueryResult> result = connection.Query(sql, params);
        if (result->Eof()) return "(no row)";
        return DataText(result->Value(0));
    }
    static int RowCount(Connection& connection, const std::string& table) {
        return std::stoi(Scalar(connection, "SELECT COUNT(*) FROM " + table));
    }

    // Stops or starts the PostgreSQL server.
    static void Server(const std::string& action) {
        std::string command = std::string(std::getenv("OZRA_TEST_PG_CONTROL")) + " " + action;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    ozra::testing::TempFolder folder;
    std::string connectionString;
    std::unique_ptr<Connection> db;
};

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

} // namespace ozra::data::testing

// Runs the tests of a DatabaseTest suite on every back end.
#define OZRA_ON_EVERY_BACKEND(suite)                                                               \
    INSTANTIATE_TEST_SUITE_P(Sqlite, suite,                                                        \
                             ::testing::Values(::ozra::data::testing::Backend::SQLite),            \
                             ::ozra::data::testing::BackendName);                                  \
    INSTANTIATE_TEST_SUITE_P(Postgres, suite,                                                      \
                             ::testing::Values(::ozra::data::testing::Backend::PostgreSQL),        \
                             ::ozra::data::testing::BackendName)
