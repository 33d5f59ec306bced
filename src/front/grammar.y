/* The Ozra grammar.
 *
 * Bison turns this file into the LALR(1) tables of the parser. Every rule
 * that builds something calls exactly one operation of the tree builder; the
 * grammar does not keep the block structure itself: a control statement is
 * reduced as soon as its head is complete and the builder pairs it with its
 * "end". So a control may open in one code block and close in another with
 * template text in between.
 *
 * The statement list is left-recursive, so a flat run of statements keeps
 * the stack flat: only real nesting (parentheses, argument lists) deepens it.
 *
 * Conflicts (22 shift/reduce, 18 reduce/reduce) are resolved as the language
 * wants them; the tests of the parser pin each resolution down:
 * - a token that can both continue an expression and begin the next
 *   statement continues the expression (shift);
 * - after "if (e)" (also elseif, while, loop until) the head is complete when
 *   the next token can begin a statement: the head rules come before the
 *   parenthesized primary, and Bison prefers the earlier rule;
 * - "IDENT =" inside brackets and argument lists starts a named argument, and
 *   a "|" after "[v = primary" continues a filter (shift).
 */

%require "3.8"
%language "c++"
%define api.namespace {ozra::front::grammar}
%define api.parser.class {Grammar}
%define api.value.type variant
%define parse.error custom
%parse-param {ozra::front::ParseContext& ctx}

%code requires {
#include "front/parse_value.h"
namespace ozra::front { class ParseContext; }
}

%code {
#include "front/parse_context.h"

// Error recovery discards a token exactly when the next read finds the
// recovery count still at its start (a shift lowers it); the stack limit is
// checked as each token is read.
#define yylex(value)                                                                     \
    ctx.Lex((value)->emplace<ozra::front::ParseValue>(), yyerrstatus_ == 3, yystack_.size())
}

/* The quoted names are what syntax errors call the tokens; a name with a
 * space in it names a kind of token, the others are spellings. */
%token <ozra::front::ParseValue> END_OF_INPUT 0 "the end of the file"
%token <ozra::front::ParseValue> IDENT "a name" DOTTED "a dotted name" INTLIT "an integer"
    FLOATLIT "a number" HEXLIT "a hexadecimal number" STRLIT "a text"
%token <ozra::front::ParseValue> IF "if" CASE "case" FOR "for" FOREACH "foreach" LOOP "loop"
    FUNCTION "function" CLASS "class" FILE "file" ASSIGN "assign" TRY "try" END "end"
    ELSEIF "elseif" ELSECASE "elsecase" ELSE "else" EXCEPT "except" FINALLY "finally"
    EXIT "exit" SKIP "skip" USING "using" VAR "var" REF "ref" CALL "call"
%token <ozra::front::ParseValue> DIVMOD "div" IN "in" NOT "not" AND "and" OR "or" BOOL "true"
    NIL "nil" THEN "then" TO "to" STEP "step" DO "do" WHILE "while" UNTIL "until"
%token <ozra::front::ParseValue> TILDE "~" PLUS "+" MINUS "-" SLASH "/" MULOP "*" POWER "**"
    INCDEC "++" SHIFTOP "<<" BITNOT "!^" COLON ":" EQ "=" NE "<>" RELOP "<" BANG "!" AMP "&"
    BAR "|" OROR "||" ASSIGNOP "+=" COLONEQ ":=" QUEST "?" QQ "??"
%token <ozra::front::ParseValue> LPAREN "(" RPAREN ")" LBRACKET "[" RBRACKET "]" LBRACE "{"
    RBRACE "}" COMMA "," SEMI "the end of the statement" DOT "."
%token <ozra::front::ParseValue> BADOP "an unknown operator"
%nterm <ozra::front::ParseValue> open_brace if_head case_head for_head
    foreach_head loop_head function_head class_head parameters parameter_list
    file_head assign_head try_head end_statement else_clause except_clause
    finally_clause exit_statement skip_statement block_keyword using_statement
    var_statement assignment call_statement output_statement case_operator
    define_operator assign_operator expression primary variable member name
    literal call list_literal arguments argument_list argument set_expression
    index subset range_list range filter

%precedence OUTPUT_VALUE  /* lowest: the value of "=" output takes every operator */
%left OR BAR OROR
%left AND AMP
%precedence NOT BANG
%nonassoc EQ NE RELOP IN
%left TILDE
%left PLUS MINUS
%left SHIFTOP BITNOT
%left MULOP SLASH DIVMOD
%left POWER

%%

script
    : statement_list
    ;

statement_list
    : %empty
    | statement_list SEMI
    | statement_list error_statement
    | statement_list statement          { ctx.StatementDone(); }
    ;

error_statement
    : error SEMI                        { ctx.ErrorStatement(&$2); }
    | error                             { ctx.ErrorStatement(nullptr); }
    ;

statement
    : if_head
    | case_head
    | for_head
    | foreach_head
    | loop_head
    | function_head
    | class_head
    | file_head
    | assign_head
    | try_head
    | else_clause
    | except_clause
    | finally_clause
    | open_brace
    | simple_statement
    | simple_statement SEMI
    ;

simple_statement
    : end_statement
    | exit_statement
    | skip_statement
    | using_statement
    | var_statement
    | assignment
    | call_statement
    | output_statement
    ;

open_brace
    : LBRACE                            { $$ = ctx.builder().OpenBrace($1); }
    ;

/* Control heads and clauses. */
if_head
    : IF LPAREN expression RPAREN       { $$ = ctx.builder().IfHead($1, $4, $3); }
    | ELSEIF LPAREN expression RPAREN   { $$ = ctx.builder().ElseIfHead($1, $4, $3); }
    | IF expression THEN                { $$ = ctx.builder().IfHead($1, $3, $2); }
    | ELSEIF expression THEN            { $$ = ctx.builder().ElseIfHead($1, $3, $2); }
    ;

case_head
    : CASE LPAREN primary case_operator arguments RPAREN
                                        { $$ = ctx.builder().CaseHead($1, $6, $3, $4, $5); }
    | ELSECASE LPAREN primary case_operator arguments RPAREN
                                        { $$ = ctx.builder().ElseCaseHead($1, $6, $3, $4, $5); }
    ;

for_head
    : FOR LPAREN IDENT EQ expression COMMA expression RPAREN
                                        { $$ = ctx.builder().ForHead($1, $8, $3, $5, $7); }
    | FOR LPAREN IDENT EQ expression TO expression RPAREN
                                        { $$ = ctx.builder().ForHead($1, $8, $3, $5, $7); }
    | FOR LPAREN IDENT EQ expression TO expression STEP expression RPAREN
                                        { $$ = ctx.builder().ForStepHead($1, $10, $3, $5, $7, $9); }
    | FOR IDENT EQ expression COMMA expression DO
                                        { $$ = ctx.builder().ForHead($1, $7, $2, $4, $6); }
    | FOR IDENT EQ expression TO expression DO
                                        { $$ = ctx.builder().ForHead($1, $7, $2, $4, $6); }
    | FOR IDENT EQ expression TO expression STEP expression DO
                                        { $$ = ctx.builder().ForStepHead($1, $9, $2, $4, $6, $8); }
    ;

foreach_head
    : FOREACH LPAREN IDENT EQ primary RPAREN
                                        { $$ = ctx.builder().ForeachHead($1, $6, $3, $5); }
    | FOREACH LPAREN IDENT EQ primary BAR expression RPAREN
                                        { $$ = ctx.builder().ForeachFilterHead($1, $8, $3, $5, $7); }
    | FOREACH LPAREN IDENT IN primary RPAREN
                                        { $$ = ctx.builder().ForeachHead($1, $6, $3, $5); }
    | FOREACH LPAREN IDENT IN primary BAR expression RPAREN
                                        { $$ = ctx.builder().ForeachFilterHead($1, $8, $3, $5, $7); }
    | FOREACH IDENT EQ primary DO       { $$ = ctx.builder().ForeachHead($1, $5, $2, $4); }
    | FOREACH IDENT EQ primary BAR expression DO
                                        { $$ = ctx.builder().ForeachFilterHead($1, $7, $2, $4, $6); }
    | FOREACH IDENT IN primary DO       { $$ = ctx.builder().ForeachHead($1, $5, $2, $4); }
    | FOREACH IDENT IN primary BAR expression DO
                                        { $$ = ctx.builder().ForeachFilterHead($1, $7, $2, $4, $6); }
    ;

loop_head
    : LOOP                              { $$ = ctx.builder().LoopHead($1); }
    | WHILE LPAREN expression RPAREN    { $$ = ctx.builder().WhileHead($1, $4, $3); }
    | WHILE expression DO               { $$ = ctx.builder().WhileHead($1, $3, $2); }
    | LOOP UNTIL LPAREN expression RPAREN
                                        { $$ = ctx.builder().LoopUntilHead($1, $5, $4); }
    | LOOP UNTIL expression DO          { $$ = ctx.builder().LoopUntilHead($1, $4, $3); }
    ;

function_head
    : FUNCTION IDENT LPAREN parameters RPAREN
                                        { $$ = ctx.builder().FunctionHead($1, $5, $2, $4); }
    ;

class_head
    : CLASS IDENT LPAREN parameters RPAREN
                                        { $$ = ctx.builder().ClassHead($1, $5, $2, $4); }
    | CLASS IDENT EQ name LPAREN parameters RPAREN
                                        { $$ = ctx.builder().DerivedClassHead($1, $7, $2, $4, $6); }
    ;

parameters
    : %empty                            { $$ = ozra::front::ParseValue(); }
    | parameter_list                    { $$ = std::move($1); }
    ;

parameter_list
    : IDENT                             { $$ = ctx.builder().FirstParameter($1); }
    | parameter_list COMMA IDENT        { $$ = ctx.builder().NextParameter($1, $3); }
    ;

file_head
    : FILE LPAREN STRLIT RPAREN         { $$ = ctx.builder().FileHead($1, $4, $3); }
    | FILE LPAREN STRLIT COMMA BOOL RPAREN
                                        { $$ = ctx.builder().FileHeadWithFlag($1, $6, $3, $5); }
    | FILE LPAREN STRLIT COMMA IDENT EQ BOOL RPAREN
                                        { $$ = ctx.builder().FileHeadWithOption($1, $8, $3, $7); }
    | FILE LPAREN STRLIT COMMA IDENT EQ IDENT COMMA IDENT EQ BOOL RPAREN
                                        { $$ = ctx.builder().FileHeadWithOptionAndFlag($1, $12, $3, $7, $11); }
    | FILE LPAREN STRLIT COMMA IDENT EQ IDENT COMMA BOOL RPAREN
                                        { $$ = ctx.builder().FileHeadWithOptionAndFlag($1, $10, $3, $7, $9); }
    | FILE LPAREN STRLIT COMMA IDENT EQ IDENT RPAREN
                                        { $$ = ctx.builder().FileHeadWithOption($1, $8, $3, $7); }
    ;

assign_head
    : ASSIGN LPAREN variable RPAREN     { $$ = ctx.builder().AssignHead($1, $4, $3); }
    ;

try_head
    : TRY                               { $$ = ctx.builder().TryHead($1); }
    ;

end_statement
    : END block_keyword                 { $$ = ctx.builder().EndBlock($1, $2, $2); }
    | SLASH block_keyword               { $$ = ctx.builder().EndBlock($1, $2, $2); }
    | RBRACE                            { $$ = ctx.builder().CloseBrace($1); }
    ;

else_clause
    : ELSE                              { $$ = ctx.builder().ElseClause($1); }
    ;

except_clause
    : EXCEPT                            { $$ = ctx.builder().ExceptClause($1); }
    ;

finally_clause
    : FINALLY                           { $$ = ctx.builder().FinallyClause($1); }
    ;

exit_statement
    : EXIT block_keyword                { $$ = ctx.builder().ExitStatement($1, $2, $2); }
    ;

skip_statement
    : SKIP block_keyword                { $$ = ctx.builder().SkipStatement($1, $2, $2); }
    ;

block_keyword
    : IF { $$ = std::move($1); }
    | CASE { $$ = std::move($1); }
    | FOR { $$ = std::move($1); }
    | FOREACH { $$ = std::move($1); }
    | LOOP { $$ = std::move($1); }
    | WHILE { $$ = std::move($1); }
    | FUNCTION { $$ = std::move($1); }
    | CLASS { $$ = std::move($1); }
    | FILE { $$ = std::move($1); }
    | ASSIGN { $$ = std::move($1); }
    | TRY { $$ = std::move($1); }
    ;

/* Simple statements. */
using_statement
    : USING LPAREN STRLIT RPAREN        { $$ = ctx.builder().UsingStatement($1, $4, $3); }
    | USING LPAREN STRLIT COMMA IDENT RPAREN
                                        { $$ = ctx.builder().UsingAliasStatement($1, $6, $3, $5); }
    ;

var_statement
    : VAR IDENT                         { $$ = ctx.builder().VarStatement($1, $2, $2); }
    | VAR IDENT define_operator expression
                                        { $$ = ctx.builder().VarInitStatement($1, $4, $2, $3, $4); }
    | REF IDENT define_operator IDENT   { $$ = ctx.builder().RefStatement($1, $4, $2, $4); }
    ;

assignment
    : variable assign_operator expression
                                        { $$ = ctx.builder().AssignStatement($1, $3, $1, $2, $3); }
    | variable INCDEC                   { $$ = ctx.builder().IncDecStatement($1, $2, $1, $2); }
    ;

call_statement
    : CALL call                         { $$ = ctx.builder().CallStatement($1, $2, $2); }
    | call                              { $$ = ctx.builder().CallStatement($1, $1, $1); }
    ;

output_statement
    : EQ expression %prec OUTPUT_VALUE   { $$ = ctx.OutputWithEquals($1, $2); }
    | QUEST expression                  { $$ = ctx.builder().OutputStatement($1, $2, $2, false); }
    | QQ expression                     { $$ = ctx.builder().OutputStatement($1, $2, $2, true); }
    ;

case_operator
    : EQ { $$ = std::move($1); }
    | NE { $$ = std::move($1); }
    ;

define_operator
    : EQ { $$ = std::move($1); }
    | COLONEQ { $$ = std::move($1); }
    ;

assign_operator
    : EQ { $$ = std::move($1); }
    | ASSIGNOP { $$ = std::move($1); }
    | COLONEQ
    ;

/* Expressions. */
expression
    : expression TILDE expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression PLUS expression        { $$ = ctx.Binary($1, $2, $3); }
    | expression MINUS expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression MULOP expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression SLASH expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression DIVMOD expression      { $$ = ctx.Binary($1, $2, $3); }
    | expression POWER expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression SHIFTOP expression     { $$ = ctx.Binary($1, $2, $3); }
    | expression EQ expression          { $$ = ctx.Binary($1, $2, $3); }
    | expression NE expression          { $$ = ctx.Binary($1, $2, $3); }
    | expression RELOP expression       { $$ = ctx.Binary($1, $2, $3); }
    | expression IN expression          { $$ = ctx.Binary($1, $2, $3); }
    | expression AMP expression         { $$ = ctx.Binary($1, $2, $3); }
    | expression AND expression         { $$ = ctx.Binary($1, $2, $3); }
    | expression BAR expression         { $$ = ctx.Binary($1, $2, $3); }
    | expression OROR expression        { $$ = ctx.Binary($1, $2, $3); }
    | expression OR expression          { $$ = ctx.Binary($1, $2, $3); }
    | BITNOT expression                 { $$ = ctx.Unary($1, $2); }
    | BANG expression                   { $$ = ctx.Unary($1, $2); }
    | NOT expression                    { $$ = ctx.Unary($1, $2); }
    | primary  { $$ = std::move($1); }
    ;

primary
    : literal  { $$ = std::move($1); }
    | variable  { $$ = std::move($1); }
    | member  { $$ = std::move($1); }
    | call  { $$ = std::move($1); }
    | set_expression  { $$ = std::move($1); }
    | LPAREN expression RPAREN          { $$ = ctx.Parenthesized($1, $3, $2); }
    ;

variable
    : name  { $$ = std::move($1); }
    | index  { $$ = std::move($1); }
    ;

member
    : primary DOT name                  { $$ = ctx.builder().MemberAccess($1, $3); }
    ;

name
    : IDENT                             { $$ = ctx.builder().NameRef($1); }
    | DOTTED                            { $$ = ctx.builder().DottedRef($1); }
    ;

literal
    : INTLIT                            { $$ = ctx.builder().IntConst($1); }
    | FLOATLIT                          { $$ = ctx.builder().FloatConst($1); }
    | HEXLIT                            { $$ = ctx.builder().HexConst($1); }
    | STRLIT                            { $$ = ctx.builder().StringConst($1); }
    | BOOL                              { $$ = ctx.builder().BoolConst($1); }
    | NIL                               { $$ = ctx.builder().NilConst($1); }
    | MINUS INTLIT                      { $$ = ctx.builder().NegativeIntConst($1, $2); }
    | MINUS FLOATLIT                    { $$ = ctx.builder().NegativeFloatConst($1, $2); }
    | list_literal  { $$ = std::move($1); }
    ;

call
    : name LPAREN arguments RPAREN      { $$ = ctx.builder().FunctionCall($1, $4, $1, $3); }
    | member LPAREN arguments RPAREN    { $$ = ctx.builder().FunctionCall($1, $4, $1, $3); }
    ;

list_literal
    : LBRACKET arguments RBRACKET       { $$ = ctx.builder().ListLiteral($1, $3, $2); }
    ;

arguments
    : %empty                            { $$ = ozra::front::ParseValue(); }
    | argument_list                     { $$ = std::move($1); }
    ;

argument_list
    : argument                          { $$ = ctx.builder().FirstArgument($1); }
    | argument_list COMMA argument      { $$ = ctx.builder().NextArgument($1, $3); }
    ;

argument
    : expression  { $$ = std::move($1); }
    | IDENT EQ expression               { $$ = ctx.builder().NamedArgument($1, $3); }
    | REF IDENT                         { $$ = ctx.builder().RefArgument($1, $2); }
    ;

set_expression
    : subset  { $$ = std::move($1); }
    | filter  { $$ = std::move($1); }
    ;

index
    : primary LBRACKET expression RBRACKET
                                        { $$ = ctx.builder().IndexExpr($1, $4, $1, $3); }
    ;

subset
    : primary LBRACKET range_list RBRACKET
                                        { $$ = ctx.builder().SubSetExpr($1, $4, $1, $3); }
    ;

range_list
    : range                             { $$ = ctx.builder().FirstRange($1); }
    | range_list COMMA range            { $$ = ctx.builder().NextRange($1, $3); }
    ;

range
    : expression  { $$ = std::move($1); }
    | expression COLON expression       { $$ = ctx.builder().RangeExpr($1, $3); }
    ;

filter
    : LBRACKET IDENT EQ primary BAR expression RBRACKET
                                        { $$ = ctx.builder().FilterExpr($1, $7, $2, $4, $6); }
    ;

%%

void ozra::front::grammar::Grammar::report_syntax_error(const context& where) const {
    // Statement-level symbols and the error symbol carry no value.
    const symbol_kind_type top = yystack_[0].kind();
    const bool atBoundary = yystack_.size() == 1 || top == symbol_kind::S_statement_list;
    const bool valued = !atBoundary && top != symbol_kind::S_YYerror &&
                        top != symbol_kind::S_statement && top != symbol_kind::S_simple_statement &&
                        top != symbol_kind::S_error_statement;
    const ozra::front::ParseValue none;
    // Bison's own list of the tokens the state has an action for. It is
    // the whole truth only right after a shift: a state reached by default
    // reductions knows less than the one they started from. A longer list
    // than four would help no one.
    symbol_kind_type expected[4];
    const bool afterShift = top < symbol_kind::YYNTOKENS;
    const int count = afterShift ? where.expected_tokens(expected, 4) : 0;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string name = symbol_name(expected[i]);
        names.push_back(name.find(' ') == std::string::npos ? '"' + name + '"' : name);
    }
    ctx.SyntaxError(atBoundary, valued ? yystack_[0].value.as<ozra::front::ParseValue>() : none,
                    names);
}

// Bison reports through this only what actions raise as syntax errors,
// which none of ours do; every syntax error goes through the function above.
void ozra::front::grammar::Grammar::error(const std::string&) {}
