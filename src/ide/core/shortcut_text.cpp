// Shortcut text both ways.
#include "ide/core/shortcut_text.h"

#include "value/names.h"

#include <array>

namespace ozra::ide {

namespace {

struct KeyName {
    std::uint8_t Code;
    std::string_view Name;
};

constexpr std::array<KeyName, 15> NamedKeys = {{
    {keys::Backspace, "BkSp"},
    {keys::Tab, "Tab"},
    {keys::Enter, "Enter"},
    {keys::Escape, "Esc"},
    {keys::Space, "Space"},
    {keys::PageUp, "PgUp"},
    {keys::PageDown, "PgDn"},
    {keys::End, "End"},
    {keys::Home, "Home"},
    {keys::Left, "Left"},
    {keys::Up, "Up"},
    {keys::Right, "Right"},
    {keys::Down, "Down"},
    {keys::Insert, "Ins"},
    {keys::Delete, "Del"},
}};

constexpr std::array<std::pair<ShortCut, std::string_view>, 3> Modifiers = {{
    {CtrlFlag, "Ctrl+"},
    {ShiftFlag, "Shift+"},
    {AltFlag, "Alt+"},
}};

std::string KeyText(std::uint8_t code) {
    for (const KeyName& key : NamedKeys)
        if (key.Code == code) return std::string(key.Name);
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return std::string(1, char(code));
    if (code >= keys::F1 && code < keys::F1 + 24) return "F" + std::to_string(code - keys::F1 + 1);
    return {};
}

std::optional<std::uint8_t> KeyCode(std::string_view name) {
    for (const KeyName& key : NamedKeys)
        if (value::NamesEqual(key.Name, name)) return key.Code;
    if (name.size() == 1) {
        const unsigned char c = static_cast<unsigned char>(value::FoldAscii(name[0]));
        if (c >= '0' && c <= '9') return c;
        if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 'A');
        return std::nullopt;
    }
    if (name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
        int number = 0;
        for (char digit : name.substr(1)) {
            if (digit < '0' || digit > '9') return std::nullopt;
            number = number * 10 + (digit - '0');
        }
        if (number >= 1 && number <= 24) return static_cast<std::uint8_t>(keys::F1 + number - 1);
    }
    return std::nullopt;
}

} // namespace

std::string ShortCutToText(ShortCut shortCut) {
    const std::string key = KeyText(static_cast<std::uint8_t>(shortCut & 0xFF));
    if (key.empty()) return {};
    std::string text;
    for (const auto& [flag, name] : Modifiers)
        if (shortCut & flag) text += name;
    return text + key;
}

std::optional<ShortCut> TextToShortCut(std::string_view text) {
    if (text.empty()) return ShortCut{0};
    ShortCut flags = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [flag, name] : Modifiers) {
            if (text.size() > name.size() && value::NamesEqual(text.substr(0, name.size()), name)) {
                flags |= flag;
                text.remove_prefix(name.size());
                found = true;
            }
        }
    }
    const std::optional<std::uint8_t> code = KeyCode(text);
    if (!code) return std::nullopt;
    return static_cast<ShortCut>(flags | *code);
}

} // namespace ozra::ide
