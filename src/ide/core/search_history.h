// The find and replace histories ("find.histroy", "replace.histroy"): the
// texts used, newest first, at most 100, one entry per line in the file.
//
// A text holding a line break cannot be one line of the file, so it is kept
// for the session but never written: written, it would come back as several
// entries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide {

class SearchHistory {
  public:
    static constexpr std::size_t MaxEntries = 100;

    // Moves the text to the top, dropping an equal entry (ignoring case).
    void Use(std::string_view text);
    const std::vector<std::string>& Entries() const noexcept { return entries_; }

    // A missing file is an empty history.
    void Load(const std::string& path);
    // Replaces the file whole.
    void Save(const std::string& path) const;

  private:
    std::vector<std::string> entries_;
};

} // namespace ozra::ide
