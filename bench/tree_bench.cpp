// Speed of the syntax tree's hot paths: a name lookup that walks several
// nested blocks (what every reference does at its first resolution), and
// building and freeing a tree through the builder operations, as a parse
// does for each statement.
#include "front/tree_builder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace ozra::front;

ParseValue Token(std::string text) {
    ParseValue value;
    value.Position = 1;
    value.Length = static_cast<std::int32_t>(text.size());
    value.Text = std::move(text);
    return value;
}

// Blocks nested `depth` deep, each declaring twenty variables; the name
// looked up lives in the outermost block.
void BM_FindNodeThroughNestedBlocks(benchmark::State& state) {
    ParserCallbacks owner;
    TtsBuilder builder(owner, nullptr);
    for (int level = 0; level < state.range(0); ++level) {
        for (int i = 0; i < 20; ++i) {
            auto var = Token("var");
            auto name = Token("v" + std::to_string(level) + "_" + std::to_string(i));
            builder.VarStatement(var, name, name);
        }
        auto keyword = Token("if");
        auto condition = Token("c");
        auto reference = builder.NameRef(condition);
        builder.IfHead(keyword, keyword, reference);
    }
    const TtsNode& from = *builder.Current();
    for (auto _ : state) {
        benchmark::DoNotOptimize(from.FindNode("V0_7", NodeKind::Variable));
    }
}
BENCHMARK(BM_FindNodeThroughNestedBlocks)->Arg(1)->Arg(8);

// One loop with an assignment of a binary expression and an output
// statement per round: about the statement mix of a template.
void BM_BuildAndFreeStatements(benchmark::State& state) {
    ParserCallbacks owner;
    for (auto _ : state) {
        TtsBuilder builder(owner, nullptr);
        for (int i = 0; i < 100; ++i) {
            auto forKeyword = Token("for");
            auto loopName = Token("i");
            auto one = Token("1");
            auto ten = Token("10");
            auto start = builder.IntConst(one);
            auto end = builder.IntConst(ten);
            builder.ForHead(forKeyword, forKeyword, loopName, start, end);
            auto x = Token("x");
            auto plus = Token("+");
            auto target = builder.NameRef(x);
            auto left = builder.NameRef(x);
            auto right = builder.NameRef(loopName);
            auto sum = builder.BinaryOperator(left, plus, right);
            auto assign = Token("=");
            builder.AssignStatement(target, sum, target, assign, sum);
            builder.AddText(1, 4, "text");
            auto quest = Token("?");
            auto shown = builder.NameRef(x);
            builder.OutputStatement(quest, shown, shown, false);
            auto endKeyword = Token("end");
            builder.EndBlock(endKeyword, forKeyword, forKeyword);
        }
        builder.Finish(1000);
        benchmark::DoNotOptimize(builder.Root().Get());
    }
    state.SetItemsProcessed(state.iterations() * 100 * 4);
}
BENCHMARK(BM_BuildAndFreeStatements);

} // namespace

BENCHMARK_MAIN();
