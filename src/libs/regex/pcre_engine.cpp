// Compiling and matching on PCRE2, with the match budget every run gets.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "libs/regex/pcre_engine.h"

#include "libs/regex/regex_error.h"
#include "libs/regex/substitute.h"

#include <pcre2.h>

#include <clocale>
#include <locale.h>

namespace ozra::regex::engine {

namespace {

struct FlagRow {
    CompileOption Option;
    std::uint32_t Flag;
};

// PCRE2's names for the old compile flags. "Extra" (unknown escapes are
// errors) is PCRE2's fixed behaviour; "Partial" and "NoUtf8Check" are match
// flags in PCRE2 and are applied at every match of the pattern.
constexpr FlagRow CompileFlagTable[] = {
    {CompileOption::Anchored, PCRE2_ANCHORED},
    {CompileOption::Caseless, PCRE2_CASELESS},
    {CompileOption::DollarEndOnly, PCRE2_DOLLAR_ENDONLY},
    {CompileOption::DotAll, PCRE2_DOTALL},
    {CompileOption::Extended, PCRE2_EXTENDED},
    {CompileOption::MultiLine, PCRE2_MULTILINE},
    {CompileOption::Ungreedy, PCRE2_UNGREEDY},
    {CompileOption::NoAutoCapture, PCRE2_NO_AUTO_CAPTURE},
    {CompileOption::Utf8, PCRE2_UTF},
    {CompileOption::NoUtf8Check, PCRE2_NO_UTF_CHECK},
    {CompileOption::AutoCallout, PCRE2_AUTO_CALLOUT},
    {CompileOption::FirstLine, PCRE2_FIRSTLINE},
};

struct MatchFlagRow {
    MatchOption Option;
    std::uint32_t Flag;
};

constexpr MatchFlagRow MatchFlagTable[] = {
    {MatchOption::Anchored, PCRE2_ANCHORED},   {MatchOption::NotBol, PCRE2_NOTBOL},
    {MatchOption::NotEol, PCRE2_NOTEOL},       {MatchOption::NotEmpty, PCRE2_NOTEMPTY},
    {MatchOption::NoUtf8Check, PCRE2_NO_UTF_CHECK},
    {MatchOption::DfaShortest, PCRE2_DFA_SHORTEST},
};

// The match context and JIT stack of the calling thread. A JIT stack may
// serve one thread at a time, and one of 1 MiB per pattern would cost more
// than most matches, so each thread keeps one for all its patterns.
class MatchBudget {
public:
    MatchBudget() {
        context_ = pcre2_match_context_create(nullptr);
        jitStack_ = pcre2_jit_stack_create(64 * 1024, 1024 * 1024, nullptr);
        if (!context_) throw ERegexException("PCRE_ERROR_NOMEMORY");
        pcre2_set_match_limit(context_, TRegex::MatchLimit);
        pcre2_set_depth_limit(context_, TRegex::DepthLimit);
        if (jitStack_) pcre2_jit_stack_assign(context_, nullptr, jitStack_);
    }
    MatchBudget(const MatchBudget&) = delete;
    MatchBudget& operator=(const MatchBudget&) = delete;
    ~MatchBudget() {
        pcre2_jit_stack_free(jitStack_);
        pcre2_match_context_free(context_);
    }

    pcre2_match_context* Context() const noexcept { return context_; }

private:
    pcre2_match_context* context_ = nullptr;
    pcre2_jit_stack* jitStack_ = nullptr;
};

pcre2_match_context* ThreadMatchContext() {
    thread_local MatchBudget budget;
    return budget.Context();
}

}  // namespace

std::uint32_t CompileFlags(CompileOptions options) noexcept {
    std::uint32_t flags = 0;
    for (const FlagRow& row : CompileFlagTable) {
        if (options & OptionBit(row.Option)) flags |= row.Flag;
    }
    return flags;
}

CompileOptions CompileOptionsOf(std::uint32_t flags) noexcept {
    CompileOptions options = 0;
    for (const FlagRow& row : CompileFlagTable) {
        if (flags & row.Flag) options |= OptionBit(row.Option);
    }
    return options;
}

std::uint32_t MatchFlags(MatchOptions options) noexcept {
    std::uint32_t flags = 0;
    for (const MatchFlagRow& row : MatchFlagTable) {
        if (options & OptionBit(row.Option)) flags |= row.Flag;
    }
    return flags;
}

// A thread-local locale (`uselocale`) stands in for the old library-wide
// one, so building tables never disturbs another thread and needs no lock.
TRegexLocale::TRegexLocale(std::string_view name, int category) : name_(name) {
    if (name_ == "C" && category == 0) return;
    locale_t wanted = category == 0 ? newlocale(LC_CTYPE_MASK, name_.c_str(), locale_t{})
                                    : locale_t{};
    if (!wanted) throw EBadRegexLocale(name, category);
    const locale_t previous = uselocale(wanted);
    tables_ = pcre2_maketables(nullptr);
    uselocale(previous);
    freelocale(wanted);
    if (!tables_) throw ERegexException("PCRE_ERROR_NOMEMORY");
}

TRegexLocale::~TRegexLocale() {
    if (tables_) pcre2_maketables_free(nullptr, tables_);
}

void TNameIndexLookup::Add(std::string_view name, int number) {
    if (!names_.emplace(std::string(name), number).second)
        throw ERegexException("Duplicate group name '" + std::string(name) + "'");
}

std::optional<int> TNameIndexLookup::Find(std::string_view name) const {
    const auto found = names_.find(name);
    if (found == names_.end()) return std::nullopt;
    return found->second;
}

TRegex::TRegex(Private, std::string_view pattern, std::string_view locale, int category)
    : pattern_(pattern), locale_(std::make_unique<TRegexLocale>(locale, category)) {}

TRegex::~TRegex() { pcre2_code_free(code_); }

std::shared_ptr<const TRegex> TRegex::Compile(std::string_view pattern, CompileOptions options,
                                              std::string_view locale, int category) {
    auto regex = std::make_shared<TRegex>(Private{}, pattern, locale, category);
    regex->Build(options);
    return regex;
}

void TRegex::Build(CompileOptions options) {
    pcre2_compile_context* compileContext = nullptr;
    if (locale_->Tables()) {
        compileContext = pcre2_compile_context_create(nullptr);
        if (!compileContext) throw ERegexException("PCRE_ERROR_NOMEMORY");
        pcre2_set_character_tables(compileContext, locale_->Tables());
    }
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(),
                          CompileFlags(options), &errorCode, &errorOffset, compileContext);
    pcre2_compile_context_free(compileContext);
    if (!code_) {
        throw ERegexException("Invalid Pattern '" + pattern_ + "': error at position " +
                              std::to_string(errorOffset) + ": " + EngineErrorText(errorCode));
    }
    // The JIT replaces the old study step; a pattern it cannot handle is
    // matched by the interpreter.
    jit_ = pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE) == 0;
    if (options & OptionBit(CompileOption::Partial)) matchFlags_ |= PCRE2_PARTIAL_SOFT;
    if (options & OptionBit(CompileOption::NoUtf8Check)) matchFlags_ |= PCRE2_NO_UTF_CHECK;

    std::uint32_t captures = 0;
    if (const int rc = pcre2_pattern_info(code_, PCRE2_INFO_CAPTURECOUNT, &captures); rc < 0)
        RaiseEngineError(rc, pattern_);
    captureCount_ = static_cast<int>(captures);
    ReadNames();
}

// Each name-table entry is a 2-byte big-endian group number followed by the
// NUL-terminated name, entries being name-entry-size bytes apart.
void TRegex::ReadNames() {
    std::uint32_t count = 0;
    if (const int rc = pcre2_pattern_info(code_, PCRE2_INFO_NAMECOUNT, &count); rc < 0)
        RaiseEngineError(rc, pattern_);
    if (count == 0) return;
    std::uint32_t entrySize = 0;
    PCRE2_SPTR table = nullptr;
    if (const int rc = pcre2_pattern_info(code_, PCRE2_INFO_NAMEENTRYSIZE, &entrySize); rc < 0)
        RaiseEngineError(rc, pattern_);
    if (const int rc = pcre2_pattern_info(code_, PCRE2_INFO_NAMETABLE, &table); rc < 0)
        RaiseEngineError(rc, pattern_);
    for (std::uint32_t i = 0; i < count; ++i) {
        const PCRE2_SPTR entry = table + static_cast<std::size_t>(i) * entrySize;
        const int number = (entry[0] << 8) | entry[1];
        names_.Add(reinterpret_cast<const char*>(entry + 2), number);
    }
}

CompileOptions TRegex::Options() const {
    std::uint32_t flags = 0;
    if (const int rc = pcre2_pattern_info(code_, PCRE2_INFO_ARGOPTIONS, &flags); rc < 0)
        RaiseEngineError(rc, pattern_);
    return CompileOptionsOf(flags);
}

std::shared_ptr<TRegexMatch> TRegex::MatchAt(const SharedText& subject, std::int64_t start,
                                             MatchOptions options) const {
    auto match = std::make_shared<TRegexMatch>(shared_from_this(), subject);
    MatchInto(*match, start, options);
    return match;
}

void TRegex::MatchInto(TRegexMatch& match, std::int64_t start, MatchOptions options) const {
    match.groupCount_ = 0;
    const std::string_view text = match.subject_.View();
    if (start < 0 || static_cast<std::uint64_t>(start) > text.size()) return;
    if (!match.data_) {
        match.data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
        if (!match.data_) throw ERegexException("PCRE_ERROR_NOMEMORY");
        match.offsets_ = pcre2_get_ovector_pointer(match.data_);
    }
    const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                               static_cast<PCRE2_SIZE>(start), (options ? MatchFlags(options) : 0) | matchFlags_,
                               match.data_, ThreadMatchContext());
    if (rc == PCRE2_ERROR_NOMATCH) return;
    if (rc == PCRE2_ERROR_PARTIAL) {
        match.groupCount_ = 1;
        return;
    }
    if (rc < 0) RaiseEngineError(rc, pattern_);
    match.groupCount_ = captureCount_ + 1;
}

std::string TRegex::Replace(const SharedText& subject, std::string_view replacement,
                            bool& replacedAny) const {
    const TSubstitute substitute(replacement);
    const std::string_view text = subject.View();
    std::string result;
    replacedAny = false;
    TRegexMatch match(shared_from_this(), subject);
    MatchInto(match, 0);
    std::size_t copied = 0;
    while (match.Success()) {
        replacedAny = true;
        const auto start = static_cast<std::size_t>(match.Start(0));
        const auto end = static_cast<std::size_t>(match.End(0));
        result.append(text.substr(copied, start - copied));
        substitute.Expand(match, result);
        copied = end;
        MatchInto(match, static_cast<std::int64_t>(std::max(start + 1, copied)));
    }
    result.append(text.substr(copied));
    return result;
}

TRegexMatch::TRegexMatch(std::shared_ptr<const TRegex> regex, SharedText subject)
    : regex_(std::move(regex)), subject_(std::move(subject)) {}

TRegexMatch::~TRegexMatch() { pcre2_match_data_free(data_); }

std::int64_t TRegexMatch::Start(int group) const noexcept {
    if (groupCount_ == 0) return -1;
    if (group == -1) return 0;
    if (group == -2) return static_cast<std::int64_t>(offsets_[1]);
    if (group < 0 || group >= groupCount_) return -1;
    const PCRE2_SIZE start = offsets_[2 * group];
    return start == PCRE2_UNSET ? -1 : static_cast<std::int64_t>(start);
}

std::int64_t TRegexMatch::End(int group) const noexcept {
    if (groupCount_ == 0) return -1;
    if (group == -1) return static_cast<std::int64_t>(offsets_[0]);
    if (group == -2) return static_cast<std::int64_t>(subject_.Size());
    if (group < 0 || group >= groupCount_) return -1;
    const PCRE2_SIZE end = offsets_[2 * group + 1];
    return end == PCRE2_UNSET ? -1 : static_cast<std::int64_t>(end);
}

std::string_view TRegexMatch::Text(int group) const noexcept {
    const std::int64_t start = Start(group);
    if (start < 0) return {};
    const std::int64_t end = End(group);
    // A lookbehind with \K can end a match before its start.
    if (end < start) return {};
    return subject_.View().substr(static_cast<std::size_t>(start),
                                  static_cast<std::size_t>(end - start));
}

}  // namespace ozra::regex::engine
