// The catalogue row sets every back end answers: tables, columns, primary
// keys, foreign keys and indexes of a database, as rows whose column names
// and type numbers are the same on every back end, so that schema import
// reads them one way.
//
// Column names follow the physical names of the schema document's fields
// (letter case does not matter when they are looked up). Data_Type holds
// the platform's type numbers below, not the back end's own codes; identity
// columns are flagged in the extra column IsAutoIncrement. Widths are
// Character_Maximum_Length for character and binary types (0 for long and
// unbounded ones, null for others); Numeric_Precision and Numeric_Scale are
// given for numbers.
//
//   Tables       Table_Catalog, Table_Schema, Table_Name, Table_Type
//                ("TABLE" or "VIEW"; a back end's own tables are left out)
//   Columns      Table_Catalog, Table_Schema, Table_Name, Column_Name,
//                Ordinal_Position, Column_Default, Is_Nullable, Data_Type,
//                Type_Name, Character_Maximum_Length, Numeric_Precision,
//                Numeric_Scale, IsAutoIncrement
//   PrimaryKeys  Table_Catalog, Table_Schema, Table_Name, Column_Name,
//                Ordinal, Pk_Name
//   ForeignKeys  Pk_Table_Catalog, Pk_Table_Schema, Pk_Table_Name,
//                Pk_Column_Name, Fk_Table_Catalog, Fk_Table_Schema,
//                Fk_Table_Name, Fk_Column_Name, Ordinal, Fk_Name,
//                Update_Rule, Delete_Rule
//   Indexes      Table_Catalog, Table_Schema, Table_Name, Index_Name,
//                Primary_Key, Unique, Ordinal_Position, Column_Name
//
// Restrictions are given by position, each an exact name or empty for
// none: (catalogue, schema, table); for ForeignKeys the first three name the
// referenced table and three more may name the referencing one.
#pragma once

#include "data/row_set.h"

#include <string>
#include <vector>

namespace ozra::data {

enum class CatalogueKind { Tables, Columns, PrimaryKeys, ForeignKeys, Indexes };

using CatalogueRestrictions = std::vector<std::string>;

// The platform's data type numbers used in catalogue rows.
namespace CatalogueType {
inline constexpr int SmallInt = 2;
inline constexpr int Integer = 3;
inline constexpr int Single = 4;
inline constexpr int Double = 5;
inline constexpr int Boolean = 11;
inline constexpr int Decimal = 14;
inline constexpr int TinyInt = 16;
inline constexpr int BigInt = 20;
inline constexpr int Guid = 72;
inline constexpr int Binary = 128;
inline constexpr int Char = 129;
inline constexpr int WChar = 130;
inline constexpr int Numeric = 131;
inline constexpr int Date = 133;
inline constexpr int Time = 134;
inline constexpr int Timestamp = 135;
inline constexpr int VarChar = 200;
inline constexpr int LongVarChar = 201;
inline constexpr int VarWChar = 202;
inline constexpr int LongVarWChar = 203;
inline constexpr int VarBinary = 204;
inline constexpr int LongVarBinary = 205;
} // namespace CatalogueType

// Character and binary types, whose rows give a width.
bool IsCharacterOrBinaryType(int type);
// The long character and binary types, which have no width.
bool IsLongCatalogueType(int type);

// An empty row set with the columns of a catalogue kind.
RowSet CatalogueRows(CatalogueKind kind);

// Sets a named cell of a row of a catalogue row set.
void SetCell(const RowSet& rows, std::vector<value::TtsValue>& row, std::string_view column,
             value::TtsValue value);

// The restriction at a position, or empty text.
const std::string& Restriction(const CatalogueRestrictions& restrictions, size_t position);

} // namespace ozra::data
