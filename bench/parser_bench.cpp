// Front-end throughput: a generated 10 MB template script scanned, parsed
// and built into a syntax tree, as a compile does, reported in bytes/second.
#include <benchmark/benchmark.h>

#include <string>

#include "front/parser.h"

namespace {

constexpr std::size_t kScriptSize = 10 * 1024 * 1024;

// One class-per-table template with functions, loops, conditions, output
// blocks, remarks and comments; the numbers make each chunk different.
std::string Chunk(int n) {
    const std::string k = std::to_string(n);
    return "<.function column" + k + "(c, prefix).>\n"
           "    <.if (c.Nullable and prefix <> '').>[.= prefix ~ c.Name .]?<.else.>[.= c.Name .]<.end if.>\n"
           "<.end function.>\n"
           "<.foreach (t in System.Tables | t.Name <> 'sys" + k + "').>\n"
           "// Generated class for [.= t.Name .], do not edit.\n"
           "public partial class [.= t.Name .] : EntityBase\n"
           "{\n"
           "    <.foreach (c in t.Columns).>\n"
           "    private [.= c.Type .] _[.= column" + k + "(c, 'm') .]; [.. remark ..]\n"
           "    <.end foreach.>\n"
           "    <. count = count + " + k + " * 1.5 - $1F; label = \"row\" ~ ' ' ~ count; // tally\n"
           "       for (i = 1 to t.Columns.Count step 2) /* every other */ x = x + i end for .>\n"
           "    <.case (t.Kind = 1, 2, 3).>table<.elsecase (t.Kind = 4).>view<.end case.>\n"
           "}\n"
           "<.end foreach.>\n";
}

std::string Script() {
    std::string text;
    for (int n = 0; text.size() < kScriptSize; ++n) text += Chunk(n);
    return text;
}

void BM_ParseAndBuild(benchmark::State& state) {
    const std::string script = Script();
    for (auto _ : state) {
        ozra::front::TtsParser parser;
        parser.OnError = [](std::int32_t position, std::int32_t, const std::string& message) {
            throw std::runtime_error("unexpected error at " + std::to_string(position) + ": " +
                                     message);
        };
        auto root = parser.Parse(script);
        benchmark::DoNotOptimize(root.Get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_ParseAndBuild)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
