// The simplified XML tree: what loading keeps, round trips, the writer's
// rules and clear errors for malformed or hostile input.
#include "libs/xml/xml_document.h"
#include "script_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ozra::xml {
namespace {

// A compact rendering of a tree: name[attr=value,...](value){children}.
std::string Shape(const XmlElement& element) {
    std::string text = element.Name;
    if (!element.Attributes.empty()) {
        text += '[';
        for (const XmlAttribute& attribute : element.Attributes)
            text += attribute.Name + "=" + attribute.Value + ",";
        text.back() = ']';
    }
    if (element.Value) text += "(" + *element.Value + ")";
    if (!element.Children.empty()) {
        text += '{';
        for (const XmlElement& child : element.Children)
            text += Shape(child) + " ";
        text.back() = '}';
    }
    return text;
}

TEST(XmlTree, LoadingKeepsNamesTextOnlyValuesAttributesAndElements) {
    const struct {
        const char* text;
        const char* shape;
    } cases[] = {
        {"<a x='1'><b>t</b><!-- c --><c/></a>", "a[x=1]{b(t) c}"},
        {"<a empty='' y='&lt;&amp;&quot;'/>", "a[y=<&\"]"},
        {"<a>mixed <b>bold</b> tail<?pi x?></a>", "a{b(bold)}"},
        {"<a><![CDATA[<raw> & ]]></a>", "a(<raw> & )"},
        {"<?xml version='1.0' encoding='ISO-8859-1'?><r>caf\xC3\xA9 &#x263A;</r>",
         "r(caf\xC3\xA9 \xE2\x98\xBA)"},
        {"\xEF\xBB\xBF<r>bom</r>", "r(bom)"},
        {"\xFF\xFE<\0r\0>\0x\0<\0/\0r\0>\0", "r(x)"},
        {"<r>  </r>", "r"},
        {"<!DOCTYPE r><r>&#65;</r>", "r(A)"},
    };
    for (const auto& c : cases) {
        const std::string_view text(c.text, c.text[0] == '\xFF' ? 20 : std::strlen(c.text));
        EXPECT_EQ(Shape(ParseXml(text)), c.shape) << c.text;
    }
}

TEST(XmlTree, RoundTripsKeepContent) {
    const char* documents[] = {
        "<project name=\"p&amp;q\" n=\"\xE6\x97\xA5\"><files><file "
        "type=\"main\">M&lt;1&gt;.ozra</file>"
        "</files><Configs><Namespace>My.Space</Namespace></Configs></project>",
        "<a q='\"' t='tab\there' nl='line1\nline2'>  spaced text  </a>",
        "<r><x>1</x><x>2</x><x><y z=\"&#10;\"/></x></r>",
    };
    for (const char* document : documents) {
        const XmlElement first = ParseXml(document);
        const std::string written = WriteXml(first, {});
        EXPECT_EQ(Shape(ParseXml(written)), Shape(first)) << written;
        EXPECT_EQ(WriteXml(ParseXml(written), {}), written);
    }
}

TEST(XmlTree, WritingIndentsSkipsEmptiesAndLabelsTheEncoding) {
    XmlElement root{"cfg", std::nullopt, {{"a", "1"}, {"gone", ""}}, {}};
    root.Children.push_back({"item", "v", {}, {}});
    root.Children.push_back({});
    root.Children.push_back({"deep", std::nullopt, {}, {{"leaf", std::nullopt, {}, {}}}});
    EXPECT_EQ(WriteXml(root, {}),
              "<cfg a=\"1\">\n  <item>v</item>\n  <deep>\n    <leaf />\n  </deep>\n</cfg>\n");
    EXPECT_EQ(WriteXml(XmlElement{"r", "x", {}, {}}, {true, "windows-1252"}),
              "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r>x</r>\n");
    EXPECT_EQ(WriteXml(XmlElement{"r", std::nullopt, {}, {}}, {true, ""}),
              "<?xml version=\"1.0\"?>\n<r />\n");
}

TEST(XmlTree, MalformedTextFailsWithLineAndColumn) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"<a>\n  <b>\n</a>", "Start-end tags mismatch at line 3, column 3."},
        {"", "No document element found at line 1, column 1."},
        {"<a><b></a", "Start-end tags mismatch at line 1, column 9."},
        {"<1a/>", "Could not determine tag type at line 1, column 2."},
        {"<a b=1/>", "Error parsing element attribute at line 1, column 6."},
    };
    for (const auto& c : cases) {
        try {
            ParseXml(c.text);
            ADD_FAILURE() << c.text;
        } catch (const XmlError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
}

TEST(XmlTree, DeepNestingIsRefusedBothWays) {
    std::string deep;
    for (int i = 0; i <= MaxDepth; ++i)
        deep += "<a>";
    EXPECT_THROW(ParseXml(deep), XmlError);
    std::string fine;
    for (int i = 0; i < MaxDepth; ++i)
        fine += "<a>";
    for (int i = 0; i < MaxDepth; ++i)
        fine += "</a>";
    EXPECT_NO_THROW(WriteXml(ParseXml(fine), {}));
}

TEST(XmlTree, NamesThatCouldNotBeReadBackAreRefused) {
    const struct {
        XmlElement element;
        const char* message;
    } cases[] = {
        {{"", std::nullopt, {}, {{"child", std::nullopt, {}, {}}}}, "XML element without a name."},
        {{"a b", std::nullopt, {}, {}}, "Invalid XML element name \"a b\"."},
        {{"r", std::nullopt, {{"1x", "v"}}, {}}, "Invalid XML attribute name \"1x\"."},
    };
    for (const auto& c : cases) {
        try {
            WriteXml(c.element, {});
            ADD_FAILURE() << c.message;
        } catch (const XmlError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(XmlTree, LookupsIgnoreLetterCase) {
    const XmlElement root =
        ParseXml("<project><files><file "
                 "type='Main'>m</file></files><Configs><NS>x</NS></Configs></project>");
    ASSERT_NE(root.Locate("\\PROJECT\\files\\FILE"), nullptr);
    EXPECT_EQ(*root.Locate("/project/files/file")->Attribute("TYPE"), "Main");
    EXPECT_EQ(root.Find("configs/ns")->Value, "x");
    EXPECT_EQ(root.Locate("/other/files"), nullptr);
    EXPECT_EQ(root.Find("files/none"), nullptr);
}

TEST(XmlFiles, SavingReplacesWholeFilesAndErrorsNameThePath) {
    libs::testing::TempFolder folder;
    const std::string path = folder.Path + "c.config";
    SaveXmlFile(path, XmlElement{"c", "1", {}, {}}, "UTF-8");
    EXPECT_EQ(folder.Read("c.config"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<c>1</c>\n");
    EXPECT_EQ(LoadXmlFile(path).Value, "1");

    // A refused tree leaves the old file whole.
    EXPECT_THROW(SaveXmlFile(path, XmlElement{"bad name", std::nullopt, {}, {}}, ""), XmlError);
    EXPECT_EQ(LoadXmlFile(path).Value, "1");

    folder.Write("broken.xml", "<a>\n<b>");
    try {
        LoadXmlFile(folder.Path + "broken.xml");
        ADD_FAILURE();
    } catch (const XmlError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "File \"" + folder.Path +
                      "broken.xml\": Start-end tags mismatch at line 2, column 3.");
    }
    EXPECT_THROW(LoadXmlFile(folder.Path + "missing.xml"), std::runtime_error);
    EXPECT_THROW(SaveXmlFile(folder.Path + "no/such/x.xml", XmlElement{"c", {}, {}, {}}, ""),
                 std::runtime_error);
}

} // namespace
} // namespace ozra::xml
