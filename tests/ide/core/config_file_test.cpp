// The configuration file: every value type, malformed values, shortcut
// texts, and the complete file written when none exists.
#include "../../support/temp_folder.h"
#include "ide/core/config_file.h"
#include "libs/xml/xml_document.h"

#include <gtest/gtest.h>

namespace ozra::ide {
namespace {

ConfigFile Parse(const std::string& text) {
    return ConfigFile(xml::ParseXml(text));
}

EditorSettings EditorFrom(const std::string& options) {
    EditorSettings settings;
    Parse("<configs><Editor><options>" + options + "</options></Editor></configs>")
        .ApplyEditor(settings);
    return settings;
}

TEST(ConfigFileTest, EditorOptionsTakeTheirFallbackWhenMalformed) {
    const EditorSettings built;
    const EditorSettings read = EditorFrom(R"(
        <o name="Tab Width" value="abc"/> <o name="font size" value="12"/>
        <o name="Right Edge" value="-3"/> <o name="Undo Level" value="7x"/>
        <o name="Auto Indent" value="maybe"/> <o name="Undo After Save" value="TRUE"/>
        <deeper><o name="Group Undo" value="false"/></deeper>
        <o name="Active Line Color" value="#FF0000"/>
        <o name="Right Edge Color" value="red"/>
        <o name="Selected Text Color" Background="Default" Foreground="#00ff80"/>
        <o name="Language Delimiter Color" Background="#12345" Foreground="#010203"/>)");
    EXPECT_EQ(read.TabWidth, 2);
    EXPECT_EQ(read.FontSize, 12);
    EXPECT_EQ(read.RightEdge, 80);
    EXPECT_EQ(read.UndoLevel, 1024);
    EXPECT_TRUE(read.AutoIndent);
    EXPECT_TRUE(read.UndoAfterSave);
    EXPECT_FALSE(read.GroupUndo);
    EXPECT_EQ(read.ActiveLine, Color(Rgb{255, 0, 0}));
    EXPECT_EQ(read.RightEdgeColor, built.RightEdgeColor);
    EXPECT_EQ(read.SelectedText, (ColorPair{Color(), Rgb{0, 255, 128}}));
    EXPECT_EQ(read.LanguageDelimiter,
              (ColorPair{built.LanguageDelimiter.Background, Rgb{1, 2, 3}}));
    // Absent options keep what is built in.
    EXPECT_EQ(read.FontName, "Courier New");
    EXPECT_TRUE(read.TabsToSpaces);
}

TEST(ConfigFileTest, AMalformedValueFallsBackEvenOverAnEarlierSetting) {
    EditorSettings settings;
    settings.TabWidth = 8;
    Parse(R"(<configs><Editor><o name="Tab Width" value=""/></Editor></configs>)")
        .ApplyEditor(settings);
    EXPECT_EQ(settings.TabWidth, 2);
}

TEST(ConfigFileTest, SectionsAndOptionsAreFoundAsTheirReadersSay) {
    const ConfigFile config = Parse(R"(<configs>
        <ide><x name="show splash screen" value="false"/></ide>
        <ShortCuts>
          <Edit name="Edit"><k name="Undo" value="Ctrl+Shift+U"/><k name="Redo" value="Hyper+Q"/>
            <deeper><k name="Cut" value="F2"/></deeper></Edit>
          <Search name="Search"><k name="Find Next" value="F3"/></Search>
        </ShortCuts></configs>)");
    EXPECT_FALSE(config.ShowSplashScreen());
    EXPECT_EQ(config.ShortCutOf("Edit", "&Undo"), CtrlFlag | ShiftFlag | 'U');
    EXPECT_EQ(config.ShortCutOf("Search", "Find &Next"), keys::F1 + 2);
    EXPECT_EQ(config.ShortCutOf("Edit", "Redo"), std::nullopt);
    // Shortcut keys are direct children of their category.
    EXPECT_EQ(config.ShortCutOf("Edit", "Cut"), std::nullopt);
    EXPECT_EQ(config.ShortCutOf("File", "Open"), std::nullopt);
    EXPECT_TRUE(ConfigFile().ShowSplashScreen());
}

TEST(ConfigFileTest, ShortcutTextsBothWays) {
    const struct {
        std::string_view Text;
        std::optional<ShortCut> Key;
        std::string_view Written;
    } cases[] = {
        {"Ctrl+Z", CtrlFlag | 'Z', "Ctrl+Z"},
        {"shift+ctrl+u", CtrlFlag | ShiftFlag | 'U', "Ctrl+Shift+U"},
        {"Alt+F4", AltFlag | (keys::F1 + 3), "Alt+F4"},
        {"Shift+F3", ShiftFlag | (keys::F1 + 2), "Shift+F3"},
        {"F24", keys::F1 + 23, "F24"},
        {"Ctrl+Del", CtrlFlag | keys::Delete, "Ctrl+Del"},
        {"Esc", keys::Escape, "Esc"},
        {"Ctrl+Shift+Alt+9", CtrlFlag | ShiftFlag | AltFlag | '9', "Ctrl+Shift+Alt+9"},
        {"", 0, ""},
        {"F25", std::nullopt, ""},
        {"Ctrl+", std::nullopt, ""},
        {"Ctrl+Ctrl", std::nullopt, ""},
        {"Ctrl++", std::nullopt, ""},
        {"Meta+A", std::nullopt, ""},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(TextToShortCut(each.Text), each.Key) << each.Text;
        if (each.Key) {
            EXPECT_EQ(ShortCutToText(*each.Key), each.Written) << each.Text;
        }
    }
}

TEST(ConfigFileTest, HighlighterStylesReadTheirFilterColoursAndFontStyle) {
    HighlighterStyle ozra{"Ozra",
                          "All files (*.*)|*.*",
                          {{"Comment", {}, {}}, {"Reserved Word", {}, {true}}, {"String", {}, {}}}};
    Parse(R"(<configs><languages>
        <language name="ozra"><filter name="File filter" value="Ozra (*.ozra)|*.ozra"/>
          <element name="Comment"><color name="Color" Background="Default" Foreground="#808080"/>
            <font type="FontStyle" bold="false" italic="True" underline="x" strikeOut="true"/>
          </element>
          <element name="Reserved Word"><font type="FontStyle" bold="false"/></element>
        </language></languages></configs>)")
        .ApplyHighlighter(ozra);
    EXPECT_EQ(ozra.Filter, "Ozra (*.ozra)|*.ozra");
    EXPECT_EQ(ozra.Attributes[0].Colors, (ColorPair{Color(), Rgb{128, 128, 128}}));
    EXPECT_EQ(ozra.Attributes[0].Style, (FontStyle{false, true, false, true}));
    EXPECT_EQ(ozra.Attributes[1].Style, FontStyle{});
    EXPECT_EQ(ozra.Attributes[2].Style, FontStyle{});
}

TEST(ConfigFileTest, TheDefaultFileIsCompleteAndReadsBackAsWritten) {
    ozra::testing::TempFolder folder;
    const std::string path = folder.Path + "home/WeftlineStudio.config";
    EditorSettings editor;
    editor.TabWidth = 4;
    editor.ActiveLine = Color();
    const std::vector<ActionShortCut> actions = {{"Edit", "&Undo", CtrlFlag | 'Z'},
                                                 {"Edit", "&Redo", CtrlFlag | ShiftFlag | 'Z'},
                                                 {"Run", "&Run", keys::F1 + 8}};
    const std::vector<HighlighterStyle> styles = {
        {"Ozra",
         "All files (*.*)|*.*",
         {{"Comment", {Color(), Rgb{128, 128, 128}}, {false, true}}}},
        {"HTML", "HTML Files (*.htm;*.html)|*.htm;*.html", {}}};
    ASSERT_TRUE(WriteDefaultConfigFile(path, editor, actions, styles));
    EXPECT_FALSE(WriteDefaultConfigFile(path, EditorSettings(), {}, {}));

    const ConfigFile config = ConfigFile::Load(path);
    EXPECT_TRUE(config.ShowSplashScreen());
    for (const ActionShortCut& action : actions)
        EXPECT_EQ(config.ShortCutOf(action.Category, action.Caption), action.Key) << action.Caption;
    EditorSettings read;
    config.ApplyEditor(read);
    EXPECT_EQ(read.TabWidth, 4);
    EXPECT_EQ(read.ActiveLine, Color());
    EXPECT_TRUE(read.UndoAfterSave);
    HighlighterStyle ozra{"Ozra", "", {{"Comment", {}, {}}}};
    config.ApplyHighlighter(ozra);
    EXPECT_EQ(ozra.Filter, styles[0].Filter);
    EXPECT_EQ(ozra.Attributes[0].Colors, styles[0].Attributes[0].Colors);
    EXPECT_EQ(ozra.Attributes[0].Style, styles[0].Attributes[0].Style);

    const xml::XmlElement document = xml::LoadXmlFile(path);
    EXPECT_EQ(document.Locate("/configs/IDE")->Attribute("name")[0], "IDE Options");
    EXPECT_NE(document.Locate("/configs/Editor/options"), nullptr);
    EXPECT_EQ(*document.Locate("/configs/languages")->Attribute("name"), "Syntax Highlight");
}

TEST(ConfigFileTest, AMissingFileIsBuiltInAndABrokenOneRaises) {
    ozra::testing::TempFolder folder;
    EditorSettings settings;
    ConfigFile::Load(folder.Path + "none.config").ApplyEditor(settings);
    EXPECT_EQ(settings.TabWidth, 2);
    folder.Write("broken.config", "<configs><Editor>");
    EXPECT_ANY_THROW(ConfigFile::Load(folder.Path + "broken.config"));
}

} // namespace
} // namespace ozra::ide
