// The XML provider and the XML form of an object space: exact file text,
// values that round-trip through the file, identities, and documents that
// do not fit the schema refused without replacing the data, and a save
// that fails leaving the old file.
#include "../support/file_size_limit.h"
#include "../support/temp_folder.h"
#include "data/data_error.h"
#include "data/date_text.h"
#include "data/object_manager.h"
#include "data/variant_array.h"
#include "data/xml_object_space.h"
#include "data/xml_provider.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ozra::data {
namespace {

using value::TtsValue;

struct Library {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& book = schema->AddTable({"Book", "Book", "books"});
    TFieldInfo& id = book.AddField({.Alias = "Id",
                                    .Name = "id",
                                    .DataType = TDataType::BigInt,
                                    .IsAutoIncrement = true,
                                    .IsPrimary = true});
    TFieldInfo& title = book.AddField({.Alias = "Title", .Name = "title"});
    TFieldInfo& price =
        book.AddField({.Alias = "Price", .Name = "price", .DataType = TDataType::Double});
    TFieldInfo& lent =
        book.AddField({.Alias = "Lent", .Name = "lent", .DataType = TDataType::Boolean});
    TFieldInfo& added =
        book.AddField({.Alias = "Added", .Name = "added", .DataType = TDataType::DateTime});
    TFieldInfo& cover =
        book.AddField({.Alias = "Cover", .Name = "cover", .DataType = TDataType::Blob});
    TTableInfo& shelf = schema->AddTable({"Shelf", "Shelf", "shelves"});
    TFieldInfo& shelfId = shelf.AddField(
        {.Alias = "Id", .Name = "id", .DataType = TDataType::Integer, .IsPrimary = true});

    ozra::testing::TempFolder folder;
    TXmlProvider provider;
    TObjectManager manager;

    Library() {
        book.AddIndex(true, true).AddField(id);
        shelf.AddIndex(true, true).AddField(shelfId);
        provider.FileName = folder.Path + "data.xml";
        manager.SetDataProvider(&provider);
    }

    VeRef<TDataObject> NewBook(std::string_view bookTitle) {
        VeRef<TDataObject> object = manager.CreateObject(book);
        object->Field(title).SetValue(TtsValue::FromText(bookTitle));
        EXPECT_TRUE(object->Save());
        return object;
    }
    std::string Error(const std::string& xml) {
        try {
            ReadObjectSpace(xml, *schema, manager);
        } catch (const EDataError& error) {
            return error.what();
        }
        return "(read)";
    }
};

TEST(XmlProviderTest, TheFileHoldsEverySetAndEveryValueThatIsNotNull) {
    Library l;
    VeRef<TDataObject> first = l.NewBook("Dune");
    first->Field(l.price).SetValue(TtsValue::FromDouble(9.5));
    first->Field(l.lent).SetValue(TtsValue::FromBoolean(true));
    first->Field(l.added).SetValue(TtsValue::FromDate(*ParseDateTime("2024-02-29 13:45:10")));
    first->Field(l.cover).SetValue(MakeByteArray(std::string("\0\xff", 2)));
    ASSERT_TRUE(first->Save());
    l.NewBook("");
    l.provider.CachedSet(l.shelf);
    l.provider.SaveToFile();
    EXPECT_EQ(l.folder.Read("data.xml"),
              "<?xml version=\"1.0\"?>\n"
              "<ObjectSpace>\n"
              "  <ObjectSet Name=\"Book\">\n"
              "    <Object Id=\"1\" Title=\"Dune\" Price=\"9.5\" Lent=\"True\" Added=\"2024-02-29 "
              "13:45:10\" Cover=\"00FF\" />\n"
              "    <Object Id=\"2\" Title=\"\" />\n"
              "  </ObjectSet>\n"
              "  <ObjectSet Name=\"Shelf\" />\n"
              "</ObjectSpace>\n");
}

TEST(XmlProviderTest, ValuesRoundTripThroughTheFile) {
    const std::string awkward = "<O'Brien & \"Sons\">\n\ttab; -- /* ünï 日本 \x01";
    {
        Library writer;
        VeRef<TDataObject> book = writer.NewBook(awkward);
        book->Field(writer.id).SetValue(TtsValue::FromInt64(9007199254740993));
        book->Field(writer.cover).SetValue(MakeByteArray(std::string("\0<\"\xff", 4)));
        book->Field(writer.lent).SetValue(TtsValue::FromBoolean(false));
        ASSERT_TRUE(book->Save());
        writer.provider.SaveToFile();

        Library reader;
        reader.provider.FileName = writer.provider.FileName;
        reader.provider.LoadFromFile(*reader.schema);
        VeRef<TObjectSet> books = reader.manager.LoadSet(reader.book);
        ASSERT_EQ(books->Count(), 1);
        TDataObject& read = books->Item(0);
        EXPECT_EQ(read.Internal().StateRecord().Current, TObjectStateCode::Committed);
        EXPECT_EQ(read.Field(reader.title).AsString(), awkward);
        EXPECT_EQ(read.Field(reader.id).AsInt64(), 9007199254740993);
        EXPECT_EQ(*AsByteArray(read.Field(reader.cover).Value()), std::string("\0<\"\xff", 4));
        EXPECT_EQ(read.Field(reader.lent).Value().Kind(), value::ValueKind::Boolean);
        EXPECT_FALSE(read.Field(reader.lent).AsBoolean());
        EXPECT_TRUE(read.Field(reader.price).IsNull());
    }
}

TEST(XmlProviderTest, IdentitiesContinueFromTheLargestAndSurviveReloading) {
    Library l;
    l.folder.Write("data.xml", "<ObjectSpace><ObjectSet Name=\"book\">"
                               "<Object Id=\"41\"/><Object Id=\"7\"/></ObjectSet></ObjectSpace>");
    l.provider.LoadFromFile(*l.schema);
    EXPECT_EQ(l.NewBook("a")->Field(l.id).AsInt64(), 42);
    EXPECT_EQ(l.NewBook("b")->Field(l.id).AsInt64(), 43);
    l.provider.LoadFromFile(*l.schema);
    EXPECT_EQ(l.NewBook("c")->Field(l.id).AsInt64(), 44);
    EXPECT_EQ(l.manager.LoadSet(l.book)->Count(), 3);
}

TEST(XmlProviderTest, DocumentsThatDoNotFitTheSchemaAreRefusedWhole) {
    Library l;
    l.NewBook("kept");
    const std::string bad = "Bad XML file format or XML file not match the present schema.";
    const std::pair<std::string, std::string> cases[] = {
        {"<Space/>", bad},
        {"<ObjectSpace><Set Name=\"Book\"/></ObjectSpace>", bad},
        {"<ObjectSpace><ObjectSet Name=\"Author\"/></ObjectSpace>", bad},
        {"<ObjectSpace><ObjectSet Name=\"Book\"><Row/></ObjectSet></ObjectSpace>", bad},
        {"<ObjectSpace><ObjectSet Name=\"Book\"><Object Id=\"1\" Pages=\"3\"/></ObjectSet>"
         "</ObjectSpace>",
         bad},
        {"<ObjectSpace><ObjectSet Name=\"Book\"><Object Id=\"one\"/></ObjectSet></ObjectSpace>",
         bad},
        {"<ObjectSpace><ObjectSet Name=\"Book\"><Object Cover=\"0G\"/></ObjectSet></ObjectSpace>",
         bad},
        {"<ObjectSpace>\n  <ObjectSet Name=\"Book\">\n</ObjectSpace>",
         bad + " Start-end tags mismatch at line 3, column 3."},
    };
    for (const auto& [xml, message] : cases) {
        EXPECT_EQ(l.Error(xml), message) << xml;
        l.folder.Write("data.xml", xml);
        EXPECT_THROW(l.provider.LoadFromFile(*l.schema), EDataError);
        EXPECT_EQ(l.manager.LoadSet(l.book)->Count(), 1) << "data replaced by " << xml;
    }
}

TEST(XmlProviderTest, QueriesWithAWhereTextAreNotSupported) {
    Library l;
    try {
        l.manager.LoadSet(l.book, "SELECT * FROM books");
        FAIL();
    } catch (const EDataError& error) {
        EXPECT_STREQ(error.what(), "Book not found");
    }
    EXPECT_THROW(l.manager.GetDataProvider().GetOqlBuilder(), EDataError);
}

TEST(XmlProviderTest, AFailedSaveLeavesTheOldFileAndNothingElse) {
    Library l;
    l.NewBook("first");
    l.provider.SaveToFile();
    const std::string saved = l.folder.Read("data.xml");
    for (int i = 0; i < 100; ++i)
        l.NewBook("one of many books that no longer fit on the disk");
    {
        FileSizeLimit full(saved.size() + 64);
        try {
            l.provider.SaveToFile();
            FAIL() << "saved on a full disk";
        } catch (const EDataError& error) {
            EXPECT_EQ(error.what(),
                      "Cannot create file \"" + l.provider.FileName + "\". File too large");
        }
    }
    EXPECT_EQ(l.folder.Read("data.xml"), saved);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(l.folder.Path),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace ozra::data
