// The core's shortcuts (a virtual-key code with modifier flags, as the
// configuration file's texts read) as Qt key sequences.
#pragma once

#include "ide/core/shortcut_text.h"

#include <QKeySequence>

#include <optional>

namespace ozra::ide::gui {

// Empty for 0; none for a key Qt has no name for.
std::optional<QKeySequence> ToKeySequence(ShortCut shortCut);

} // namespace ozra::ide::gui
