// Regex work over a 5 MB text: counting matches and replacing every match,
// once on raw PCRE2 with JIT (the yardstick) and once through the binding
// (the abstract regex layer, and the string library's script methods
// reached through the host as a script reaches them). The binding's goal is
// to cost at most 10% over raw PCRE2.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "libs/match_base_lib.h"
#include "libs/regex/regex_base.h"
#include "libs/string_lib.h"
#include "runtime/host.h"
#include "runtime/result.h"

#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <string>

namespace {

using namespace ozra;

constexpr const char* CountPattern = R"(\b\w+ing\b)";
constexpr const char* ReplacePattern = R"(\d+)";

// About 5 MB of words, numbers and punctuation, the same on every run.
const std::string& Text() {
    static const std::string text = [] {
        const char* words[] = {"running",  "table", "42",    "string", "schema", "7",
                               "building", "field", "index", "1999",   "thing",  "value"};
        std::string out;
        std::uint32_t seed = 12345;
        while (out.size() < 5u * 1024 * 1024) {
            seed = seed * 1103515245u + 12345u;
            out += words[(seed >> 16) % 12];
            out += (seed & 7) == 0 ? ".\n" : " ";
        }
        return out;
    }();
    return text;
}

pcre2_code* RawCompile(const char* pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED,
                                     0, &error, &offset, nullptr);
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    return code;
}

void RawCount(benchmark::State& state) {
    const std::string& text = Text();
    pcre2_code* code = RawCompile(CountPattern);
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    for (auto _ : state) {
        std::int64_t count = 0;
        PCRE2_SIZE start = 0;
        while (pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), start, 0,
                           data, nullptr) > 0) {
            const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
            ++count;
            start = ov[1] > ov[0] ? ov[1] : ov[0] + 1;
        }
        benchmark::DoNotOptimize(count);
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
}
BENCHMARK(RawCount)->Unit(benchmark::kMillisecond);

void RawReplace(benchmark::State& state) {
    const std::string& text = Text();
    pcre2_code* code = RawCompile(ReplacePattern);
    const auto* replacement = reinterpret_cast<PCRE2_SPTR>("<$0>");
    std::string out(text.size() * 2, '\0');
    for (auto _ : state) {
        PCRE2_SIZE length = out.size();
        pcre2_substitute(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0,
                         PCRE2_SUBSTITUTE_GLOBAL, nullptr, nullptr, replacement,
                         PCRE2_ZERO_TERMINATED, reinterpret_cast<PCRE2_UCHAR*>(out.data()),
                         &length);
        benchmark::DoNotOptimize(length);
    }
    pcre2_code_free(code);
}
BENCHMARK(RawReplace)->Unit(benchmark::kMillisecond);

void BindingCount(benchmark::State& state) {
    const regex::SharedText text(Text());
    for (auto _ : state) {
        auto regex = regex::RegexClass.Create(CountPattern, "C", 0);
        std::int64_t count = 0;
        for (auto m = regex->Match(text); m->Success(); m->NextMatch())
            ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BindingCount)->Unit(benchmark::kMillisecond);

void BindingReplace(benchmark::State& state) {
    const regex::SharedText text(Text());
    for (auto _ : state) {
        auto regex = regex::RegexClass.Create(ReplacePattern, "C", 0);
        benchmark::DoNotOptimize(regex->Replace(text, "<$&>"));
    }
}
BENCHMARK(BindingReplace)->Unit(benchmark::kMillisecond);

// «text.RegexMatchs(pattern)» and «text.RegexReplace(pattern, "<$&>")» as a
// script calls them.
void ScriptMethod(benchmark::State& state, const char* method, std::vector<std::string> args) {
    auto host = value::MakeRef<runtime::TtsHost>();
    value::MakeRef<libs::TtsLibString>(*host);
    value::MakeRef<libs::raw::TtsLibMatch>(*host);
    runtime::TtsResult context(host.Get());
    front::TtsExpressions list;
    for (const std::string& arg : args) {
        auto constant = value::MakeRef<front::TtsConst>(nullptr);
        constant->OwnValue = value::TtsValue::FromText(arg);
        list.Add(std::move(constant));
    }
    const value::TtsValue text = value::TtsValue::FromText(Text());
    for (auto _ : state) {
        runtime::TtsHostValue value(text);
        host->CallMethod(value, method, context, &list);
        benchmark::DoNotOptimize(value.Value());
    }
}
BENCHMARK_CAPTURE(ScriptMethod, RegexMatchs, "RegexMatchs", {CountPattern})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScriptMethod, RegexReplace, "RegexReplace", {ReplacePattern, "<$&>"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
