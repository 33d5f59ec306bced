// The data set schema import walks catalogue rows with, filled by a query:
// sorted by a column list, a value located, fields read by name, and its
// rows read into objects by physical column name.
#include "data/data_error.h"
#include "data/object_manager.h"
#include "data/object_reader.h"
#include "test_database.h"

namespace ozra::data::testing {
namespace {

using value::TtsValue;

class DataSetTest : public DatabaseTest {};

std::vector<std::string> Column(DataSet& set, std::string_view column) {
    std::vector<std::string> values;
    for (set.First(); !set.Eof(); set.Next())
        values.push_back(DataText(set.FieldByName(column)));
    return values;
}

TEST_P(DataSetTest, SortsLocatesAndReadsRowsIntoObjects) {
    db->Execute("CREATE TABLE word (id integer PRIMARY KEY, text varchar(20), len integer); "
                "INSERT INTO word VALUES (1, 'pear', 4); INSERT INTO word VALUES (2, 'fig', 3); "
                "INSERT INTO word VALUES (3, 'kiwi', 4); INSERT INTO word VALUES (4, NULL, 0)");
    DataSet set;
    EXPECT_EQ(set.CommandTimeout, 1200);
    set.CommandText = "SELECT id, text, len FROM word";
    set.Open(*db);
    ASSERT_EQ(set.RecordCount(), 4);

    set.Sort("len DESC, TEXT");
    EXPECT_EQ(Column(set, "text"), (std::vector<std::string>{"kiwi", "pear", "fig", ""}));
    set.Sort("text");
    EXPECT_EQ(Column(set, "id"), (std::vector<std::string>{"4", "2", "3", "1"}));

    ASSERT_TRUE(set.Locate("Text", TtsValue::FromText("kiwi")));
    EXPECT_EQ(DataText(set.FieldByName("ID")), "3");
    EXPECT_FALSE(set.Locate("text", TtsValue::FromText("Kiwi")));
    EXPECT_EQ(DataText(set.FieldByName("id")), "3");
    try {
        set.FieldByName("size");
        FAIL();
    } catch (const EDataError& error) {
        EXPECT_STREQ(error.what(), "Field 'size' not found");
    }

    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& word = schema->AddTable({"Word", "Word", "word"});
    TFieldInfo& text = word.AddField({.Alias = "Spelling", .Name = "text"});
    TFieldInfo& length =
        word.AddField({.Alias = "Length", .Name = "len", .DataType = TDataType::Integer});
    TObjectManager manager;
    set.Sort("id");
    TObjectReader reader(manager, word, set, false);
    VeRef<TDataObject> first = reader.Next();
    EXPECT_EQ(first->Field(text).AsString(), "pear");
    EXPECT_EQ(first->Field(length).AsInteger(), 4);
}

OZRA_ON_EVERY_BACKEND(DataSetTest);

} // namespace
} // namespace ozra::data::testing
