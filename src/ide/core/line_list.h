// A unit's breakpoint or bookmark lines.
//
// Each line is kept as 9-character right-aligned decimal text ("%9d"), the
// form the environment's tool windows key lines by, so that sorting the
// texts sorts the lines: line 5 comes before line 40.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ozra::ide {

class LineList {
  public:
    static std::string Key(std::int32_t line);

    bool Contains(std::int32_t line) const;
    // Adds the line when absent, removes it when present; answers whether
    // it is in the list afterwards.
    bool Toggle(std::int32_t line);
    // Adds the line when absent.
    void Add(std::int32_t line);
    void Clear() noexcept { keys_.clear(); }
    bool Empty() const noexcept { return keys_.empty(); }

    const std::vector<std::string>& Keys() const noexcept { return keys_; }
    std::vector<std::int32_t> Lines() const;

  private:
    // Sorted.
    std::vector<std::string> keys_;
};

} // namespace ozra::ide
