// The tree builder: one operation per reduced grammar rule, one call per run
// of template text.
//
// The parser reduces control heads as soon as they are complete and never
// keeps the block structure itself; the builder does. It keeps a current
// block, appends every new statement to it, moves into the body of each
// control it opens and pairs "end", "}", "else", "except" and "finally" with
// the open controls. Structure errors go to the owner's `OnError` and
// building goes on; every operation answers the span of its rule (the first
// symbol's start to the last symbol's end) and what it built.
//
// Operations take the symbol values by reference and move their nodes out;
// the parser may pass one value for several parameters (the first symbol is
// often also the meaningful one).
//
// Differences from the plain operation list the grammar was written against:
// - `FirstParameter`/`NextParameter` carry the formal parameters as `Items`;
//   the parameter table is made when the function is defined.
// - The builder never looks above its root block: "{", "else", "elseif",
//   "elsecase", "except" and "finally" directly in the root are refused as
//   anywhere else where no control is open.
// - A chain link ("elseif", "elsecase") closed by "}" closes its whole
//   chain, as "end" does, so the current block is always a block.
// - Integer and floating-point literals out of range are reported as
//   "integer constant out of range." / "floating-point constant out of
//   range." at the literal instead of leaving the parse.
#pragma once

#include "front/parse_value.h"
#include "front/parser_callbacks.h"
#include "front/syntax_tree.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::front {

class TtsBuilder {
  public:
    // Builds into `root`, or into a new root block without parent when none
    // is given. The builder does not own the tree.
    TtsBuilder(ParserCallbacks& owner, Ref<TtsBlock> root);

    Ref<TtsBlock> Root() const { return root_; }
    // The block that receives new statements.
    TtsNode* Current() const { return current_; }

    // statements and heads
    ParseValue AssignHead(ParseValue& first, ParseValue& last, ParseValue& variable);
    ParseValue OpenBrace(ParseValue& brace);
    ParseValue CallStatement(ParseValue& first, ParseValue& last, ParseValue& call);
    ParseValue CaseHead(ParseValue& first, ParseValue& last, ParseValue& selector, ParseValue& op,
                        ParseValue& arguments);
    ParseValue ElseCaseHead(ParseValue& first, ParseValue& last, ParseValue& selector,
                            ParseValue& op, ParseValue& arguments);
    ParseValue ClassHead(ParseValue& first, ParseValue& last, ParseValue& name,
                         ParseValue& parameters);
    ParseValue DerivedClassHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                ParseValue& base, ParseValue& parameters);
    ParseValue ElseClause(ParseValue& keyword);
    ParseValue ElseIfHead(ParseValue& first, ParseValue& last, ParseValue& condition);
    ParseValue CloseBrace(ParseValue& brace);
    ParseValue EndBlock(ParseValue& first, ParseValue& last, ParseValue& keyword);
    // `semi` null for an error without SEMI: then the error value's own span.
    // Reports `message`, or "Syntax error" when it is empty.
    ParseValue SyntaxErrorStatement(ParseValue& error, const ParseValue* semi,
                                    const std::string& message = {});
    ParseValue ExceptClause(ParseValue& keyword);
    ParseValue ExitStatement(ParseValue& first, ParseValue& last, ParseValue& keyword);
    ParseValue SkipStatement(ParseValue& first, ParseValue& last, ParseValue& keyword);
    ParseValue FileHead(ParseValue& first, ParseValue& last, ParseValue& fileName);
    ParseValue FileHeadWithFlag(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                ParseValue& flag);
    // option: IDENT or BOOL
    ParseValue FileHeadWithOption(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                  ParseValue& option);
    ParseValue FileHeadWithOptionAndFlag(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                         ParseValue& option, ParseValue& flag);
    ParseValue FinallyClause(ParseValue& keyword);
    ParseValue ForHead(ParseValue& first, ParseValue& last, ParseValue& name, ParseValue& start,
                       ParseValue& end);
    ParseValue ForStepHead(ParseValue& first, ParseValue& last, ParseValue& name, ParseValue& start,
                           ParseValue& end, ParseValue& step);
    ParseValue ForeachHead(ParseValue& first, ParseValue& last, ParseValue& name,
                           ParseValue& collection);
    ParseValue ForeachFilterHead(ParseValue& first, ParseValue& last, ParseValue& name,
                                 ParseValue& collection, ParseValue& filter);
    ParseValue FunctionHead(ParseValue& first, ParseValue& last, ParseValue& name,
                            ParseValue& parameters);
    ParseValue IfHead(ParseValue& first, ParseValue& last, ParseValue& condition);
    ParseValue LoopHead(ParseValue& keyword);
    ParseValue LoopUntilHead(ParseValue& first, ParseValue& last, ParseValue& condition);
    ParseValue WhileHead(ParseValue& first, ParseValue& last, ParseValue& condition);
    ParseValue TryHead(ParseValue& keyword);
    ParseValue OutputStatement(ParseValue& first, ParseValue& last, ParseValue& expression,
                               bool newLine);
    ParseValue RefStatement(ParseValue& first, ParseValue& last, ParseValue& name,
                            ParseValue& target);
    ParseValue IncDecStatement(ParseValue& first, ParseValue& last, ParseValue& variable,
                               ParseValue& op);
    ParseValue AssignStatement(ParseValue& first, ParseValue& last, ParseValue& variable,
                               ParseValue& op, ParseValue& value);
    ParseValue UsingStatement(ParseValue& first, ParseValue& last, ParseValue& fileName);
    ParseValue UsingAliasStatement(ParseValue& first, ParseValue& last, ParseValue& fileName,
                                   ParseValue& alias);
    ParseValue VarStatement(ParseValue& first, ParseValue& last, ParseValue& name);
    ParseValue VarInitStatement(ParseValue& first, ParseValue& last, ParseValue& name,
                                ParseValue& op, ParseValue& value);
    void AddText(std::int32_t position, std::int32_t length, std::string_view text);

    // expressions
    ParseValue BoolConst(ParseValue& token);
    ParseValue NilConst(ParseValue& token);
    ParseValue IntConst(ParseValue& token);
    ParseValue NegativeIntConst(ParseValue& minus, ParseValue& number);
    ParseValue FloatConst(ParseValue& token);
    ParseValue NegativeFloatConst(ParseValue& minus, ParseValue& number);
    ParseValue HexConst(ParseValue& token);
    ParseValue StringConst(ParseValue& token);
    ParseValue NameRef(ParseValue& token);
    ParseValue DottedRef(ParseValue& token);
    ParseValue MemberAccess(ParseValue& primary, ParseValue& name);
    ParseValue Parenthesized(ParseValue& first, ParseValue& last, ParseValue& expression);
    ParseValue UnaryOperator(ParseValue& op, ParseValue& operand);
    ParseValue BinaryOperator(ParseValue& left, ParseValue& op, ParseValue& right);
    // arguments may be empty
    ParseValue FunctionCall(ParseValue& first, ParseValue& last, ParseValue& callee,
                            ParseValue& arguments);
    ParseValue FirstArgument(ParseValue& argument);
    ParseValue NextArgument(ParseValue& list, ParseValue& argument);
    ParseValue NamedArgument(ParseValue& name, ParseValue& expression);
    ParseValue RefArgument(ParseValue& first, ParseValue& name);
    ParseValue FirstParameter(ParseValue& name);
    // A name already in the list raises name + " already exists.".
    ParseValue NextParameter(ParseValue& list, ParseValue& name);
    ParseValue FirstRange(ParseValue& range);
    ParseValue NextRange(ParseValue& list, ParseValue& range);
    ParseValue RangeExpr(ParseValue& start, ParseValue& end);
    ParseValue ListLiteral(ParseValue& first, ParseValue& last, ParseValue& arguments);
    ParseValue FilterExpr(ParseValue& first, ParseValue& last, ParseValue& name, ParseValue& source,
                          ParseValue& condition);
    ParseValue IndexExpr(ParseValue& first, ParseValue& last, ParseValue& target,
                         ParseValue& index);
    ParseValue SubSetExpr(ParseValue& first, ParseValue& last, ParseValue& source,
                          ParseValue& ranges);

    // Closes every control still open, reporting it at text length - 2.
    void Finish(std::int32_t textLength);

  private:
    TtsBlock& CurrentBlock() const;
    // The node whose body or branch the current block is; none at the root.
    TtsNode* Enclosing() const;

    void Report(const ParseValue& span, const std::string& message);
    void AddStatement(Ref<TtsStatement> node, const ParseValue& span);
    void OpenControl(Ref<TtsControl> control, std::string_view keyword, const ParseValue& span);

    // "elseif"/"elsecase": step one moves to the logic node the branch joins
    // and answers the block that was current; step two links the new branch.
    TtsNode* ChainStart(const ParseValue& span);
    void ChainEnd(Ref<TtsLogicNode> branch, std::string_view keyword, TtsNode* previous,
                  const ParseValue& span);

    void CloseStructure(const std::string* keyword, const ParseValue& span);
    void Close(TtsControl& control, const ParseValue& span);
    void NotifyEnd(TtsControl& control);

    Ref<TtsCaseNode> MakeCase(ParseValue& selector, ParseValue& op, ParseValue& arguments);
    ParseValue ClassHeadWithBase(ParseValue& first, ParseValue& last, ParseValue& name,
                                 Ref<TtsVarRef> base, ParseValue& parameters);
    ParseValue FileHeadOf(const ParseValue& span, const std::string& fileName, bool overwrite);
    // Compiles a used unit through the loader. The loader's own failures
    // (an unreadable file) end the parse; a refused include is reported at
    // the statement and gives no block.
    Ref<TtsBlock> LoadUnit(const ParseValue& span, const std::string& fileName);
    ParseValue OldFileHead(const ParseValue& span, const std::string& fileName,
                           std::string_view option, bool overwrite);
    ParseValue UsingWith(ParseValue& first, ParseValue& last, const std::string& fileName,
                         const std::string& alias);
    ParseValue IntegerConst(const ParseValue& span, std::string_view digits, bool negative);
    ParseValue RealConst(const ParseValue& span, std::string_view digits, bool negative);
    ParseValue Constant(const ParseValue& span, const value::TtsValue& value);
    Ref<TtsExpression> FormalParameter(const std::string& name);

    ParserCallbacks& owner_;
    Ref<TtsBlock> root_;
    TtsNode* current_;
    NodeArena arena_;
};

} // namespace ozra::front
