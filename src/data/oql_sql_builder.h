// Renders a query tree as SQL text with its parameters.
//
// Each element writes, in order: its operator in upper case (not for the
// first element of a group unless the operator is a prefix), its own text
// (a quoted name from the dialect builder, or "?" for a value, which becomes
// a parameter), then its children, in parentheses when the operator joining
// them binds looser than the operator that binds the group itself (or, for
// a non-associative operator, as loosely). Without formatting the parts are
// separated by single spaces; with it, line breaks in operator texts become
// line breaks indented two spaces per nesting level.
#pragma once

#include "data/oql_element.h"
#include "data/sql_builder.h"
#include "data/sql_param.h"

#include <string>
#include <string_view>

namespace ozra::data {

class TOqlSqlBuilder {
  public:
    // Leaves are written by the given builder, or by the default one.
    explicit TOqlSqlBuilder(const TSqlBuilder* leaves = nullptr, bool format = false);
    virtual ~TOqlSqlBuilder() = default;

    TSqlStatement Render(const TOqlElement& root);

  protected:
    // How an operator is spelled in the dialect (the leaf builder decides).
    virtual std::string_view OperatorText(const TOqlOperator& op) const;

  private:
    void Visit(const TOqlElement& element, const TOqlOperator& context, bool first, int level);
    void WriteOperator(const TOqlOperator& op, int level);
    void WriteLeaf(const TOqlElement& element);
    void Word(std::string_view text, bool glue = false);
    std::string Bind(TParamType type, value::TtsValue value);

    const TSqlBuilder* leaves_;
    bool format_;
    std::string text_;
    TSqlParams params_;
    bool glueNext_ = false;
    int pendingBreak_ = -1; // indent level of a line break to write, or -1
};

} // namespace ozra::data
