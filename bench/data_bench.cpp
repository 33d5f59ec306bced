// The data layer's hot paths: reading rows into an object set, filtering and
// sorting a set in memory, and writing an insert statement.
#include "data/data_result.h"
#include "data/object_calculator.h"
#include "data/object_manager.h"
#include "data/object_reader.h"
#include "data/oql_meta.h"
#include "data/sql_builder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace ozra::data;
using ozra::value::TtsValue;

struct Schema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& table = schema->AddTable({"Item", "Item", "Item"});
    TFieldInfo& id = table.AddField(
        {.Alias = "Id", .Name = "Id", .DataType = TDataType::Integer, .IsPrimary = true});
    TFieldInfo& name = table.AddField({.Alias = "Name", .Name = "Name"});
    TFieldInfo& score =
        table.AddField({.Alias = "Score", .Name = "Score", .DataType = TDataType::Integer});
    TFieldInfo& active =
        table.AddField({.Alias = "Active", .Name = "Active", .DataType = TDataType::Boolean});
    TFieldInfo& note = table.AddField({.Alias = "Note", .Name = "Note"});
    TObjectManager manager;
    Schema() { table.AddIndex(true, true).AddField(id); }
};

// Rows generated on the fly: id, a name from a small pool, a score, a flag
// and a note.
class GeneratedResult : public TDataResult {
  public:
    explicit GeneratedResult(int rows) : rows_(rows) {}
    bool Eof() const override { return row_ >= rows_; }
    void Next() override { ++row_; }
    int FindColumn(std::string_view name) const override {
        static const char* columns[] = {"Id", "Name", "Score", "Active", "Note"};
        for (int i = 0; i < 5; ++i)
            if (name == columns[i]) return i;
        return -1;
    }
    TtsValue Value(int column) const override {
        switch (column) {
        case 0:
            return TtsValue::FromInt32(row_);
        case 1:
            return TtsValue::FromText("name" + std::to_string((row_ * 7919) % 1000));
        case 2:
            return TtsValue::FromInt32((row_ * 31) % 100);
        case 3:
            return TtsValue::FromBoolean(row_ % 2 == 0);
        default:
            return TtsValue::FromText("a note of moderate length");
        }
    }

  private:
    int rows_;
    int row_ = 0;
};

VeRef<TObjectSet> Load(Schema& s, int rows) {
    GeneratedResult result(rows);
    TObjectReader reader(s.manager, s.table, result, true);
    VeRef<TObjectSet> set = s.manager.CreateSet(s.table);
    while (!reader.Eof())
        set->Add(*reader.Next());
    return set;
}

void BM_LoadSet(benchmark::State& state) {
    Schema s;
    for (auto _ : state)
        benchmark::DoNotOptimize(Load(s, static_cast<int>(state.range(0))));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadSet)->Arg(1000)->Arg(10000);

void BM_SubSetByCondition(benchmark::State& state) {
    Schema s;
    VeRef<TObjectSet> set = Load(s, 10000);
    auto condition = TOQL::Test(s.score).Greater(50).And(TOQL::Test(s.name).NotEqual("name7"));
    for (auto _ : state)
        benchmark::DoNotOptimize(set->SubSet(condition));
    state.SetItemsProcessed(state.iterations() * set->Count());
}
BENCHMARK(BM_SubSetByCondition);

void BM_SortByTextThenNumber(benchmark::State& state) {
    Schema s;
    VeRef<TObjectSet> set = Load(s, 10000);
    auto order = TOQL::OrderBy(s.name).ThenBy(s.score).Desc();
    auto reverse = TOQL::OrderBy(s.id).Desc();
    for (auto _ : state) {
        set->Sort(order);
        state.PauseTiming();
        set->Sort(reverse);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * set->Count());
}
BENCHMARK(BM_SortByTextThenNumber);

void BM_InsertStatement(benchmark::State& state) {
    Schema s;
    VeRef<TDataObject> object = s.manager.CreateObject(s.table);
    object->Field(s.id).SetValue(TtsValue::FromInt32(1));
    object->Field(s.name).SetValue(TtsValue::FromText("name"));
    object->Field(s.score).SetValue(TtsValue::FromInt32(5));
    object->Field(s.active).SetValue(TtsValue::FromBoolean(true));
    object->Field(s.note).SetValue(TtsValue::Null());
    TSqliteSqlBuilder builder;
    for (auto _ : state)
        benchmark::DoNotOptimize(builder.Insert(*object));
}
BENCHMARK(BM_InsertStatement);

} // namespace

BENCHMARK_MAIN();
