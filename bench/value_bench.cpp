// Speed of the value model's hot paths: copying values, integer addition
// through the operator table, case-insensitive text comparison and name
// lookup in a block-sized name table.
#include "value/name_table.h"
#include "value/operators.h"
#include "value/value.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace ozra::value;

void CopyValue(benchmark::State& state, const TtsValue& source) {
    for (auto _ : state) {
        TtsValue copy = source;
        benchmark::DoNotOptimize(copy);
    }
}

void BM_CopyInteger(benchmark::State& state) {
    CopyValue(state, TtsValue::FromInt32(42));
}
BENCHMARK(BM_CopyInteger);

void BM_CopyText(benchmark::State& state) {
    CopyValue(state, TtsValue::FromText("a text of some forty bytes, shared on copy"));
}
BENCHMARK(BM_CopyText);

void BM_CopyCountedObject(benchmark::State& state) {
    Ref<TtsObjectZero> object = MakeRef<TtsObjectZero>();
    CopyValue(state, TtsValue::FromCountedObject(object.Get()));
}
BENCHMARK(BM_CopyCountedObject);

void BM_AddIntegers(benchmark::State& state) {
    const TtsValue left = TtsValue::FromInt32(1234);
    const TtsValue right = TtsValue::FromInt32(5678);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TtsOperatorHelper::Binary('+', left, right, true));
    }
}
BENCHMARK(BM_AddIntegers);

// A running sum that leaves the 32-bit range early and goes on in 64 bits.
void BM_SumPast32Bits(benchmark::State& state) {
    for (auto _ : state) {
        TtsValue sum = TtsValue::FromInt32(INT32_MAX - 1000);
        for (std::int32_t i = 0; i < 1000; ++i) {
            sum = TtsOperatorHelper::Binary('+', sum, TtsValue::FromInt32(i), true);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_SumPast32Bits);

void BM_CompareTextsIgnoringCase(benchmark::State& state) {
    const TtsValue left = TtsValue::FromText("CustomerOrderLineIdentifier");
    const TtsValue right = TtsValue::FromText("customerorderlineidentifier");
    for (auto _ : state) {
        benchmark::DoNotOptimize(TtsOperatorHelper::Compare(left, right, false));
    }
}
BENCHMARK(BM_CompareTextsIgnoringCase);

// A table of about twenty names, as a block or a function has.
template <class Table> Table& TwentyNames() {
    static Table table;
    if (table.Count() == 0) {
        for (const char* name :
             {"result", "this",    "base", "index", "count", "name",        "value",
              "table",  "field",   "item", "text",  "line",  "target",      "filename",
              "schema", "columns", "keys", "i",     "j",     "CustomerName"}) {
            table.Add(name, MakeRef<TtsObjectZero>());
        }
    }
    return table;
}

template <class Table> void BM_FindHit(benchmark::State& state) {
    const Table& table = TwentyNames<Table>();
    const std::vector<std::string> names = {"Count", "customername", "TARGET", "i"};
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Find(names[next]));
        next = (next + 1) & 3;
    }
}
BENCHMARK_TEMPLATE(BM_FindHit, TtsUserIds);
BENCHMARK_TEMPLATE(BM_FindHit, TtsParameters);

template <class Table> void BM_FindMiss(benchmark::State& state) {
    const Table& table = TwentyNames<Table>();
    const std::vector<std::string> names = {"Counts", "customer", "System", "k"};
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Find(names[next]));
        next = (next + 1) & 3;
    }
}
BENCHMARK_TEMPLATE(BM_FindMiss, TtsUserIds);
BENCHMARK_TEMPLATE(BM_FindMiss, TtsParameters);

} // namespace

BENCHMARK_MAIN();
