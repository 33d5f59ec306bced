// The state of one parse, shared by the generated grammar and the parser.
//
// The grammar's actions call the tree builder through this context; the
// context also pulls tokens from the scanner, forwards the scanner's text
// runs and errors, keeps the stack limit, and decides where a syntax error is
// reported before the grammar's error recovery pops the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "front/parse_value.h"
#include "front/parser_callbacks.h"
#include "front/scanner.h"
#include "front/tree_builder.h"

namespace ozra::front {

class ParseContext final : public ScannerSink {
  public:
    // Deeper nesting than this is refused with "yyparse stack overflow".
    static constexpr std::size_t kStackLimit = 1024;

    ParseContext(std::string_view text, ParserCallbacks& callbacks, TtsBuilder& builder);

    TtsBuilder& builder() { return builder_; }

    // Delivers the next token to the grammar and returns its grammar code.
    // `previousDiscarded` tells that error recovery threw the last token
    // away: a statement keyword then comes back once, after a SEMI that
    // covers it, so that the error statement ends and the keyword starts a
    // new statement.
    int Lex(ParseValue& value, bool previousDiscarded, std::size_t stackDepth);

    // Called when the grammar meets a token it has no action for, before it
    // pops the stack, with the names of the tokens it could have taken there
    // (none when there are too many to list). Chooses the value the error
    // symbol will carry: the offending token where a statement begins, else
    // the last symbol read; and words the message: «Syntax error,
    // unexpected ")", expected "then"».
    void SyntaxError(bool atStatementBoundary, const ParseValue& lastSymbol,
                     const std::vector<std::string>& expected);

    // An error statement ends at `semi`, or at the error itself when the
    // statement was cut short. Recovery can meet the same error again before
    // it has resynchronised; that is reported once.
    void ErrorStatement(const ParseValue* semi);

    // Expression actions that also track whether an expression holds a bare
    // (unparenthesized) "=" comparison, which an "=" output statement refuses.
    ParseValue Binary(ParseValue& left, ParseValue& op, ParseValue& right);
    ParseValue Unary(ParseValue& op, ParseValue& operand);
    ParseValue Parenthesized(ParseValue& open, ParseValue& close, ParseValue& inner);
    ParseValue OutputWithEquals(ParseValue& equals, ParseValue& expression);
    void StatementDone() { bareEquality_.clear(); }

    // ScannerSink
    void AddText(std::int32_t position, std::int32_t length, std::string_view text) override;
    void OnError(std::int32_t position, std::int32_t length, const std::string& message) override;

  private:
    bool HasBareEquality(const ParseValue& value) const;

    ParserCallbacks& callbacks_;
    TtsBuilder& builder_;
    Scanner scanner_;
    std::int32_t textLength_;
    Token lookahead_;
    enum class HandBack { None, Semi, Keyword };
    HandBack handBack_ = HandBack::None;
    Token handBackToken_;
    std::int32_t lastHandBackPosition_ = -1;
    ParseValue errorValue_;
    std::string errorMessage_;
    std::int32_t lastErrorPosition_ = -1;
    std::unordered_set<const TtsNode*> bareEquality_;
};

} // namespace ozra::front
