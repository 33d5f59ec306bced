// The column lists of the catalogue row sets.
#include "data/catalogue.h"

#include <stdexcept>

namespace ozra::data {

bool IsLongCatalogueType(int type) {
    return type == CatalogueType::LongVarChar || type == CatalogueType::LongVarWChar ||
           type == CatalogueType::LongVarBinary;
}

bool IsCharacterOrBinaryType(int type) {
    switch (type) {
    case CatalogueType::Char:
    case CatalogueType::WChar:
    case CatalogueType::VarChar:
    case CatalogueType::VarWChar:
    case CatalogueType::Binary:
    case CatalogueType::VarBinary:
        return true;
    default:
        return IsLongCatalogueType(type);
    }
}

RowSet CatalogueRows(CatalogueKind kind) {
    RowSet rows;
    switch (kind) {
    case CatalogueKind::Tables:
        rows.Columns = {"Table_Catalog", "Table_Schema", "Table_Name", "Table_Type"};
        break;
    case CatalogueKind::Columns:
        rows.Columns = {"Table_Catalog",     "Table_Schema",
                        "Table_Name",        "Column_Name",
                        "Ordinal_Position",  "Column_Default",
                        "Is_Nullable",       "Data_Type",
                        "Type_Name",         "Character_Maximum_Length",
                        "Numeric_Precision", "Numeric_Scale",
                        "IsAutoIncrement"};
        break;
    case CatalogueKind::PrimaryKeys:
        rows.Columns = {"Table_Catalog", "Table_Schema", "Table_Name",
                        "Column_Name",   "Ordinal",      "Pk_Name"};
        break;
    case CatalogueKind::ForeignKeys:
        rows.Columns = {"Pk_Table_Catalog", "Pk_Table_Schema", "Pk_Table_Name", "Pk_Column_Name",
                        "Fk_Table_Catalog", "Fk_Table_Schema", "Fk_Table_Name", "Fk_Column_Name",
                        "Ordinal",          "Fk_Name",         "Update_Rule",   "Delete_Rule"};
        break;
    case CatalogueKind::Indexes:
        rows.Columns = {"Table_Catalog", "Table_Schema", "Table_Name",       "Index_Name",
                        "Primary_Key",   "Unique",       "Ordinal_Position", "Column_Name"};
        break;
    }
    return rows;
}

void SetCell(const RowSet& rows, std::vector<value::TtsValue>& row, std::string_view column,
             value::TtsValue value) {
    int index = rows.FindColumn(column);
    if (index < 0) throw std::logic_error("catalogue column " + std::string(column) + " unknown");
    row[index] = std::move(value);
}

const std::string& Restriction(const CatalogueRestrictions& restrictions, size_t position) {
    static const std::string none;
    return position < restrictions.size() ? restrictions[position] : none;
}

} // namespace ozra::data
