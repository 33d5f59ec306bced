// The editor control: bytes in and out unchanged, the gutter's numbers and
// glyphs, error underlines, undo steps grouped and capped as configured.
#include "gui_test_support.h"

#include "ide/gui/script_editor.h"

#include <QTest>

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

using namespace std::string_literals;

TEST(ScriptEditor, GivesBackTheBytesItLoadedInvalidUtf8CrLfAndNulIncluded) {
    testing::Application();
    ScriptEditor editor;
    const std::string bytes = "caf\xC3\xA9 \xFF\xFE bad\r\nline two\r\n\x00 after nul\r\n\xC3"s;
    ASSERT_EQ(bytes.size(), 38u);
    editor.LoadBytes(bytes);
    EXPECT_EQ(editor.Bytes(), bytes);
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(editor.isUndoAvailable());
    EXPECT_EQ(editor.eolMode(), QsciScintilla::EolWindows);

    editor.SelectBytes(0, 4);
    EXPECT_EQ(editor.SelectionLengthByte(), 4);
    editor.ReplaceSelectionBytes("t\xE9");
    EXPECT_EQ(editor.Bytes(), "t\xE9" + bytes.substr(4));
    EXPECT_EQ(editor.SelectionStartByte(), 2);
    editor.undo();
    EXPECT_EQ(editor.Bytes(), bytes);
}

TEST(ScriptEditor, GutterNumbersLineOneEveryTenthAndTheCaretLine) {
    testing::Application();
    ScriptEditor editor;
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "x\n";
    editor.LoadBytes(text);
    EXPECT_EQ(editor.GutterText(1), " 1");
    EXPECT_EQ(editor.GutterText(7), " .");
    EXPECT_EQ(editor.GutterText(15), " -");
    EXPECT_EQ(editor.GutterText(20), "20");
    editor.setCursorPosition(6, 0);
    EXPECT_EQ(editor.GutterText(7), " 7");
    EXPECT_EQ(editor.GutterText(1), " 1");

    for (int i = 0; i < 100; ++i)
        text += "y\n";
    editor.LoadBytes(text);
    EXPECT_EQ(editor.GutterText(100), "100");
    EXPECT_EQ(editor.GutterText(15), "  -");
}

TEST(Gutter, OneGlyphPerLineTheMostImportantWinning) {
    struct Case {
        LineMarks Marks;
        GutterGlyph Glyph;
    };
    const Case cases[] = {
        {{true, true, true, true}, GutterGlyph::ExecutionPoint},
        {{false, true, true, false}, GutterGlyph::BreakpointWithBookmark},
        {{false, true, false, true}, GutterGlyph::Breakpoint},
        {{false, true, false, false}, GutterGlyph::InvalidBreakpoint},
        {{false, false, true, true}, GutterGlyph::Bookmark},
        {{false, false, false, true}, GutterGlyph::Executable},
        {{}, GutterGlyph::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GlyphFor(c.Marks), c.Glyph);
}

TEST(ScriptEditor, MarksFollowTheMarkSourceAndTheExecutionLine) {
    testing::Application();
    ScriptEditor editor;
    editor.LoadBytes("a\nb\nc\nd\n");
    editor.SetMarkSource([](std::int32_t line) {
        LineMarks marks;
        marks.Breakpoint = line == 2;
        marks.Executable = line != 4;
        return marks;
    });
    editor.RefreshMarks();
    const auto glyphs = [&](int line) { return editor.markersAtLine(line - 1); };
    EXPECT_EQ(glyphs(1), 1u << static_cast<int>(GutterGlyph::Executable));
    EXPECT_TRUE(glyphs(2) & (1u << static_cast<int>(GutterGlyph::Breakpoint)));
    EXPECT_EQ(glyphs(4), 0u);
    editor.SetExecutionLine(3);
    EXPECT_TRUE(glyphs(3) & (1u << static_cast<int>(GutterGlyph::ExecutionPoint)));
    editor.SetExecutionLine(0);
    EXPECT_EQ(glyphs(3), 1u << static_cast<int>(GutterGlyph::Executable));
}

TEST(ScriptEditor, ErrorUnderlinesSkipLeadingBlanksAndEndAtTheLastNonBlankOfInnerLines) {
    testing::Application();
    ScriptEditor editor;
    editor.LoadBytes("  ab  \n   cd \r\n  ef gh");
    editor.MarkError(0, 19);
    std::string marked;
    for (long at = 0; at < 22; ++at)
        marked +=
            editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8UL, at) ? 'x' : '.';
    EXPECT_EQ(marked, "..xx......xx.....xx...");
    editor.ClearErrorMarks();
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8UL, 2L), 0);
}

// Four keys typed, then undone while undo is offered: the texts seen.
TEST(ScriptEditor, UndoGroupsTypingAndKeepsOnlyTheNewestStepsOfTheLevel) {
    struct Case {
        bool Group;
        int Level;
        std::vector<std::string> Undone;
    };
    const Case cases[] = {
        {true, 1024, {""}},
        {false, 1024, {"abc", "ab", "a", ""}},
        {false, 2, {"abc", "ab"}},
        {true, 0, {}},
    };
    testing::Application();
    for (const Case& each : cases) {
        SCOPED_TRACE(::testing::Message() << each.Group << " " << each.Level);
        ScriptEditor editor;
        editor.Apply(EditorSettings{.UndoLevel = each.Level, .GroupUndo = each.Group});
        editor.LoadBytes("");
        QTest::keyClicks(&editor, "abcd");
        ASSERT_EQ(editor.Bytes(), "abcd");
        std::vector<std::string> undone;
        while (editor.CanUndo()) {
            editor.undo();
            undone.push_back(editor.Bytes());
        }
        EXPECT_EQ(undone, each.Undone);
        editor.undo();
        EXPECT_EQ(editor.Bytes(), undone.empty() ? "abcd" : undone.back());
    }
}

// A step past the level stays dropped; redo brings back what undo took,
// and the newest steps are always the ones kept.
TEST(ScriptEditor, StepsPastTheUndoLevelStayDroppedWhileTheNewestAreKept) {
    testing::Application();
    ScriptEditor editor;
    editor.Apply(EditorSettings{.UndoLevel = 2, .GroupUndo = false});
    editor.LoadBytes("");
    QTest::keyClicks(&editor, "abcd");
    editor.undo();
    editor.undo();
    EXPECT_FALSE(editor.CanUndo());
    editor.redo();
    editor.redo();
    EXPECT_EQ(editor.Bytes(), "abcd");
    editor.undo();
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(editor.Bytes(), "abcx");
    editor.undo();
    editor.undo();
    EXPECT_EQ(editor.Bytes(), "ab");
    EXPECT_FALSE(editor.CanUndo());

    // A lower level from the options drops the older steps at once.
    QTest::keyClicks(&editor, "yz");
    editor.Apply(EditorSettings{.UndoLevel = 1, .GroupUndo = false});
    editor.undo();
    EXPECT_EQ(editor.Bytes(), "aby");
    EXPECT_FALSE(editor.CanUndo());
}

} // namespace
} // namespace ozra::ide::gui
