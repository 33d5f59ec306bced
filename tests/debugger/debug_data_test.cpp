// The debugging compile and what it records: records and their nesting,
// the line map with end markers, line arithmetic, the function at a caret,
// breakpoint flags, and errors as bookmarks.
#include "debugger/debug_compiler.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ozra::debugger {
namespace {

using front::NodeKind;

constexpr const char* kUnit = R"(<.
function outer(a)
  function inner()
    result = 1
  end function
  result = inner() + a
end function
for (i = 1 to 2) ?? i end for
.>tail)";

struct Compiled {
    std::unique_ptr<TVeDebugData> Data = std::make_unique<TVeDebugData>("unit.ozra", 0);
    value::Ref<front::TtsBlock> Block;
};

Compiled Compile(std::string_view text, const front::FileLoader& include = {}) {
    Compiled compiled;
    compiled.Block = TVeDebugCompiler::Parse(text, *compiled.Data, include);
    return compiled;
}

std::string LineEntryText(const TVeDebugData& data, std::int32_t line) {
    const front::TtsStatement* entry = data.LineEntry(line);
    if (!entry) return "-";
    return std::string(entry->ClassName()) + " " + std::to_string(entry->Line) + ":" +
           std::to_string(entry->Column);
}

TEST(DebugData, RecordsNestByFunctionAndLinkTheirStatements) {
    const Compiled unit = Compile(kUnit);
    ASSERT_TRUE(unit.Data->Bookmarks.empty());
    EXPECT_EQ(unit.Data->Block, unit.Block);
    const TVeDebugNode& root = unit.Data->RootNode();
    ASSERT_EQ(root.FunctionChildren.size(), 1u);
    const TVeDebugNode& outer = *root.FunctionChildren[0];
    EXPECT_EQ(outer.Line, 2);
    EXPECT_EQ(outer.EndLine, 7);
    EXPECT_EQ(outer.EndColumn, 1);
    EXPECT_EQ(outer.FunctionText.substr(0, 16), "function outer(a");
    ASSERT_EQ(outer.FunctionChildren.size(), 1u);
    const TVeDebugNode& inner = *outer.FunctionChildren[0];
    EXPECT_EQ(inner.Parent, &outer);
    // "result = 1" belongs to inner; "result = inner() + a" to outer.
    ASSERT_EQ(inner.Children.size(), 1u);
    EXPECT_EQ(inner.Children[0]->Line, 4);
    EXPECT_EQ(inner.Children[0]->Column, 5);
    ASSERT_EQ(outer.Children.size(), 2u);
    EXPECT_EQ(outer.Children[1]->Line, 6);
    // Every record knows its statement, and the statement its record.
    for (const TVeDebugNode* node :
         {&outer, &inner, static_cast<const TVeDebugNode*>(inner.Children[0])}) {
        EXPECT_EQ(TVeDebugNode::Of(*node->Statement), node);
        EXPECT_EQ(node->Unit, unit.Data.get());
    }
    EXPECT_EQ(outer.Statement->Line, 2);
    EXPECT_EQ(outer.Statement->FileIndex, 0);
    EXPECT_EQ(TVeDebugNode::Of(*outer.EndMarker), &outer);
    EXPECT_EQ(outer.EndMarker->Kind, NodeKind::FunctionEnd);
}

TEST(DebugData, TheLineMapNamesTheFirstStatementOrEndMarker) {
    const Compiled unit = Compile(kUnit);
    const TVeDebugData& data = *unit.Data;
    EXPECT_EQ(LineEntryText(data, 1), "-");
    EXPECT_EQ(LineEntryText(data, 2), "TtsFunctionNode 2:1");
    EXPECT_EQ(LineEntryText(data, 5), "TtsFunctionEnd 5:3");
    EXPECT_EQ(LineEntryText(data, 7), "TtsFunctionEnd 7:1");
    // A loop on one line: the loop, not its body or its end.
    EXPECT_EQ(LineEntryText(data, 8), "TtsForNode 8:1");
    EXPECT_EQ(LineEntryText(data, 9), "TtsText 9:3");
    EXPECT_EQ(LineEntryText(data, 10), "-");
}

TEST(DebugData, BreakpointsGoThroughTheLineMap) {
    const Compiled unit = Compile(kUnit);
    TVeDebugData& data = *unit.Data;
    const TVeDebugNode& outer = *data.RootNode().FunctionChildren[0];
    EXPECT_TRUE(data.ToggleBreakpoint(7));
    EXPECT_TRUE(outer.EndBreakpoint);
    EXPECT_FALSE(outer.Breakpoint);
    EXPECT_TRUE(data.HasBreakpoint(7));
    EXPECT_TRUE(data.ToggleBreakpoint(7));
    EXPECT_FALSE(outer.EndBreakpoint);
    EXPECT_TRUE(data.SetBreakpoint(2, true));
    EXPECT_TRUE(outer.Breakpoint);
    EXPECT_FALSE(data.ToggleBreakpoint(1));
    EXPECT_FALSE(data.SetBreakpoint(99, true));
    EXPECT_FALSE(data.HasBreakpoint(99));
}

TEST(DebugData, LineArithmetic) {
    TVeDebugData data;
    // Lines: "ab\n" "\n" "cd" (the last character ends the last line).
    data.ReadLineEnds("ab\n\ncd");
    EXPECT_EQ(data.LineEnds, (std::vector<std::int32_t>{0, 3, 4, 6}));
    EXPECT_EQ(data.LineCount(), 3);
    EXPECT_EQ(data.LineOffset(0), 0);
    EXPECT_EQ(data.LineOffset(1), 0);
    EXPECT_EQ(data.LineOffset(3), 4);
    EXPECT_EQ(data.LineOffset(5), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(data.LineLength(1), 3);
    EXPECT_EQ(data.LineLength(2), 1);
    EXPECT_EQ(data.LineLength(3), 2);
    EXPECT_EQ(data.LineLength(4), 0);
    const std::pair<std::int32_t, std::int32_t> lineOf[] = {{1, 1}, {3, 1}, {4, 2},
                                                            {5, 3}, {6, 3}, {7, 4}};
    for (const auto& [offset, line] : lineOf)
        EXPECT_EQ(data.LineOfOffset(offset), line) << offset;
    data.ReadLineEnds("x\n");
    EXPECT_EQ(data.LineEnds, (std::vector<std::int32_t>{0, 2}));
}

TEST(DebugData, TheFunctionAtACaretIsTheInnermost) {
    const Compiled unit = Compile(kUnit);
    const TVeDebugData& data = *unit.Data;
    const auto nameAt = [&](std::string_view marker) -> std::string {
        const auto offset = static_cast<std::int32_t>(std::string_view(kUnit).find(marker));
        const TVeDebugNode* function = data.FunctionAt(offset);
        if (!function) return "-";
        return static_cast<const front::TtsFunctionNode&>(*function->Statement).FunctionName;
    };
    EXPECT_EQ(nameAt("function outer"), "outer");
    EXPECT_EQ(nameAt("result = 1"), "inner");
    EXPECT_EQ(nameAt("end function\n  result"), "inner");
    EXPECT_EQ(nameAt("result = inner"), "outer");
    EXPECT_EQ(nameAt("function\nfor"), "outer");
    EXPECT_EQ(nameAt("for ("), "-");
}

struct ErrorCase {
    const char* Script;
    // "LINE:COLUMN message" per bookmark.
    std::vector<std::string> Bookmarks;
};

TEST(DebugData, SyntaxErrorsBecomeBookmarksAndTheParseGoesOn) {
    const ErrorCase cases[] = {
        {"<. ?? (1 + .>", {"1:10 Syntax error, unexpected end of code block"}},
        {"<.\nif (a)\n?? 1\n.>", {"3:5 if not end."}},
        {"<.\nend if\nvar x = 1\nvar x = 2\n.>", {"2:1 if not found.", "4:1 x already exists."}},
        {"<.\nvar y = 1\nvar y = 2\nvar z = 1\nvar z = 2\n.>",
         {"3:1 y already exists.", "5:1 z already exists."}},
    };
    for (const ErrorCase& c : cases) {
        const Compiled unit = Compile(c.Script);
        std::vector<std::string> bookmarks;
        for (const TVeBookmark& bookmark : unit.Data->Bookmarks) {
            EXPECT_EQ(bookmark.FileName, "unit.ozra");
            EXPECT_EQ(bookmark.Line, unit.Data->LineOfOffset(bookmark.Offset + 1)) << c.Script;
            bookmarks.push_back(std::to_string(bookmark.Line) + ":" +
                                std::to_string(bookmark.Column) + " " + bookmark.Message);
        }
        EXPECT_EQ(bookmarks, c.Bookmarks) << c.Script;
        EXPECT_TRUE(unit.Block) << c.Script;
    }
}

TEST(DebugData, AFailureOutsideTheGrammarIsOneBookmarkWithoutAPlace) {
    const auto throwing = [](const char* message) {
        return [message](const std::string&,
                         value::Ref<front::TtsBlock>) -> value::Ref<front::TtsBlock> {
            throw std::runtime_error(message);
        };
    };
    const char* script = "<.\nusing(\"other.ozra\")\n.>";
    for (const auto& [message, expected] :
         {std::pair{"boom", "Internal error 3715758587"},
          std::pair{"loader failed", "Internal error 1864871197"}}) {
        const Compiled unit = Compile(script, throwing(message));
        ASSERT_EQ(unit.Data->Bookmarks.size(), 1u);
        const TVeBookmark& bookmark = unit.Data->Bookmarks[0];
        EXPECT_EQ(bookmark.Message, expected);
        EXPECT_EQ(bookmark.Line, 0);
        EXPECT_EQ(bookmark.Offset, -1);
        EXPECT_EQ(bookmark.Length, -1);
        EXPECT_TRUE(unit.Block);
    }
    // The system's own errors keep their message.
    const Compiled unit = Compile(
        script,
        [](const std::string& name, value::Ref<front::TtsBlock>) -> value::Ref<front::TtsBlock> {
            throw value::EtsException("cannot open " + name);
        });
    ASSERT_EQ(unit.Data->Bookmarks.size(), 1u);
    EXPECT_EQ(unit.Data->Bookmarks[0].Message, "cannot open other.ozra");
}

TEST(DebugData, TooManyErrorsEndTheParse) {
    std::string script = "<.\n";
    for (int i = 0; i < 3000; ++i)
        script += "var v = 1\n";
    script += ".>";
    const Compiled unit = Compile(script);
    ASSERT_EQ(unit.Data->Bookmarks.size(), std::size_t(TVeDebugCompiler::MaxErrors) + 1);
    EXPECT_EQ(unit.Data->Bookmarks.back().Message, "Too many errors.");
    EXPECT_EQ(unit.Data->Bookmarks.back().Line, 0);
}

TEST(DebugData, ATreeThatOutlivesItsDataIsUnlinked) {
    value::Ref<front::TtsBlock> block;
    {
        const Compiled unit = Compile(kUnit);
        block = unit.Block;
    }
    for (const auto& statement : block->Statements)
        EXPECT_EQ(statement->Debug, nullptr);
}

} // namespace
} // namespace ozra::debugger
