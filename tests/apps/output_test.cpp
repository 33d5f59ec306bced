// The runner's output when it cannot be written: a full disk or a closed
// output is an error and exit status 1, a reader that stops early ends the
// run quietly.
#include "../support/run_program.h"
#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace ozra::app {
namespace {

using testing::StandardOutput;

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(Output, AFailedWriteIsAnErrorAndAReaderThatGoesEndsTheRunQuietly) {
    testing::TempFolder folder;
    folder.Write("hello.ozra", "hello\n");
    folder.Write("long.ozra", Repeat("line\n", 200000));
    const std::string full = "ozra: cannot write the output: No space left on device\n";
    const struct {
        const char* Name;
        std::vector<std::string> Arguments;
        StandardOutput To;
        int Status;
        std::string Out;
        std::string Err;
    } cases[] = {
        {"a full disk", {"hello.ozra"}, StandardOutput::FullDevice, 1, "", full},
        {"a closed output",
         {"hello.ozra"},
         StandardOutput::Closed,
         1,
         "",
         "ozra: cannot write the output: Bad file descriptor\n"},
        {"help on a full disk", {"--help"}, StandardOutput::FullDevice, 1, "", full},
        {"a tree on a full disk",
         {"--dump-tree", "hello.ozra"},
         StandardOutput::FullDevice,
         1,
         "",
         full},
        {"a reader that stops early",
         {"long.ozra"},
         StandardOutput::FirstLineOnly,
         128 + SIGPIPE,
         "line\n",
         ""},
    };
    for (const auto& c : cases) {
        const testing::ProgramRun run =
            testing::RunProgram(OZRA_PROGRAM, c.Arguments, folder.Path, c.To);
        EXPECT_EQ(run.Signal, 0) << c.Name;
        EXPECT_EQ(run.ExitStatus, c.Status) << c.Name;
        EXPECT_EQ(run.Out, c.Out) << c.Name;
        EXPECT_EQ(run.Err, c.Err) << c.Name;
    }
}

// Started without a standard output, the runner must not let a file it
// opens take that descriptor's number and receive the run's output.
TEST(Output, WithoutAStandardOutputNoFileReceivesTheOutput) {
    testing::TempFolder folder;
    folder.Write("stream.ozra",
                 "<.var s = System.File.Stream(\"s.txt\")\ns.Write(\"stream\").>main output");
    const testing::ProgramRun run =
        testing::RunProgram(OZRA_PROGRAM, {"stream.ozra"}, folder.Path, StandardOutput::Closed);
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Err, "ozra: cannot write the output: Bad file descriptor\n");
    EXPECT_EQ(folder.Read("s.txt"), "stream");
}

} // namespace
} // namespace ozra::app
