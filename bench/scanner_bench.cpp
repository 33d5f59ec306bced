// Scanner throughput: a generated 10 MB template script pulled through
// `NextToken` to its end, as the parser would.
//
// The script mixes what real code-generation templates hold: lines of
// literal text with "[.= .]" output blocks, control lines in "<. .>" that
// swallow their line, assignments with numbers, strings and dotted names,
// and comments of every kind. A second case scans code only.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "front/scanner.h"

namespace {

using ozra::front::Scanner;
using ozra::front::ScannerSink;
using ozra::front::TokenKind;

constexpr std::size_t kScriptSize = 10 * 1024 * 1024;

class NullSink : public ScannerSink {
  public:
    void AddText(std::int32_t, std::int32_t, std::string_view text) override {
        benchmark::DoNotOptimize(text.data());
    }
    void OnError(std::int32_t, std::int32_t, const std::string&) override {}
};

const char* const kNames[] = {"Customer",      "OrderLine",      "t",     "c",
                              "Name",          "Type",           "index", "System.Tables",
                              "table.Columns", "column.DataType"};

std::string Pick(std::mt19937& random) {
    return kNames[random() % std::size(kNames)];
}

std::string TemplateChunk(std::mt19937& random) {
    const std::string a = Pick(random), b = Pick(random), n = std::to_string(random() % 10000);
    return "<.foreach (t in System.Tables | t.Name <> 'sys" + n +
           "').>\n"
           "// Generated class for [.= t.Name .], do not edit.\n"
           "public partial class [.= t.Name .] : EntityBase<[.= " +
           a +
           " .]>\n"
           "{\n"
           "    <.foreach (c in t.Columns).>\n"
           "    private [.= c.Type .] _[.= c.Name .]; [.. field remark ..]\n"
           "    public [.= c.Type .] [.= c.Name .] { get { return _[.= c.Name .]; } }\n"
           "    <.end foreach.>\n"
           "    <.. block remark\n"
           "        spanning lines ..>\n"
           "    <. count = count + " +
           n + " * 1.5 - $1F; label = \"" + b +
           "\" ~ ' row'; // tally\n"
           "       if (count >= 0x" +
           n + ") then /* big */ x = " + a +
           ".Length; end if .>\n"
           "}\n"
           "<.end foreach.>\n";
}

std::string CodeChunk(std::mt19937& random) {
    const std::string a = Pick(random), b = Pick(random), n = std::to_string(random() % 10000);
    return "    x = " + a + " + " + n + " * (y - 1.25) / $FF; s = 'text ' ~ \"" + b + "\"; list[" +
           n + "] += " + b +
           ".Count; // note\n"
           "    if (" +
           a + " <> nil and not done) then call " + b + "(x, ref y) end if\n";
}

template <typename Chunk> std::string MakeScript(Chunk chunk, std::string_view prefix) {
    std::mt19937 random(42);
    std::string script(prefix);
    while (script.size() < kScriptSize)
        script += chunk(random);
    return script;
}

void ScanToEnd(benchmark::State& state, const std::string& script) {
    NullSink sink;
    std::size_t tokens = 0;
    for (auto _ : state) {
        Scanner scanner(script, sink);
        while (scanner.NextToken().Kind != TokenKind::EndOfInput)
            ++tokens;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script.size()));
    state.counters["tokens/iteration"] =
        static_cast<double>(tokens) / static_cast<double>(state.iterations());
}

void BM_ScanTemplate(benchmark::State& state) {
    static const std::string script = MakeScript(TemplateChunk, "");
    ScanToEnd(state, script);
}
BENCHMARK(BM_ScanTemplate)->Unit(benchmark::kMillisecond);

void BM_ScanCodeOnly(benchmark::State& state) {
    static const std::string script = MakeScript(CodeChunk, "<.");
    ScanToEnd(state, script);
}
BENCHMARK(BM_ScanCodeOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
