// Parser and compile driver: which scripts compile, which errors they report
// and where, and the trees that the grammar's conflict resolutions give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "front/compile_driver.h"
#include "front/line_map.h"
#include "front/parser.h"
#include "front/tree_dump.h"

namespace ozra::front {
namespace {

// Every error a text reports, as "line:column: message".
std::vector<std::string> ErrorsOf(const std::string& text) {
    LineMap lines(text);
    std::vector<std::string> errors;
    TtsParser parser;
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        LineColumn at = lines.Locate(position);
        errors.push_back(std::to_string(at.Line) + ":" + std::to_string(at.Column) + ": " +
                         (message.empty() ? "Syntax error" : message));
    };
    try {
        parser.Parse(text);
    } catch (const std::exception& error) {
        errors.push_back(std::string("exception: ") + error.what());
    }
    return errors;
}

// The tree without source positions, so that two spellings compare equal.
std::string ShapeOf(const std::string& text);

std::string TreeOf(const std::string& text) {
    TtsParser parser;
    parser.OnError = [](std::int32_t position, std::int32_t, const std::string& message) {
        FAIL() << "unexpected error at " << position << ": " << message;
    };
    auto root = parser.Parse(text);
    return DumpTree(*root);
}

std::string ShapeOf(const std::string& text) {
    static const std::regex kPositions(R"( (end)?@\d+\+\d+)");
    return std::regex_replace(TreeOf(text), kPositions, "");
}

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

struct ErrorCase {
    const char* name;
    std::string script;
    std::vector<std::string> errors;
};

TEST(Parser, ReportsEachErrorAtItsPlace) {
    const std::vector<ErrorCase> cases = {
        {"control across code blocks", "<.if (x).>yes<.end if.>", {}},
        {"two statements without separator", "<.x = 1 y = 2.>", {}},
        {"comparison assigned", "<.x = a = b.>", {}},
        {"question output of a comparison", "<.? a = b.>", {}},
        {"named argument", "<.f(x = 1).>", {}},
        {"flat run of code blocks", Repeat("<.= 1.>", 3000), {}},
        {"unclosed parenthesis, then a sound block",
         "<. x = ( .>\n<.y = 1.>",
         {"1:8: Syntax error, unexpected end of code block"}},
        {"chained comparison", "<.x = a = b = c.>", {"1:11: Syntax error, unexpected \"=\""}},
        {"order and equality on one level",
         "<.? 1 < 2 = true.>",
         {"1:9: Syntax error, unexpected \"=\""}},
        {"order and equality in a condition",
         "<.if (a <> b = c).>x<.end if.>",
         {"1:12: Syntax error, unexpected \"=\"", "1:23: if not found."}},
        {"equals output of a comparison",
         "<.= a = b.>",
         {"1:5: Syntax error, a comparison written after \"=\" needs parentheses"}},
        {"no unary minus",
         "<.x = - y.>",
         {"1:7: Syntax error, unexpected \"y\", expected an integer or a number"}},
        {"unknown operator", "<.x=-1.>", {"1:3: Syntax error, unexpected \"=-\""}},
        {"reserved word", "<.int = 1.>", {"1:3: Syntax error, unexpected \"int\""}},
        {"else outside if", "<.else.>", {"1:3: if or case not found."}},
        {"end names another control",
         "<.for (i = 1 to 3).>\n<.end if.>",
         {"2:3: for not end.", "2:3: if not found."}},
        {"while closed as loop",
         "<.while (x).>\n<.end loop.>",
         {"2:3: while not end.", "2:3: loop not found."}},
        {"brace closed by end", "<.if (a) {.>x<.end if.>", {"1:16: } not found."}},
        {"second else", "<.if (a).><.else.><.else.><.end if.>", {"1:21: else already exists."}},
        {"except outside try", "<.except.>", {"1:3: try not found."}},
        {"duplicate var", "<.var x.><.var x.>", {"1:12: x already exists."}},
        {"control open at the end", "<.function f().>\nabc\n", {"2:2: function not end."}},
        {"incomplete statement at the end",
         "abc\n<.x = 1 +",
         {"2:9: Missing .>", "2:9: Syntax error, unexpected end of file"}},
        {"unclosed code block at the end", "<.x = 1", {"1:7: Missing .>"}},
        {"overlong token",
         "<.x = 1 + '" + std::string(1048577, 'a') + "'.>",
         {"1:12: match stack overflow", "exception: match stack overflow"}},
        {"deep nesting",
         "<.x = " + Repeat("(", 2000) + "1" + Repeat(")", 2000) + ".>",
         {"1:1028: yyparse stack overflow", "exception: yyparse stack overflow"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorsOf(c.script), c.errors) << c.name;
    }
}

// A statement keyword that error recovery throws away starts a statement of
// its own, so one bad expression does not take the control after it along.
TEST(Parser, RecoveryKeepsTheKeywordAfterAnError) {
    EXPECT_EQ(ErrorsOf("<.x = ( if (a).>yes<.end if.>\n<.else.>"),
              (std::vector<std::string>{"1:7: Syntax error, unexpected \"if\"",
                                        "2:3: if or case not found."}));
    EXPECT_EQ(ErrorsOf("<.x = (.>\n<.else.>"),
              (std::vector<std::string>{"1:7: Syntax error, unexpected end of code block",
                                        "2:3: if or case not found."}));
}

TEST(Parser, SmallestIntegerLiteral) {
    EXPECT_NE(TreeOf("<.x = -2147483648.>").find("-2147483648"), std::string::npos);
}

// Conflict resolutions that make two spellings build the same tree.
TEST(Parser, EquivalentSpellings) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"<.if (a) + b then.><.end if.>", "<.if a + b then.><.end if.>"},
        {"<.x = 1; = y.>", "<.x = 1.><.= y.>"},
        {"<.x = 1 = y.>", "<.x = (1 = y).>"},
        {"<.f((x = 1)).>", "<.f((x) = 1).>"},
        {"<.? a = b.>", "<.? (a = b).>"},
        {"<.= a < b.>", "<.= (a < b).>"},
        {"<.= a and b.>", "<.= (a and b).>"},
    };
    for (const auto& [a, b] : pairs) {
        EXPECT_EQ(ShapeOf(a), ShapeOf(b)) << a << " vs " << b;
    }
}

// Every data/trees/NAME.ozra builds exactly the tree in NAME.tree: a new
// language case is a new pair of files.
TEST(Parser, BuildsTheExpectedTrees) {
    const std::filesystem::path folder = std::filesystem::path(OZRA_TEST_DATA_DIR) / "trees";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ozra") continue;
        auto expectedPath = entry.path();
        expectedPath.replace_extension(".tree");
        std::ifstream expected(expectedPath, std::ios::binary);
        ASSERT_TRUE(expected) << expectedPath;
        const std::string expectedTree{std::istreambuf_iterator<char>(expected), {}};
        EXPECT_EQ(DumpTree(*TVeCompiler::CompileFile(entry.path().string())), expectedTree)
            << entry.path().filename();
    }
}

class CompileDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("ozra-driver-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string CompileMessage(const std::string& name) {
        try {
            TVeCompiler::CompileFile(name);
        } catch (const std::exception& error) {
            return error.what();
        }
        return "";
    }

    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

TEST_F(CompileDriver, LocatesErrorsAsFileLineColumn) {
    Write("bad.ozra", "line one\nline two\n<.else.>\n");
    EXPECT_EQ(CompileMessage("bad.ozra"), "File bad.ozra, 3,3: if or case not found.");
    Write("long.ozra", "line one\n<.x = '" + std::string(1048577, 'a') + "'.>\n");
    EXPECT_EQ(CompileMessage("long.ozra"), "File long.ozra, 2,8: match stack overflow");
}

TEST_F(CompileDriver, CircularIncludeIsRefused) {
    Write("a.ozra", "<.using('b.ozra').>");
    Write("b.ozra", "<.using('a.ozra').>");
    EXPECT_NE(CompileMessage("a.ozra").find("Circular file reference : a.ozra"), std::string::npos);
}

TEST_F(CompileDriver, SameFileUsedTwiceInSequence) {
    Write("lib.ozra", "<.function f().>x<.end function.>");
    Write("main.ozra", "<.using('lib.ozra', one).><.using('lib.ozra', two).>");
    EXPECT_EQ(CompileMessage("main.ozra"), "");
}

TEST_F(CompileDriver, BackslashSeparatorInIncludes) {
    std::filesystem::create_directories(dir_ / "sub");
    Write("sub/part.ozra", "text");
    Write("main.ozra", "<.using('sub\\part.ozra').>");
    EXPECT_EQ(CompileMessage("main.ozra"), "");
}

TEST_F(CompileDriver, EmptyAndMissingFiles) {
    Write("empty.ozra", "");
    auto root = TVeCompiler::CompileFile("empty.ozra");
    EXPECT_TRUE(root);
    EXPECT_NE(CompileMessage("missing.ozra").find("missing.ozra"), std::string::npos);
}

TEST(LineMap, LinesAndColumns) {
    LineMap lines("ab\ncd\n");
    const std::vector<std::tuple<int, int, int>> cases = {
        {1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 1}, {6, 2, 3}, {7, 2, 4}, {0, 1, 1}, {99, 2, 4},
    };
    for (auto [position, line, column] : cases) {
        LineColumn at = lines.Locate(position);
        EXPECT_EQ(at.Line, line) << position;
        EXPECT_EQ(at.Column, column) << position;
    }
}

} // namespace
} // namespace ozra::front
