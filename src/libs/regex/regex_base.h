// The abstract regex layer: the one way every part of the system makes and
// uses regular expressions.
//
// `RegexClass.Create(pattern, locale, options)` makes a `TRegexBase`; its
// `Match` answers a `TMatchBase` for the first match, which `NextMatch`
// moves forward in place (never backwards: an empty match moves on by at
// least one byte); groups are `TGroupBase` objects. All three are counted
// runtime objects that start at count 0, so a script value or a `Ref` keeps
// them alive. Every match is independent of its regex and of every other
// match: it shares the compiled pattern and the subject, and a group shares
// the match data it reads, so nothing a caller still holds can dangle.
//
// Positions and lengths are 0-based byte offsets; -1 is "no position".
#pragma once

#include "libs/regex/shared_text.h"
#include "value/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::regex {

using value::Ref;

// The abstract option set: a 16-bit set of which only these bits count.
enum class RegexOption : std::uint8_t {
    IgnoreCase = 1,
    MultiLine = 2,
    SingleLine = 5,
    IgnorePatternWhitespace = 6,
};
using RegexOptions = std::uint16_t;

constexpr RegexOptions OptionBit(RegexOption option) noexcept {
    return static_cast<RegexOptions>(1u << static_cast<unsigned>(option));
}

class TGroupBase : public value::TtsObjectZero {
  public:
    virtual std::int64_t Index() const = 0;
    virtual bool IsNull() const = 0;
    virtual std::int64_t Length() const = 0;
    // Valid while the group lives.
    virtual std::string_view Value() const = 0;
};

// Where no group exists: Index -1, IsNull, Length -1, Value "".
class TEmptyGroup final : public TGroupBase {
  public:
    std::int64_t Index() const override { return -1; }
    bool IsNull() const override { return true; }
    std::int64_t Length() const override { return -1; }
    std::string_view Value() const override { return {}; }
};

class TMatchBase : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TMatchBase"; }

    // Group by number (0 the whole match, -1 the text before it, -2 the
    // text after it); another number fails.
    virtual Ref<TGroupBase> Groups(int index) = 0;
    // The named group, or the empty group for an unknown name.
    virtual Ref<TGroupBase> GroupByName(std::string_view name) = 0;
    // Capture count + 1 for a successful match, 0 for a failed one.
    virtual int GroupCount() const = 0;
    virtual bool Success() const = 0;
    // The matched text, "" when failed; valid until the next `NextMatch`.
    virtual std::string_view Value() const = 0;
    // Start and length of the whole match (-1 and 0 when failed).
    virtual std::int64_t Index() const = 0;
    virtual std::int64_t Length() const = 0;
    virtual const SharedText& Subject() const = 0;
    // Moves to the next match from the greater of the end of this one (at
    // least one byte on) and the last start + 1.
    virtual TMatchBase& NextMatch() = 0;

    // The group through the safe access every script-facing caller uses:
    // the empty group for a number outside 0..GroupCount-1 or a failure.
    Ref<TGroupBase> SafeGroup(int index) noexcept;

    // Set by a script to stop a loop over matches; stays set.
    bool Aborted = false;
};

class TRegexBase : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TRegexBase"; }

    virtual Ref<TMatchBase> Match(const SharedText& subject) = 0;
    virtual std::string Replace(const SharedText& subject, std::string_view replacement) = 0;
    // True when anything was replaced.
    virtual bool Replace(const SharedText& subject, std::string_view replacement,
                         std::string& result) = 0;

    // Literal text as a pattern: letters, digits and spaces as they are,
    // other printable ASCII escaped, CR, LF and tab as \r \n \t, every other
    // byte dropped; enclosed in \b for whole words.
    static std::string EscapeLiteral(std::string_view text, bool wholeWord);
    // Every "$" doubled, so the text replaces literally.
    static std::string EscapeReplacement(std::string_view text);
};

// The class that makes regexes; its `Create` raises the pattern's errors.
struct TRegexClass {
    Ref<TRegexBase> (*Create)(std::string_view pattern, std::string_view locale,
                              RegexOptions options);
};

extern const TRegexClass RegexClass;

} // namespace ozra::regex
