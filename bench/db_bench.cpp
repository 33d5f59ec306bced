// The data layer on a real SQLite database, beside a plain C++ loop over the
// SQLite C library doing the same work as the ceiling: loading 100k rows
// into objects (data objects, or plain structs), and saving 10k changed
// objects in one transaction (object saves, or one prepared UPDATE rebound
// per row).
#include "data/connection.h"
#include "data/connection_provider.h"
#include "data/object_manager.h"
#include "data/sql_data_provider.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace ozra::data;
using ozra::value::TtsValue;

constexpr int Rows = 100000;
constexpr int Changed = 10000;

// A database file of Rows items, made once for the whole run.
class ItemFile {
  public:
    ItemFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ozra-bench-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        path_ = folder_ + "/items.db";
        sqlite3* db = nullptr;
        sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db,
                     "CREATE TABLE item (id INTEGER PRIMARY KEY, name VARCHAR(40), score INTEGER, "
                     "active BOOLEAN, note TEXT); BEGIN",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO item (name, score, active, note) VALUES (?, ?, ?, ?)",
                           -1, &insert, nullptr);
        for (int i = 0; i < Rows; ++i) {
            std::string name = "name" + std::to_string((i * 7919) % 1000);
            sqlite3_bind_text(insert, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 2, (i * 31) % 100);
            sqlite3_bind_int(insert, 3, i % 2);
            sqlite3_bind_text(insert, 4, "a note of moderate length", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ~ItemFile() { std::filesystem::remove_all(folder_); }
    const std::string& Path() const { return path_; }

  private:
    std::string folder_;
    std::string path_;
};

const ItemFile& Items() {
    static const ItemFile file;
    return file;
}

struct Schema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& table = schema->AddTable({"Item", "Item", "item"});
    TFieldInfo& id = table.AddField({.Alias = "Id",
                                     .Name = "id",
                                     .DataType = TDataType::Integer,
                                     .IsAutoIncrement = true,
                                     .IsPrimary = true});
    TFieldInfo& name = table.AddField({.Alias = "Name", .Name = "name", .Width = 40});
    TFieldInfo& score =
        table.AddField({.Alias = "Score", .Name = "score", .DataType = TDataType::Integer});
    TFieldInfo& active =
        table.AddField({.Alias = "Active", .Name = "active", .DataType = TDataType::Boolean});
    TFieldInfo& note =
        table.AddField({.Alias = "Note", .Name = "note", .DataType = TDataType::Text});

    Connection connection{"Data Source=" + Items().Path()};
    TConnectionProvider connectionProvider{&connection};
    TDataProvider provider{TDatabaseType::SQLite};
    TObjectManager manager;

    Schema() {
        table.AddIndex(true, true).AddField(id);
        provider.SetConnectionProvider(&connectionProvider);
        manager.SetDataProvider(&provider);
    }
};

struct PlainItem {
    int64_t id;
    std::string name;
    int64_t score;
    bool active;
    std::string note;
};

void BM_LoadObjects(benchmark::State& state) {
    Schema s;
    for (auto _ : state) {
        VeRef<TObjectSet> items = s.manager.LoadSet(s.table);
        if (items->Count() != Rows) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_LoadPlainSqlite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Items().Path().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    for (auto _ : state) {
        std::vector<PlainItem> items;
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT id, name, score, active, note FROM item", -1, &select,
                           nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto text = [&](int column) {
                return std::string(
                    reinterpret_cast<const char*>(sqlite3_column_text(select, column)),
                    sqlite3_column_bytes(select, column));
            };
            items.push_back({sqlite3_column_int64(select, 0), text(1),
                             sqlite3_column_int64(select, 2), sqlite3_column_int(select, 3) != 0,
                             text(4)});
        }
        sqlite3_finalize(select);
        if (items.size() != Rows) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(items);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_SaveChangedObjects(benchmark::State& state) {
    Schema s;
    VeRef<TObjectSet> items = s.manager.LoadSet(s.table);
    int round = 0;
    for (auto _ : state) {
        ++round;
        s.manager.StartTransaction();
        for (int i = 0; i < Changed; ++i) {
            TDataObject& item = items->Item(i * (Rows / Changed));
            item.Field(s.score).SetValue(TtsValue::FromInt32(round * 1000 + i));
            item.Save();
        }
        s.manager.Commit();
    }
    state.SetItemsProcessed(state.iterations() * Changed);
}

void BM_SavePlainSqlite(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Items().Path().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    std::vector<PlainItem> items(Changed);
    for (int i = 0; i < Changed; ++i)
        items[i].id = i * (Rows / Changed) + 1;
    int round = 0;
    for (auto _ : state) {
        ++round;
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* update = nullptr;
        sqlite3_prepare_v2(db, "UPDATE item SET score = ? WHERE id = ?", -1, &update, nullptr);
        for (int i = 0; i < Changed; ++i) {
            items[i].score = round * 1000 + i;
            sqlite3_bind_int64(update, 1, items[i].score);
            sqlite3_bind_int64(update, 2, items[i].id);
            if (sqlite3_step(update) != SQLITE_DONE) state.SkipWithError("update failed");
            sqlite3_reset(update);
        }
        sqlite3_finalize(update);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Changed);
}

BENCHMARK(BM_LoadObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPlainSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveChangedObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePlainSqlite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
