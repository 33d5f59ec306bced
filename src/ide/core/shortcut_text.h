// Keyboard shortcuts and their text, as the configuration file stores them
// («Ctrl+Z», «Shift+F3», «Ctrl+Shift+U»; empty for none).
//
// A shortcut is one 16-bit number: a virtual-key code in the low byte and
// the modifier flags above it, the form stored shortcut tables use. The
// window layer maps the codes onto its own keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ozra::ide {

using ShortCut = std::uint16_t;

inline constexpr ShortCut ShiftFlag = 0x2000;
inline constexpr ShortCut CtrlFlag = 0x4000;
inline constexpr ShortCut AltFlag = 0x8000;

// Virtual-key codes of the keys that have names; letters and digits are
// their upper-case ASCII codes, F1 to F24 are 0x70 to 0x87.
namespace keys {
inline constexpr std::uint8_t Backspace = 0x08, Tab = 0x09, Enter = 0x0D, Escape = 0x1B,
                              Space = 0x20, PageUp = 0x21, PageDown = 0x22, End = 0x23, Home = 0x24,
                              Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                              Delete = 0x2E, F1 = 0x70;
} // namespace keys

// «Ctrl+Shift+Alt+KEY», modifiers in that order; "" for 0.
std::string ShortCutToText(ShortCut shortCut);
// Modifiers in any order and letter case; "" is 0 (no shortcut). None for
// text that names no key.
std::optional<ShortCut> TextToShortCut(std::string_view text);

} // namespace ozra::ide
