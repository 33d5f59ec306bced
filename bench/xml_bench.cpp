// Loading and saving a large generated XML document through the simplified
// tree, next to pugixml's own parse and save of the same text: the tree's
// costs should stay within a small multiple of the parser's.
#include "libs/xml/xml_document.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

// About 50 MB: tables of fields with attributes, text and entities.
const std::string& LargeDocument() {
    static const std::string text = [] {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<schema name=\"big\">\n";
        for (int t = 0; xml.size() < 50u * 1024 * 1024; ++t) {
            xml += "  <table name=\"Table" + std::to_string(t) + "\" alias=\"t&amp;" +
                   std::to_string(t) + "\">\n";
            for (int f = 0; f < 20; ++f) {
                xml += "    <field name=\"Field" + std::to_string(f) +
                       "\" type=\"varchar\" size=\"40\" nullable=\"true\">Caf\xC3\xA9 &lt;" +
                       std::to_string(f) + "&gt; description text</field>\n";
            }
            xml += "  </table>\n";
        }
        xml += "</schema>\n";
        return xml;
    }();
    return text;
}

void PugiParse(benchmark::State& state) {
    const std::string& text = LargeDocument();
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void TreeLoad(benchmark::State& state) {
    const std::string& text = LargeDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(ozra::xml::ParseXml(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void PugiSave(benchmark::State& state) {
    pugi::xml_document document;
    document.load_buffer(LargeDocument().data(), LargeDocument().size());
    for (auto _ : state) {
        std::string out;
        struct Writer : pugi::xml_writer {
            std::string* Out;
            void write(const void* data, std::size_t size) override {
                Out->append(static_cast<const char*>(data), size);
            }
        } writer;
        writer.Out = &out;
        document.save(writer, "  ");
        benchmark::DoNotOptimize(out);
    }
}

void TreeSave(benchmark::State& state) {
    const ozra::xml::XmlElement tree = ozra::xml::ParseXml(LargeDocument());
    for (auto _ : state)
        benchmark::DoNotOptimize(ozra::xml::WriteXml(tree, {true, "UTF-8"}));
}

BENCHMARK(PugiParse)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(PugiSave)->Unit(benchmark::kMillisecond);
BENCHMARK(TreeSave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
