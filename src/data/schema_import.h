// Schema import: a live database's catalogue read into a schema document,
// and the choice of the helper that reads it.
//
// Catalogue helpers ask the connection for its catalogue row sets and read
// them into DoTable, DoField, DoRelation and DoRelationField objects,
// matching the rows' columns against the entities' physical names; query
// helpers run catalogue queries written for one server (sql_schema_queries.h)
// whose result columns are named after the aliases.
//
// Keys: DoTable Id = [schema "."] table; DoField Id = table Id "." column;
// DoRelation Id = [schema "."] constraint; DoRelationField Id = relation Id
// "." child column; ChildField_Id and ParentField_Id = table Id "." column.
// A constraint is told apart by its child table as well as its name, since
// two tables may each have a key of the same name (and SQLite's keys have
// none): when the name already stands for a key of another table, the
// later key's Id has "." and its child table's name added.
#pragma once

#include "data/connection.h"
#include "data/object_manager.h"

#include <string>
#include <string_view>

namespace ozra::data {

enum class SchemaHelperKind {
    Catalogue,          // catalogue row sets
    AccessCatalogue,    // the same, with Access identity flags
    SqlServerCatalogue, // the same, with SQL Server identity flags
    SqlServerQueries,   // SQL Server catalogue queries
    OracleQueries,      // Oracle catalogue queries
};

// The helper for a database type text ("SQLite", "PostgreSQL", "Access",
// "SqlServer", "Oracle", ...), letter case ignored; useSql picks the query
// helpers where there are some.
SchemaHelperKind SchemaHelperFor(std::string_view databaseType, bool useSql);

// A new space of document objects made by the manager, read from the
// connection's catalogue; a schema name keeps only that schema's tables.
VeRef<TObjectSpace> ImportSchema(Connection& connection, TObjectManager& manager,
                                 SchemaHelperKind kind, const std::string& schemaName);

// The data type code of a catalogue type number.
TDataType DataTypeOfCatalogueType(int type);

} // namespace ozra::data
