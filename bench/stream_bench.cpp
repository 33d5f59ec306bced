// A compiled project loaded against the same project compiled from source,
// both through the project compiler from files, as `ozra gen.ozrabin` and
// `ozra gen.ozra` do. The project is a generated main template of about
// 10 MB (a class per table with functions, loops, conditions and output
// blocks) using a unit of helper functions. Reported in source bytes per
// second, so the two rates compare directly.
#include <benchmark/benchmark.h>

#include "compiled/project_compiler.h"
#include "compiled/tts_compiler.h"
#include "platform/whole_file.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kScriptSize = 10 * 1024 * 1024;

std::string Chunk(int n) {
    const std::string k = std::to_string(n);
    return "<.function column" + k +
           "(c, prefix).>\n"
           "    <.if (c.Nullable and prefix <> '').>[.= prefix ~ c.Name .]?<.else.>[.= c.Name "
           ".]<.end if.>\n"
           "<.end function.>\n"
           "<.foreach (t in System.Tables | t.Name <> 'sys" +
           k +
           "').>\n"
           "// Generated class for [.= t.Name .], do not edit.\n"
           "public partial class [.= t.Name .] : EntityBase\n"
           "{\n"
           "    <.foreach (c in t.Columns).>\n"
           "    private [.= c.Type .] _[.= column" +
           k +
           "(c, 'm') .]; [.. remark ..]\n"
           "    <.end foreach.>\n"
           "    <. count = count + " +
           k +
           " * 1.5 - $1F; label = \"row\" ~ ' ' ~ count; // tally\n"
           "       for (i = 1 to t.Columns.Count step 2) /* every other */ x = x + i end for .>\n"
           "    <.case (t.Kind = 1, 2, 3).>table<.elsecase (t.Kind = 4).>view<.end case.>\n"
           "    [.= helpers.Quote(t.Name) .]\n"
           "}\n"
           "<.end foreach.>\n";
}

// The project's files in a folder of their own, made once.
struct Project {
    Project() {
        folder = fs::temp_directory_path() / ("ozra-stream-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "helpers.ozra")
            << "<.function Quote(s).><.result = '\"' ~ s ~ '\"'.><.end function.>\n"
               "<.function Plural(s).><.result = s ~ 's'.><.end function.>\n";
        std::string text = "<.using('helpers.ozra', helpers).>\n<.var count = 0.>\n";
        for (int n = 0; text.size() < kScriptSize; ++n)
            text += Chunk(n);
        sourceBytes = text.size();
        std::ofstream(folder / "gen.ozra", std::ios::binary) << text;
        const auto compiled = ozra::compiled::TvmProjectCompiler::CompileFile(Source());
        ozra::platform::ReplaceWholeFile(Compiled(),
                                         ozra::compiled::TtsCompiler::Save(*compiled.Root));
        compiledBytes = fs::file_size(Compiled());
    }
    ~Project() { fs::remove_all(folder); }

    std::string Source() const { return (folder / "gen.ozra").string(); }
    std::string Compiled() const { return (folder / "gen.ozrabin").string(); }

    fs::path folder;
    std::size_t sourceBytes = 0;
    std::size_t compiledBytes = 0;
};

const Project& TheProject() {
    static const Project project;
    return project;
}

void Measure(benchmark::State& state, const std::string& file) {
    const Project& project = TheProject();
    for (auto _ : state) {
        auto script = ozra::compiled::TvmProjectCompiler::CompileFile(file);
        benchmark::DoNotOptimize(script.Root.Get());
        // Freeing the tree is the same work either way; it is not timed.
        state.PauseTiming();
        script.Root.Reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * project.sourceBytes));
    state.counters["compiled_MB"] = static_cast<double>(project.compiledBytes) / 1e6;
}

void BM_CompileFromSource(benchmark::State& state) {
    Measure(state, TheProject().Source());
}
BENCHMARK(BM_CompileFromSource)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadCompiled(benchmark::State& state) {
    Measure(state, TheProject().Compiled());
}
BENCHMARK(BM_LoadCompiled)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
