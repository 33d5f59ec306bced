// The catalogue row sets of one logical schema on every back end: the same
// column names and type numbers everywhere, identity columns flagged, keys
// and foreign keys complete, and only the named table's rows for a name
// that other names match as a pattern.
#include "data/catalogue.h"
#include "test_database.h"

#include <algorithm>

namespace ozra::data::testing {
namespace {

using value::TtsValue;
using Lines = std::vector<std::string>;

std::string Text(const RowSet& rows, const std::vector<TtsValue>& row, std::string_view column) {
    return DataText(row.at(rows.FindColumn(column)));
}

bool Flag(const RowSet& rows, const std::vector<TtsValue>& row, std::string_view column) {
    return row.at(rows.FindColumn(column)).Integer() != 0;
}

// "table.column type[ wN][ pP,S][ null][ auto]"
Lines ColumnLines(const RowSet& rows) {
    Lines lines;
    for (const auto& row : rows.Rows) {
        std::string line = Text(rows, row, "Table_Name") + "." + Text(rows, row, "Column_Name") +
                           " " + Text(rows, row, "Data_Type");
        if (std::string width = Text(rows, row, "Character_Maximum_Length"); !width.empty())
            line += " w" + width;
        if (std::string precision = Text(rows, row, "Numeric_Precision"); !precision.empty())
            line += " p" + precision + "," + Text(rows, row, "Numeric_Scale");
        if (Flag(rows, row, "Is_Nullable")) line += " null";
        if (Flag(rows, row, "IsAutoIncrement")) line += " auto";
        lines.push_back(line);
    }
    return lines;
}

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

class CatalogueTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped()) return;
        LoadFixture(*db, "catalogue");
    }

    Lines Columns(const std::string& schema, const std::string& table) {
        return ColumnLines(db->Catalogue(CatalogueKind::Columns, {"", schema, table}));
    }
    std::string Public() const { return IsSqlite() ? "" : "public"; }
};

TEST_P(CatalogueTest, TablesListUserTablesAndViewsOfEverySchema) {
    RowSet rows = db->Catalogue(CatalogueKind::Tables);
    Lines lines;
    for (const auto& row : rows.Rows)
        lines.push_back(Text(rows, row, "Table_Schema") + "." + Text(rows, row, "Table_Name") +
                        " " + Text(rows, row, "Table_Type"));
    const std::string p = Public() + ".";
    EXPECT_EQ(Sorted(lines),
              Sorted({p + "a_b TABLE", p + "axb TABLE", p + "customer TABLE",
                      p + "customer_names VIEW", p + "invoice TABLE", p + "order_line TABLE",
                      p + "orders TABLE", p + "product TABLE", "second.extra TABLE"}));

    RowSet second = db->Catalogue(CatalogueKind::Tables, {"", "second", ""});
    ASSERT_EQ(second.Rows.size(), 1u);
    EXPECT_EQ(Text(second, second.Rows[0], "Table_Name"), "extra");
}

TEST_P(CatalogueTest, ColumnsCarryTypeNumbersWidthsAndIdentity) {
    Lines sqlite = {
        "customer.id 3 auto",
        "customer.name 200 w40",
        "customer.nickname 201 w0 null",
        "customer.notes 201 w0 null",
        "customer.balance 131 p10,2 null",
        "customer.active 11 null",
        "customer.created 135 null",
        "customer.code 72 null",
        "customer.photo 205 w0 null",
        "product.id 3 auto",
        "product.title 200 w40 null",
        "invoice.id 3",
        "invoice.customer_id 3 null",
    };
    Lines postgres = {
        "customer.id 3 p10,0 auto",         "customer.name 200 w40",
        "customer.nickname 200 w0 null",    "customer.notes 201 w0 null",
        "customer.balance 131 p10,2 null",  "customer.active 11 null",
        "customer.created 135 null",        "customer.code 72 null",
        "customer.photo 205 w0 null",       "product.id 3 p10,0 auto",
        "product.title 200 w40 null",       "invoice.id 3 p10,0",
        "invoice.customer_id 3 p10,0 null",
    };
    Lines found = Columns(Public(), "customer");
    for (const char* table : {"product", "invoice"})
        for (const std::string& line : Columns(Public(), table))
            found.push_back(line);
    EXPECT_EQ(found, IsSqlite() ? sqlite : postgres);
}

TEST_P(CatalogueTest, PatternCharactersInNamesMatchOnlyThemselves) {
    // "_" matches any one character as an ODBC pattern: a_b must not bring
    // the columns of axb.
    Lines found = Columns("", "a_b");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].substr(0, 5), "a_b.x");
    EXPECT_EQ(Columns("second", "extra").size(), 2u);
    EXPECT_TRUE(Columns("second", "customer").empty());
}

TEST_P(CatalogueTest, PrimaryKeysListEveryKeyColumnInOrder) {
    RowSet rows = db->Catalogue(CatalogueKind::PrimaryKeys, {"", Public(), "order_line"});
    Lines lines;
    for (const auto& row : rows.Rows)
        lines.push_back(Text(rows, row, "Column_Name") + " " + Text(rows, row, "Ordinal"));
    EXPECT_EQ(lines, (Lines{"customer_id 1", "order_number 2", "line 3"}));
}

TEST_P(CatalogueTest, ForeignKeysOfAReferencedTableWithCompositeAndSharedNames) {
    auto keys = [&](const std::string& parent) {
        RowSet rows = db->Catalogue(CatalogueKind::ForeignKeys, {"", Public(), parent});
        Lines lines;
        for (const auto& row : rows.Rows)
            lines.push_back(Text(rows, row, "Fk_Name") + ": " + Text(rows, row, "Fk_Table_Name") +
                            "." + Text(rows, row, "Fk_Column_Name") + " -> " +
                            Text(rows, row, "Pk_Table_Name") + "." +
                            Text(rows, row, "Pk_Column_Name") + " " + Text(rows, row, "Ordinal"));
        return Sorted(lines);
    };
    // SQLite keys have no names: each is named after its table and number.
    const std::string ordersCustomer = IsSqlite() ? "FK_orders_1" : "fk_customer";
    const std::string invoiceCustomer = IsSqlite() ? "FK_invoice_0" : "fk_customer";
    const std::string orderLine = IsSqlite() ? "FK_order_line_0" : "fk_order";
    EXPECT_EQ(keys("customer"),
              Sorted({ordersCustomer + ": orders.customer_id -> customer.id 1",
                      invoiceCustomer + ": invoice.customer_id -> customer.id 1"}));
    EXPECT_EQ(keys("orders"),
              Sorted({orderLine + ": order_line.customer_id -> orders.customer_id 1",
                      orderLine + ": order_line.order_number -> orders.number 2"}));
    // Without a table: every key of the database.
    EXPECT_EQ(db->Catalogue(CatalogueKind::ForeignKeys).Rows.size(), 5u);
}

TEST_P(CatalogueTest, IndexesShowThePrimaryKeyIndex) {
    RowSet rows = db->Catalogue(CatalogueKind::Indexes, {"", Public(), "orders"});
    Lines lines;
    for (const auto& row : rows.Rows)
        lines.push_back(Text(rows, row, "Column_Name") + " " + Text(rows, row, "Ordinal_Position") +
                        (Flag(rows, row, "Primary_Key") ? " primary" : "") +
                        (Flag(rows, row, "Unique") ? " unique" : ""));
    EXPECT_EQ(lines, (Lines{"customer_id 1 primary unique", "number 2 primary unique"}));
}

OZRA_ON_EVERY_BACKEND(CatalogueTest);

} // namespace
} // namespace ozra::data::testing
