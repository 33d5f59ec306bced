// The product's name, as the main window's caption, message boxes and the
// about box show it.
#pragma once

#include <string_view>

namespace ozra::ide::gui {

inline constexpr std::string_view kApplicationTitle = "Velkor Weftline Studio";

} // namespace ozra::ide::gui
