// The recent-files list behind the toolbar's open button: newest first, at
// most 20 entries, names compared ignoring case as the list always has.
//
// It is stored with the menu and toolbar customisation in
// "Default.toolbar", a small text file of our own: a first line naming the
// format, then one "recent=" line per entry, newest first, then the bars'
// lines (bar_arrangement.h); each reader skips the other's lines. Names
// holding a line break are not stored, so every entry read back is one
// that was written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide::gui {

class RecentFiles {
  public:
    static constexpr std::size_t kCapacity = 20;

    // Puts the name at the top: an entry equal to it is moved there; a new
    // name drops the oldest entry when the list is full.
    void Add(std::string_view name);
    void Remove(std::string_view name);
    const std::vector<std::string>& Entries() const noexcept { return entries_; }

    // The customisation file's text, and the list read from it (entries
    // with blanks around them trimmed; unknown lines ignored).
    std::string ToText() const;
    static RecentFiles FromText(std::string_view text);

  private:
    std::vector<std::string>::iterator Find(std::string_view name);

    std::vector<std::string> entries_;
};

} // namespace ozra::ide::gui
