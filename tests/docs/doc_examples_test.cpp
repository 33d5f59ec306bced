// Every example of the documentation (README.md and docs/*.md) runs as the
// page shows it, so the pages cannot drift from the program.
//
// A page is read as a series of fenced blocks, each tagged on its opening
// fence:
//   ```ozra [NAME]    a script, written to NAME (default "example.ozra") in
//                     the page's own folder; when an output or error block
//                     follows it, it is run there with "ozra NAME"
//   ```output         the exact standard output of that run
//   ```output PATH    the exact bytes the run wrote to PATH
//   ```error          the exact standard error (the run must exit with 1)
//   ```console        command lines, each after "$ ", run with sh in the
//                     page's folder with the ozra program on the PATH, each
//                     followed by what it prints to either stream
// Scripts and files written earlier on a page stay for later examples of
// the same page; a run starts without the "Output" folder of the one
// before. The line break "??" writes is shown as a plain line break, so
// "\r\n" in what a run prints reads as "\n".
#include "../support/run_program.h"
#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <vector>

namespace ozra::docs {
namespace {

namespace fs = std::filesystem;

struct Block {
    std::string Kind;     // the fence's first word
    std::string Argument; // the rest of the fence line
    std::string Text;     // every line of the block, each ending in "\n"
    int Line = 0;         // of the opening fence
};

std::vector<Block> ReadBlocks(const fs::path& page) {
    std::ifstream in(page);
    std::vector<Block> blocks;
    std::string line;
    bool inside = false;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.starts_with("```")) {
            if (inside) blocks.back().Text += line + "\n";
            continue;
        }
        if (inside) {
            inside = false;
            continue;
        }
        inside = true;
        std::istringstream fence(line.substr(3));
        Block block;
        fence >> block.Kind;
        std::getline(fence >> std::ws, block.Argument);
        block.Line = number;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::string WithoutCarriageReturns(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

std::string Where(const fs::path& page, int line) {
    return page.filename().string() + ":" + std::to_string(line);
}

class PageRunner {
  public:
    explicit PageRunner(fs::path page) : page_(std::move(page)) {}

    void RunAll() {
        const std::vector<Block> blocks = ReadBlocks(page_);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const Block& block = blocks[i];
            if (block.Kind == "ozra") {
                const std::string name = block.Argument.empty() ? "example.ozra" : block.Argument;
                folder_.Write(name, block.Text);
                std::size_t next = i + 1;
                while (next < blocks.size() && IsExpectation(blocks[next]))
                    ++next;
                if (next > i + 1) RunScript(name, block, blocks, i + 1, next);
                i = next - 1;
            } else if (block.Kind == "console") {
                RunConsole(block);
            } else if (IsExpectation(block)) {
                ADD_FAILURE() << Where(page_, block.Line) << ": an expectation without a script";
            }
        }
    }

  private:
    static bool IsExpectation(const Block& block) {
        return block.Kind == "output" || block.Kind == "error";
    }

    void RunScript(const std::string& name, const Block& script, const std::vector<Block>& blocks,
                   std::size_t first, std::size_t end) {
        SCOPED_TRACE(Where(page_, script.Line));
        std::error_code ignored;
        fs::remove_all(folder_.Path + "Output", ignored);
        const testing::ProgramRun run = testing::RunProgram(OZRA_PROGRAM, {name}, folder_.Path);
        std::string expectedOut;
        std::string expectedErr;
        for (std::size_t i = first; i < end; ++i) {
            const Block& expectation = blocks[i];
            if (expectation.Kind == "error") {
                expectedErr = expectation.Text;
            } else if (expectation.Argument.empty()) {
                expectedOut = expectation.Text;
            } else {
                EXPECT_EQ(folder_.Read(expectation.Argument), expectation.Text)
                    << "the file " << expectation.Argument;
            }
        }
        EXPECT_EQ(WithoutCarriageReturns(run.Out), expectedOut);
        EXPECT_EQ(run.Err, expectedErr);
        EXPECT_EQ(run.ExitStatus, expectedErr.empty() ? 0 : 1);
    }

    void RunConsole(const Block& block) {
        std::istringstream lines(block.Text);
        std::string line;
        std::string command;
        std::string expected;
        int at = block.Line;
        auto finish = [&] {
            if (command.empty()) return;
            SCOPED_TRACE(Where(page_, at) + ": " + command);
            const testing::ProgramRun run =
                testing::RunProgram("/bin/sh", {"-c", "exec 2>&1; " + command}, folder_.Path);
            EXPECT_EQ(WithoutCarriageReturns(run.Out), expected);
        };
        for (int number = block.Line + 1; std::getline(lines, line); ++number) {
            if (!line.starts_with("$ ")) {
                expected += line + "\n";
                continue;
            }
            finish();
            command = line.substr(2);
            expected.clear();
            at = number;
        }
        finish();
    }

    fs::path page_;
    testing::TempFolder folder_;
};

TEST(Documentation, EveryExampleRunsAsShown) {
    // The console examples find the program by name.
    const std::string programFolder = fs::path(OZRA_PROGRAM).parent_path().string();
    ::setenv("PATH", (programFolder + ":" + ::getenv("PATH")).c_str(), 1);
    std::vector<fs::path> pages = {fs::path(OZRA_SOURCE_DIR) / "README.md"};
    for (const auto& entry : fs::directory_iterator(fs::path(OZRA_SOURCE_DIR) / "docs")) {
        if (entry.path().extension() == ".md") pages.push_back(entry.path());
    }
    for (const fs::path& page : pages)
        PageRunner(page).RunAll();
}

} // namespace
} // namespace ozra::docs
