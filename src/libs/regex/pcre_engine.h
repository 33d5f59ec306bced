// The engine binding: compiled patterns, matches and capture groups on
// PCRE2's 8-bit library.
//
// `TRegex` owns one compiled pattern (JIT-compiled where the pattern allows
// it), its character tables when a locale other than "C" was asked for, and
// the map of group names. It is immutable after creation and shared
// (`std::shared_ptr`) by every match made from it, so a match never outlives
// its pattern.
//
// `TRegexMatch` is one attempt at one start offset: the shared subject, the
// engine's offset pairs (0-based byte offsets, end exclusive, unset pairs
// both -1) and the group count (capture count + 1, 0 when it failed).
// Matches are shared too: a group handed out keeps its match alive, and a
// loop over matches may refill a match in place only while nobody else
// holds it.
//
// Every match runs with a match and depth limit and a 1 MiB JIT stack, so a
// pattern that backtracks catastrophically stops with a clear error instead
// of hanging a run.
#pragma once

#include "libs/regex/shared_text.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace ozra::regex::engine {

// The compile option set; bit n is member n.
enum class CompileOption : std::uint8_t {
    Anchored,
    Caseless,
    DollarEndOnly,
    DotAll,
    Extended,
    Extra,
    MultiLine,
    Ungreedy,
    NoAutoCapture,
    Utf8,
    NoUtf8Check,
    AutoCallout,
    Partial,
    FirstLine,
};
using CompileOptions = std::uint16_t;

enum class MatchOption : std::uint8_t { Anchored, NotBol, NotEol, NotEmpty, NoUtf8Check, DfaShortest };
using MatchOptions = std::uint8_t;

template <class Option>
constexpr auto OptionBit(Option option) noexcept {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(option));
}

// The engine flags of a compile option set, and back.
std::uint32_t CompileFlags(CompileOptions options) noexcept;
CompileOptions CompileOptionsOf(std::uint32_t flags) noexcept;
std::uint32_t MatchFlags(MatchOptions options) noexcept;

// Character tables for a locale. "C" with category 0 uses the engine's
// built-in tables (no tables of its own).
class TRegexLocale {
public:
    TRegexLocale(std::string_view name, int category);
    TRegexLocale(const TRegexLocale&) = delete;
    TRegexLocale& operator=(const TRegexLocale&) = delete;
    ~TRegexLocale();

    const std::string& Name() const noexcept { return name_; }
    const std::uint8_t* Tables() const noexcept { return tables_; }

private:
    std::string name_;
    const std::uint8_t* tables_ = nullptr;
};

// Group names to numbers, case-sensitive; a name may be added only once.
class TNameIndexLookup {
public:
    void Add(std::string_view name, int number);
    std::optional<int> Find(std::string_view name) const;
    std::size_t Count() const noexcept { return names_.size(); }

private:
    std::map<std::string, int, std::less<>> names_;
};

class TRegexMatch;

class TRegex : public std::enable_shared_from_this<TRegex> {
public:
    static constexpr std::uint32_t MatchLimit = 10'000'000;
    static constexpr std::uint32_t DepthLimit = 100'000;

    // Compiles the pattern. Fails with "Invalid Pattern '%s': error at
    // position %d: %s" or a locale error.
    static std::shared_ptr<const TRegex> Compile(std::string_view pattern, CompileOptions options,
                                                 std::string_view locale = "C",
                                                 int category = 0);
    TRegex(const TRegex&) = delete;
    TRegex& operator=(const TRegex&) = delete;
    ~TRegex();

    const std::string& Pattern() const noexcept { return pattern_; }
    // The options read back from the compiled pattern.
    CompileOptions Options() const;
    int CaptureCount() const noexcept { return captureCount_; }
    bool UsesJit() const noexcept { return jit_; }
    const TNameIndexLookup& Names() const noexcept { return names_; }
    const TRegexLocale& Locale() const noexcept { return *locale_; }

    std::shared_ptr<TRegexMatch> Match(const SharedText& subject) const {
        return MatchAt(subject, 0);
    }
    // A start below 0 or past the end gives a failed match without trying.
    std::shared_ptr<TRegexMatch> MatchAt(const SharedText& subject, std::int64_t start,
                                         MatchOptions options = 0) const;
    // Matches again into an existing match of this pattern (which nobody
    // else may hold), reusing its storage.
    void MatchInto(TRegexMatch& match, std::int64_t start, MatchOptions options = 0) const;

    // Every match replaced by the expansion of `replacement` (see
    // substitute.h); `replacedAny` tells whether anything matched.
    std::string Replace(const SharedText& subject, std::string_view replacement,
                        bool& replacedAny) const;

private:
    struct Private {};

public:
    TRegex(Private, std::string_view pattern, std::string_view locale, int category);

private:
    void Build(CompileOptions options);
    void ReadNames();

    std::string pattern_;
    std::unique_ptr<TRegexLocale> locale_;
    pcre2_real_code_8* code_ = nullptr;
    int captureCount_ = 0;
    bool jit_ = false;
    std::uint32_t matchFlags_ = 0;
    TNameIndexLookup names_;
};

class TRegexMatch {
public:
    TRegexMatch(std::shared_ptr<const TRegex> regex, SharedText subject);
    TRegexMatch(const TRegexMatch&) = delete;
    TRegexMatch& operator=(const TRegexMatch&) = delete;
    ~TRegexMatch();

    const TRegex& Regex() const noexcept { return *regex_; }
    const SharedText& Subject() const noexcept { return subject_; }
    bool Success() const noexcept { return groupCount_ > 0; }
    // Capture count + 1 when the match succeeded, 0 otherwise.
    int GroupCount() const noexcept { return groupCount_; }
    // Offsets of group n; -1 names the text before the match and -2 the
    // text after it. Unset and unknown groups answer (-1, -1).
    std::int64_t Start(int group) const noexcept;
    std::int64_t End(int group) const noexcept;
    // The group's text; "" for an unset group. Valid while the match lives.
    std::string_view Text(int group) const noexcept;
    std::optional<int> GroupNumber(std::string_view name) const { return regex_->Names().Find(name); }

private:
    friend class TRegex;

    std::shared_ptr<const TRegex> regex_;
    SharedText subject_;
    pcre2_real_match_data_8* data_ = nullptr;
    const std::size_t* offsets_ = nullptr;
    int groupCount_ = 0;
};

// One group of a match; keeps the match alive.
class TRegexCaptureGroup {
public:
    TRegexCaptureGroup(std::shared_ptr<const TRegexMatch> match, int number) noexcept
        : match_(std::move(match)), number_(number) {}

    std::int64_t Index() const noexcept { return match_->Start(number_); }
    std::int64_t Length() const noexcept { return match_->End(number_) - match_->Start(number_); }
    std::string_view Value() const noexcept { return match_->Text(number_); }
    bool Success() const noexcept { return Index() != -1; }
    bool IsNull() const noexcept { return !Success(); }

private:
    std::shared_ptr<const TRegexMatch> match_;
    int number_;
};

}  // namespace ozra::regex::engine
