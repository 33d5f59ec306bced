// The PCRE2-backed implementation of the abstract regex layer, the class
// that `RegexClass` names.
//
// `TRegex` holds the shared compiled pattern; each `Match` makes a fresh,
// independent `TMatch`. A `TMatch` refills its engine match in place on
// `NextMatch` while no group holds it, and otherwise starts a new one, so
// a loop over matches allocates nothing per match.
#pragma once

#include "libs/regex/pcre_engine.h"
#include "libs/regex/regex_base.h"

#include <memory>

namespace ozra::regex {

// The engine options of an abstract option set.
engine::CompileOptions EngineOptions(RegexOptions options) noexcept;

class TRegex final : public TRegexBase {
public:
    explicit TRegex(std::shared_ptr<const engine::TRegex> engine) noexcept
        : engine_(std::move(engine)) {}

    // The factory `RegexClass` holds.
    static Ref<TRegexBase> Create(std::string_view pattern, std::string_view locale,
                                  RegexOptions options);

    Ref<TMatchBase> Match(const SharedText& subject) override;
    std::string Replace(const SharedText& subject, std::string_view replacement) override;
    bool Replace(const SharedText& subject, std::string_view replacement,
                 std::string& result) override;

    const engine::TRegex& Engine() const noexcept { return *engine_; }

private:
    std::shared_ptr<const engine::TRegex> engine_;
};

class TMatch final : public TMatchBase {
public:
    TMatch(std::shared_ptr<const engine::TRegex> regex, const SharedText& subject);

    Ref<TGroupBase> Groups(int index) override;
    Ref<TGroupBase> GroupByName(std::string_view name) override;
    int GroupCount() const override { return current_->GroupCount(); }
    bool Success() const override { return current_->Success(); }
    std::string_view Value() const override { return current_->Text(0); }
    std::int64_t Index() const override { return current_->Start(0); }
    std::int64_t Length() const override {
        return current_->Success() ? current_->End(0) - current_->Start(0) : 0;
    }
    const SharedText& Subject() const override { return current_->Subject(); }
    TMatchBase& NextMatch() override;

private:
    std::shared_ptr<const engine::TRegex> regex_;
    std::shared_ptr<engine::TRegexMatch> current_;
    std::int64_t start_ = 0;
};

class TGroup final : public TGroupBase {
public:
    explicit TGroup(engine::TRegexCaptureGroup group) noexcept : group_(std::move(group)) {}

    std::int64_t Index() const override { return group_.Index(); }
    bool IsNull() const override { return group_.IsNull(); }
    std::int64_t Length() const override { return group_.Length(); }
    std::string_view Value() const override { return group_.Value(); }

private:
    engine::TRegexCaptureGroup group_;
};

}  // namespace ozra::regex
