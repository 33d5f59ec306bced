// The ozra program under hostile input and hostile surroundings: whatever
// happens, it ends with an exit status and, for a failure, a message; never
// with a signal (these tests run under AddressSanitizer too).
#include "run_ozra.h"

#include <gtest/gtest.h>

#include <csignal>

namespace ozra::runner {
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
    Folder folder;
    folder.Write("hostile.ozra", c.Script);
    const Outcome outcome = RunOzra(folder, c.Arguments);
    EXPECT_TRUE(outcome.Exited) << "signal " << outcome.Status;
    EXPECT_EQ(outcome.Status, c.Status);
    EXPECT_EQ(outcome.Out, c.Out);
    EXPECT_EQ(outcome.Err, c.Err);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileScripts, ::testing::ValuesIn(HostileCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Output, AFailedWriteIsAnErrorAndAReaderThatGoesEndsTheRunQuietly) {
    Folder folder;
    folder.Write("hello.ozra", "hello\n");
    folder.Write("long.ozra", Repeat("line\n", 200000));
    const struct {
        const char* Name;
        std::vector<std::string> Arguments;
        Stdout To;
        int Status;
        std::string Out;
        std::string Err;
    } cases[] = {
        {"a full disk",
         {"hello.ozra"},
         Stdout::FullDevice,
         1,
         "",
         "ozra: cannot write the output: No space left on device\n"},
        {"a closed output",
         {"hello.ozra"},
         Stdout::Closed,
         1,
         "",
         "ozra: cannot write the output: Bad file descriptor\n"},
        {"help on a full disk",
         {"--help"},
         Stdout::FullDevice,
         1,
         "",
         "ozra: cannot write the output: No space left on device\n"},
        {"a tree on a full disk",
         {"--dump-tree", "hello.ozra"},
         Stdout::FullDevice,
         1,
         "",
         "ozra: cannot write the output: No space left on device\n"},
        {"a reader that stops early",
         {"long.ozra"},
         Stdout::FirstLineOnly,
         128 + SIGPIPE,
         "line\n",
         ""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunOzra(folder, c.Arguments, c.To);
        EXPECT_TRUE(outcome.Exited) << c.Name << ": signal " << outcome.Status;
        EXPECT_EQ(outcome.Status, c.Status) << c.Name;
        EXPECT_EQ(outcome.Out, c.Out) << c.Name;
        EXPECT_EQ(outcome.Err, c.Err) << c.Name;
    }
}

// Started without a standard output, the runner must not let a file it
// opens take that descriptor's number and receive the run's output.
TEST(Output, WithoutAStandardOutputNoFileReceivesTheOutput) {
    Folder folder;
    folder.Write("stream.ozra",
                 "<.var s = System.File.Stream(\"s.txt\")\ns.Write(\"stream\").>main output");
    const Outcome outcome = RunOzra(folder, {"stream.ozra"}, Stdout::Closed);
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Err, "ozra: cannot write the output: Bad file descriptor\n");
    EXPECT_EQ(folder.Read("s.txt"), "stream");
}

} // namespace
} // namespace ozra::runner
