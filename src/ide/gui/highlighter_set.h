// The text highlighters an editor offers, by display name in menu order,
// and how one is installed on an editor.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide::gui {

class ScriptEditor;

class HighlighterSet {
  public:
    // Display names sorted ignoring case, "[None]" among them.
    const std::vector<std::string>& Names() const noexcept { return names_; }
    // The name equal to `name` ignoring case; the first in menu order when
    // none is.
    std::string Canonical(std::string_view name) const;
    // The highlighter whose file filter matches one of the name's
    // extensions; `current` for a name without one.
    std::string NameForFile(std::string_view fileName, const std::string& current) const;
    void Apply(ScriptEditor& editor, const std::string& name) const;

  private:
    std::vector<std::string> names_ = {"[None]"};
};

} // namespace ozra::ide::gui
