// The configuration file "WeftlineStudio.config": start-up options,
// shortcuts, editor options and the highlighters' styles.
//
// An XML document with the root "configs". Sections are found by path from
// the root, element names ignoring case; options are found by their "name"
// attribute (ignoring case) among a section's direct children or anywhere
// below it, as each reader says. Element names of options are free. A
// value that does not parse keeps the previous setting, or takes the
// option's fallback where it has one; a missing file or section leaves
// everything built in.
//
// Colours are «#RRGGBB»; "Default" stands for the editor component's own
// colour and is written for any colour that is not a plain RGB value.
#pragma once

#include "ide/core/shortcut_text.h"
#include "libs/xml/xml_element.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide {

struct Rgb {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// None is the component's default colour.
using Color = std::optional<Rgb>;

struct ColorPair {
    Color Background;
    Color Foreground;
    friend bool operator==(const ColorPair&, const ColorPair&) = default;
};

struct FontStyle {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// «#RRGGBB», or "Default" for none.
std::string ColorText(const Color& color);
// None when the text is neither «#RRGGBB» nor "Default".
std::optional<Color> ParseColor(std::string_view text);

// The editor options of "/configs/editor", with their built-in values.
struct EditorSettings {
    std::string FontName = "Courier New";
    int FontSize = 10;
    ColorPair LanguageDelimiter{Rgb{245, 251, 181}, Rgb{255, 0, 0}};
    int RightEdge = 80;
    Color RightEdgeColor = Rgb{192, 192, 192};
    Color ActiveLine = Rgb{172, 216, 255};
    ColorPair SelectedText{Rgb{83, 109, 166}, Rgb{255, 255, 255}};
    bool AutoIndent = true;
    int TabWidth = 2;
    bool TabsToSpaces = true;
    int UndoLevel = 1024;
    bool GroupUndo = true;
    bool UndoAfterSave = false;
};

// One style of a highlighter: a token kind's name, colours and font style.
struct AttributeStyle {
    std::string Name;
    ColorPair Colors;
    FontStyle Style;
};

// What the configuration holds for one highlighter.
struct HighlighterStyle {
    // The display name ("Ozra", "[None]", "HTML", ...).
    std::string Name;
    std::string Filter;
    std::vector<AttributeStyle> Attributes;
};

// An action as the shortcut section lists it.
struct ActionShortCut {
    std::string Category;
    // With its "&" marks; the file names the action without them.
    std::string Caption;
    ShortCut Key = 0;
};

class ConfigFile {
  public:
    // An empty configuration: everything built in.
    ConfigFile() = default;
    explicit ConfigFile(xml::XmlElement document) : document_(std::move(document)) {}

    // Reads the file; a missing file is an empty configuration, a file that
    // does not parse raises.
    static ConfigFile Load(const std::string& path);

    // "Show Splash Screen" (default true).
    bool ShowSplashScreen() const;
    // The shortcut the file gives the action; none when it has no entry or
    // its text names no key.
    std::optional<ShortCut> ShortCutOf(std::string_view category, std::string_view caption) const;
    // Applies the editor options present to `settings`.
    void ApplyEditor(EditorSettings& settings) const;
    // Applies the file filter and attribute styles present for the
    // highlighter named `style.Name`.
    void ApplyHighlighter(HighlighterStyle& style) const;

    const xml::XmlElement& Document() const noexcept { return document_; }

  private:
    xml::XmlElement document_;
};

// A complete file: every section and option with the given values.
xml::XmlElement DefaultConfigDocument(const EditorSettings& editor,
                                      const std::vector<ActionShortCut>& actions,
                                      const std::vector<HighlighterStyle>& highlighters);
// Writes the complete default file when none exists; answers whether it
// wrote one.
bool WriteDefaultConfigFile(const std::string& path, const EditorSettings& editor,
                            const std::vector<ActionShortCut>& actions,
                            const std::vector<HighlighterStyle>& highlighters);

// The caption without its "&" marks.
std::string PlainCaption(std::string_view caption);

} // namespace ozra::ide
