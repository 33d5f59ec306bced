// Reading and writing the configuration file.
#include "ide/core/config_file.h"

#include "libs/xml/xml_document.h"
#include "platform/file_system.h"
#include "value/names.h"

#include <charconv>
#include <cstdio>
#include <functional>

namespace ozra::ide {

namespace {

using xml::XmlElement;

// Integers outside these bounds are as malformed as "abc": a tab width of
// 0 or a font of a million points is never what the user meant.
struct Bounds {
    int Low;
    int High;
};

bool HasName(const XmlElement& element, std::string_view name) {
    const std::string* own = element.Attribute("name");
    return own && value::NamesEqual(*own, name);
}

const XmlElement* DirectOption(const XmlElement* section, std::string_view name) {
    if (!section) return nullptr;
    for (const XmlElement& child : section->Children)
        if (HasName(child, name)) return &child;
    return nullptr;
}

// Depth first, in document order, without recursion.
const XmlElement* NestedOption(const XmlElement* section, std::string_view name) {
    if (!section) return nullptr;
    std::vector<const XmlElement*> pending;
    for (auto child = section->Children.rbegin(); child != section->Children.rend(); ++child)
        pending.push_back(&*child);
    while (!pending.empty()) {
        const XmlElement* next = pending.back();
        pending.pop_back();
        if (HasName(*next, name)) return next;
        for (auto child = next->Children.rbegin(); child != next->Children.rend(); ++child)
            pending.push_back(&*child);
    }
    return nullptr;
}

std::optional<bool> ParseBool(const std::string* text) {
    if (!text) return std::nullopt;
    if (value::NamesEqual(*text, "true")) return true;
    if (value::NamesEqual(*text, "false")) return false;
    return std::nullopt;
}

std::optional<int> ParseInt(const std::string* text, Bounds bounds) {
    if (!text) return std::nullopt;
    int number = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error != std::errc() || stop != end || number < bounds.Low || number > bounds.High)
        return std::nullopt;
    return number;
}

const std::string* ValueOf(const XmlElement* option) {
    return option ? option->Attribute("value") : nullptr;
}

void ApplyColor(const std::string* text, Color& color) {
    if (!text) return;
    if (const std::optional<Color> parsed = ParseColor(*text)) color = *parsed;
}

void ApplyPair(const XmlElement* option, ColorPair& pair) {
    if (!option) return;
    ApplyColor(option->Attribute("Background"), pair.Background);
    ApplyColor(option->Attribute("Foreground"), pair.Foreground);
}

// A present option whose value does not parse takes `fallback`.
void ApplyBool(const XmlElement* option, bool& setting, bool fallback) {
    if (option) setting = ParseBool(ValueOf(option)).value_or(fallback);
}

void ApplyInt(const XmlElement* option, int& setting, int fallback, Bounds bounds) {
    if (option) setting = ParseInt(ValueOf(option), bounds).value_or(fallback);
}

XmlElement Element(std::string name,
                   std::initializer_list<std::pair<const char*, std::string>> attributes) {
    XmlElement element{std::move(name), {}, {}, {}};
    for (const auto& [key, text] : attributes)
        element.Attributes.push_back({key, text});
    return element;
}

XmlElement ColorOption(const char* name, const ColorPair& pair) {
    return Element("option", {{"name", name},
                              {"type", "Color"},
                              {"Background", ColorText(pair.Background)},
                              {"Foreground", ColorText(pair.Foreground)}});
}

XmlElement ValueOption(const char* element, const char* name, const char* type, std::string text) {
    return Element(element, {{"name", name}, {"type", type}, {"value", std::move(text)}});
}

std::string BoolText(bool on) {
    return on ? "true" : "false";
}

} // namespace

std::string ColorText(const Color& color) {
    if (!color) return "Default";
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color->Red, color->Green, color->Blue);
    return text;
}

std::optional<Color> ParseColor(std::string_view text) {
    if (value::NamesEqual(text, "Default")) return Color();
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint8_t parts[3];
    for (int part = 0; part < 3; ++part) {
        const char* start = text.data() + 1 + part * 2;
        const auto [stop, error] = std::from_chars(start, start + 2, parts[part], 16);
        if (error != std::errc() || stop != start + 2) return std::nullopt;
    }
    return Color(Rgb{parts[0], parts[1], parts[2]});
}

std::string PlainCaption(std::string_view caption) {
    std::string plain;
    for (char c : caption)
        if (c != '&') plain += c;
    return plain;
}

ConfigFile ConfigFile::Load(const std::string& path) {
    if (!platform::FileExists(path)) return ConfigFile();
    return ConfigFile(xml::LoadXmlFile(path));
}

bool ConfigFile::ShowSplashScreen() const {
    bool show = true;
    ApplyBool(DirectOption(document_.Locate("/configs/IDE"), "Show Splash Screen"), show, true);
    return show;
}

std::optional<ShortCut> ConfigFile::ShortCutOf(std::string_view category,
                                               std::string_view caption) const {
    const XmlElement* section = DirectOption(document_.Locate("/configs/ShortCuts"), category);
    const std::string* text = ValueOf(DirectOption(section, PlainCaption(caption)));
    if (!text) return std::nullopt;
    return TextToShortCut(*text);
}

void ConfigFile::ApplyEditor(EditorSettings& settings) const {
    const XmlElement* editor = document_.Locate("/configs/editor");
    if (!editor) return;
    const auto option = [&](std::string_view name) { return NestedOption(editor, name); };
    if (const std::string* font = ValueOf(option("Font Name")); font && !font->empty())
        settings.FontName = *font;
    ApplyInt(option("Font Size"), settings.FontSize, 10, {1, 400});
    ApplyPair(option("Language Delimiter Color"), settings.LanguageDelimiter);
    ApplyInt(option("Right Edge"), settings.RightEdge, 80, {0, 10000});
    ApplyColor(ValueOf(option("Right Edge Color")), settings.RightEdgeColor);
    ApplyColor(ValueOf(option("Active Line Color")), settings.ActiveLine);
    ApplyPair(option("Selected Text Color"), settings.SelectedText);
    ApplyBool(option("Auto Indent"), settings.AutoIndent, true);
    ApplyInt(option("Tab Width"), settings.TabWidth, 2, {1, 64});
    ApplyBool(option("Tabs to Spaces"), settings.TabsToSpaces, true);
    ApplyInt(option("Undo Level"), settings.UndoLevel, 1024, {0, 1000000});
    ApplyBool(option("Group Undo"), settings.GroupUndo, true);
    ApplyBool(option("Undo After Save"), settings.UndoAfterSave, false);
}

void ConfigFile::ApplyHighlighter(HighlighterStyle& style) const {
    const XmlElement* language = DirectOption(document_.Locate("/configs/languages"), style.Name);
    if (!language) return;
    if (const std::string* filter = ValueOf(DirectOption(language, "File filter")))
        style.Filter = *filter;
    for (AttributeStyle& attribute : style.Attributes) {
        const XmlElement* element = DirectOption(language, attribute.Name);
        if (!element) continue;
        ApplyPair(DirectOption(element, "color"), attribute.Colors);
        for (const XmlElement& child : element->Children) {
            const std::string* type = child.Attribute("type");
            if (!type || !value::NamesEqual(*type, "FontStyle")) continue;
            const auto on = [&](const char* name) {
                const std::string* flag = child.Attribute(name);
                return flag && value::NamesEqual(*flag, "true");
            };
            attribute.Style = FontStyle{on("bold"), on("italic"), on("underline"), on("strikeOut")};
            break;
        }
    }
}

XmlElement DefaultConfigDocument(const EditorSettings& editor,
                                 const std::vector<ActionShortCut>& actions,
                                 const std::vector<HighlighterStyle>& highlighters) {
    XmlElement root{"configs", {}, {}, {}};

    XmlElement ide = Element("IDE", {{"name", "IDE Options"}, {"type", "Catalog"}});
    ide.Children.push_back(ValueOption("option", "Show Splash Screen", "Bool", "true"));
    root.Children.push_back(std::move(ide));

    XmlElement shortcuts = Element("ShortCuts", {{"name", "Short Cuts"}, {"type", "Catalog"}});
    for (const ActionShortCut& action : actions) {
        XmlElement* category = nullptr;
        for (XmlElement& existing : shortcuts.Children)
            if (HasName(existing, action.Category)) category = &existing;
        if (!category) {
            // Readers go by the "name" attribute; the element only needs a
            // name XML accepts.
            const std::string element =
                xml::IsXmlName(action.Category) ? action.Category : "section";
            shortcuts.Children.push_back(
                Element(element, {{"name", action.Category}, {"type", "Section"}}));
            category = &shortcuts.Children.back();
        }
        category->Children.push_back(ValueOption("key", PlainCaption(action.Caption).c_str(),
                                                 "Text", ShortCutToText(action.Key)));
    }
    root.Children.push_back(std::move(shortcuts));

    XmlElement options = Element("Editor", {{"name", "Editor Options"}, {"type", "Catalog"}});
    options.Children.push_back(ValueOption("option", "Font Name", "Font", editor.FontName));
    options.Children.push_back(
        ValueOption("option", "Font Size", "Text", std::to_string(editor.FontSize)));
    options.Children.push_back(ColorOption("Language Delimiter Color", editor.LanguageDelimiter));
    options.Children.push_back(
        ValueOption("option", "Right Edge", "Text", std::to_string(editor.RightEdge)));
    options.Children.push_back(
        ValueOption("option", "Right Edge Color", "SingleColor", ColorText(editor.RightEdgeColor)));
    XmlElement section = Element("options", {{"type", "Section"}});
    section.Children.push_back(
        ValueOption("option", "Active Line Color", "SingleColor", ColorText(editor.ActiveLine)));
    section.Children.push_back(ColorOption("Selected Text Color", editor.SelectedText));
    section.Children.push_back(
        ValueOption("option", "Auto Indent", "Bool", BoolText(editor.AutoIndent)));
    section.Children.push_back(
        ValueOption("option", "Tab Width", "Text", std::to_string(editor.TabWidth)));
    section.Children.push_back(
        ValueOption("option", "Tabs to Spaces", "Bool", BoolText(editor.TabsToSpaces)));
    section.Children.push_back(
        ValueOption("option", "Undo Level", "Text", std::to_string(editor.UndoLevel)));
    section.Children.push_back(
        ValueOption("option", "Group Undo", "Bool", BoolText(editor.GroupUndo)));
    section.Children.push_back(ValueOption("option", "Undo After Save", "Bool", "true"));
    options.Children.push_back(std::move(section));
    root.Children.push_back(std::move(options));

    XmlElement languages = Element("languages", {{"name", "Syntax Highlight"}});
    for (const HighlighterStyle& style : highlighters) {
        XmlElement language = Element("language", {{"name", style.Name}, {"type", "Catalog"}});
        language.Children.push_back(ValueOption("filter", "File filter", "Text", style.Filter));
        for (const AttributeStyle& attribute : style.Attributes) {
            XmlElement element =
                Element("element", {{"name", attribute.Name}, {"type", "Section"}});
            XmlElement color = ColorOption("Color", attribute.Colors);
            color.Name = "color";
            element.Children.push_back(std::move(color));
            element.Children.push_back(
                Element("font", {{"name", "Font Style"},
                                 {"type", "FontStyle"},
                                 {"bold", BoolText(attribute.Style.Bold)},
                                 {"italic", BoolText(attribute.Style.Italic)},
                                 {"underline", BoolText(attribute.Style.Underline)},
                                 {"strikeOut", BoolText(attribute.Style.StrikeOut)}}));
            language.Children.push_back(std::move(element));
        }
        languages.Children.push_back(std::move(language));
    }
    root.Children.push_back(std::move(languages));
    return root;
}

bool WriteDefaultConfigFile(const std::string& path, const EditorSettings& editor,
                            const std::vector<ActionShortCut>& actions,
                            const std::vector<HighlighterStyle>& highlighters) {
    if (platform::FileExists(path)) return false;
    platform::CreateFolderOf(path);
    xml::SaveXmlFile(path, DefaultConfigDocument(editor, actions, highlighters), {});
    return true;
}

} // namespace ozra::ide
