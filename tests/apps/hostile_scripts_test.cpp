// Hostile scripts through the ozra program: whatever they do, it ends with
// an exit status and, for a failure, a message; never with a signal (these
// tests run under AddressSanitizer too).
#include "../support/run_program.h"
#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ozra::app {
namespace {

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// 150,000 objects, each holding the one made before it; the whole chain is
// freed when the run ends.
std::string Chain(std::string_view make, std::string_view link) {
    return "<.\nclass Node()\n  var nxt = 0\nend class\nvar head = 0\n"
           "for (i = 1 to 150000)\n  var cur = " +
           std::string(make) + "\n  " + std::string(link) + "\n  head = cur\nend for\n.>done";
}

std::string LongSum() {
    return "<.var x = 1" + Repeat(" + 1", 80000) + ".>";
}

std::string NestedIfs() {
    return Repeat("<.if (true).>", 100000) + "x" + Repeat("<.end if.>", 100000);
}

struct Hostile {
    const char* Name;
    std::string Script;
    std::vector<std::string> Arguments;
    int Status;
    std::string Out;
    std::string Err;
};

void PrintTo(const Hostile& c, std::ostream* out) {
    *out << c.Name;
}

const char* const TooDeep = "syntax tree nested more than 10000 levels deep.\n";

// Each case is a test of its own, so that the slow ones run side by side.
const Hostile HostileCases[] = {
    {"ScriptObjects", Chain("Node()", "cur.nxt = head"), {"hostile.ozra"}, 0, "done", ""},
    {"Lists", Chain("System.List.List()", "cur.Add(head)"), {"hostile.ozra"}, 0, "done", ""},
    {"HashTables",
     Chain("System.List.Hashtable()", "cur.Add(\"k\", head)"),
     {"hostile.ozra"},
     0,
     "done",
     ""},
    {"PropertyLists",
     Chain("System.List.SettingList()", "cur.nxt = head"),
     {"hostile.ozra"},
     0,
     "done",
     ""},
    {"XmlDocuments",
     Chain("System.XML.Document(\"r\")", "var p = cur.Root().Props()\n  p.nxt = head"),
     {"hostile.ozra"},
     0,
     "done",
     ""},
    {"FreeingALongSum", LongSum(), {"--check", "hostile.ozra"}, 0, "", ""},
    {"FreeingNestedIfs", NestedIfs(), {"--check", "hostile.ozra"}, 0, "", ""},
    {"DumpingALongSum", LongSum(), {"--dump-tree", "hostile.ozra"}, 1, "", TooDeep},
    {"DumpingNestedIfs", NestedIfs(), {"--dump-tree", "hostile.ozra"}, 1, "", TooDeep},
    {"XmlLoadedEverDeeper",
     "<.\nvar open = \"\"\nvar close = \"\"\nfor (i = 1 to 900)\n  open = open ~ \"<a>\"\n"
     "  close = close ~ \"</a>\"\nend for\nvar d = System.XML.Document(\"r\")\n"
     "for (round = 1 to 40)\n  var n = d.Root()\n  while (n.Nodes().Count() > 0)\n"
     "    n = n.Nodes()[0]\n  end while\n  n.LoadString(open ~ close)\nend for\n"
     "?? d.ToString().Length\n.>",
     {"hostile.ozra"},
     1,
     "",
     "Runtime error : XML nested more than 1000 levels deep. @ hostile.ozra 14:3\n"},
};

class HostileScripts : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileScripts, EndWithAStatusAndAMessageNeverASignal) {
    const Hostile& c = GetParam();
    testing::TempFolder folder;
    folder.Write("hostile.ozra", c.Script);
    const testing::ProgramRun run = testing::RunProgram(OZRA_PROGRAM, c.Arguments, folder.Path);
    EXPECT_EQ(run.Signal, 0);
    EXPECT_EQ(run.ExitStatus, c.Status);
    EXPECT_EQ(run.Out, c.Out);
    EXPECT_EQ(run.Err, c.Err);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileScripts, ::testing::ValuesIn(HostileCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace ozra::app
