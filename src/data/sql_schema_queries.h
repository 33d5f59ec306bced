// The catalogue queries of the query-based schema helpers, for servers
// whose catalogue the connection layer does not read itself: SQL Server's
// system tables and Oracle's user views. Each query names its result
// columns after the aliases of the document entity it fills. The index
// queries exist in both dialects but no import runs them.
#pragma once

#include <string>
#include <string_view>

namespace ozra::data {

enum class SqlDialectQueries { SqlServer, Oracle };

enum class CatalogueQuery { Tables, Columns, Relations, RelationFields, Indexes, IndexFields };

// The query text. Oracle's queries name the owner: it is written in as a
// string literal (quotes doubled), a single space when none is given.
std::string CatalogueQueryText(SqlDialectQueries dialect, CatalogueQuery query,
                               std::string_view owner);

} // namespace ozra::data
