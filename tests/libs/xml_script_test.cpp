// The XML libraries as scripts use them: documents, elements and child
// lists, their messages, and exact copies.
#include "script_support.h"

namespace ozra::libs::testing {
namespace {

constexpr const char* Sample =
    "<.var d = System.XML.Document()\n"
    "d.LoadString(\"<a x='1'><b>t</b><!-- c --><c/></a>\")\nvar r = d.Root()\n";

std::string WithSample(const char* rest) {
    return std::string(Sample) + rest;
}

TEST(XmlScripts, DocumentsAndElements) {
    const std::string cases[][3] = {
        {WithSample("?? r.Name ~ r.Props().x ~ r.Value ~ r.Nodes().Count() ~ r.Level.>"),
         "a1"
         "2"
         "0\n",
         ""},
        {WithSample("var b = d.Locate(\"/A/B\")\n?? b.Value() ~ b.Path ~ b.Level ~ b.Index ~ "
                    "d.Locate(\"/x/b\") ~ r.Find(\"c\").Value.>"),
         "t/a/b10\n", ""},
        {WithSample("var c = r.Find(\"C\")\nr.Find(\"b\").Delete()\n?? c.Index ~ r.Nodes().Count() "
                    "~ (c.Parent() == r) ~ r.Parent().>"),
         "01True\n", ""},
        {WithSample("?? d.ToString().>"), "<a x=\"1\">\n  <b>t</b>\n  <c />\n</a>\n\n", ""},
        {WithSample("?? d.ToString(\"UTF-8\", r.Find(\"b\")).>"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<b>t</b>\n\n", ""},
        {WithSample(
             "r.value = 5\nr.NAME = \"z\"\nvar p = r.Props()\np.x = \"\"\n?? r.ToString().>"),
         "<z>5<b>t</b>\n  <c />\n</z>\n\n", ""},
        {WithSample("r.colour = 1.>"), "", "colour not found."},
        {WithSample("?? r.Nothing.>"), "", "function Nothing not found."},
        {"<.var d = System.XML.Document(\"cfg\")\n?? d.Root().Name ~ \"|\" ~ d.ToString() ~ "
         "\"|\".>",
         "cfg|<cfg />\n|\n", ""},
        {"<.?? \"[\" ~ System.XML.Document().ToString() ~ \"]\".>", "[]\n", ""},
        {"<.var d = System.XML.Document()\nd.Root().Nodes().Add(\"x\")\n?? d.ToString().>", "",
         "XML element without a name."},
        {"<.var d = System.XML.Document(\"r\")\nvar n = d.Root().Nodes()\nn.Add(\"a\", "
         "1)\nn.Add(\"b\")\n"
         "?? n.Count() ~ n[0].Value ~ n[1].Name ~ n[5]\nn.Delete(0)\n?? n[0].Index\nn.Clear()\n?? "
         "n.Count().>",
         "21b\n0\n0\n", ""},
        {"<.System.XML.Document(\"r\").Root().Nodes().Delete(0).>", "",
         "List index out of bounds (0)"},
        {"<.System.XML.Document(\"r\").Root().Nodes().Add().>", "", "no enough parameters."},
        {"<.System.XML.Document(1, 2).>", "", "too many parameters."},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const ScriptRun run = RunWithLibraries(c[0], folder.Path);
        EXPECT_EQ(run.Error, c[2]) << c[0];
        if (run.Error.empty()) EXPECT_EQ(run.Output, c[1]) << c[0];
    }
}

TEST(XmlScripts, FindByPropLooksDeeperOnlyWhenAskedAndNoChildMatches) {
    ExpectScriptCases({
        {"<.var d = System.XML.Document()\n"
         "d.LoadString(\"<o><g name='Editor'><i name='Tab Width' v='4'/></g><i name='x' "
         "v='top'/></o>\")\n"
         "var r = d.Root()\n?? r.FindByProp(\"NAME\", \"tab width\", true).Props().v ~ "
         "r.FindByProp(\"name\", \"Tab Width\")"
         " ~ r.FindByProp(\"name\", \"X\", true).Props().v.>",
         "4top\n"},
    });
}

TEST(XmlScripts, LoadingKeepsOtherAttributesButCopyIsExact) {
    ExpectScriptCases({
        // A failed parse leaves the element as it was.
        {"<.var d = System.XML.Document(\"keep\")\ntry\n d.LoadString(\"<a><b></a>\")\nexcept\n ?? "
         "\"failed\"\n"
         "end try\n?? d.Root().Name.>",
         "failed\nkeep\n"},
        {"<.var d = System.XML.Document()\nd.LoadString(\"<a old='1'>v</a>\")\nd.LoadString(\"<n "
         "new='2'><c/></n>\")\n"
         "?? d.Root().Value ~ d.Root().Props().ToString(\",\").>",
         "vold=1,new=2\n"},
        {"<.var s = System.XML.Document()\ns.LoadString(\"<n new='2'><c k='1'/></n>\")\n"
         "var t = System.XML.Document()\nt.LoadString(\"<a "
         "old='1'>v<b/></a>\")\nt.Root().Copy(s.Root())\n"
         "var k = s.Root().Find(\"c\").Props()\nk.k = \"changed\"\n?? t.ToString().>",
         "<n new=\"2\">\n  <c k=\"1\" />\n</n>\n\n"},
        {"<.var d = System.XML.Document()\nd.LoadString(\"<a><b><c/></b></a>\")\nvar b = "
         "d.Root().Find(\"b\")\n"
         "b.Copy(d.Root())\n?? d.Root().Find(\"a/b/c\").Path.>",
         "/a/a/b/c\n"},
        {"<.var d = System.XML.Document()\nd.LoadString(\"<a x='1' y='2'><b z='3'/></a>\")\nvar b "
         "= d.Root().Find(\"b\")\n"
         "b.CopyValue(d.Root())\n?? b.ToString().>",
         "<b x=\"1\" y=\"2\" />\n\n"},
        {"<.System.XML.Document().Root().Copy(1).>", "", "parameter error."},
    });
}

TEST(XmlScripts, FilesRoundTripAndErrorsAreClear) {
    ExpectScriptCases({
        {"<.var d = System.XML.Document(\"cfg\")\nvar e = d.Root().Nodes().Add(\"entry\", "
         "\"caf\xC3\xA9 & <x>\")\n"
         "d.SaveToFile(\"%T%sub/c.xml\").>",
         "", "Cannot create file \"%T%sub/c.xml\". No such file or directory"},
        {"<.var d = System.XML.Document(\"cfg\")\nvar e = d.Root().Nodes().Add(\"entry\", "
         "\"caf\xC3\xA9 & <x>\")\n"
         "var p = e.Props()\np.key = 'q\"q'\nd.ToFile(\"%T%c.xml\", \"UTF-8\")\nvar r = "
         "System.XML.Document(\"%T%c.xml\")\n"
         "?? r.Root().Find(\"entry\").Value ~ \"|\" ~ r.Locate(\"/cfg/entry\").Props().key\n"
         "?? System.File.Load(\"%T%c.xml\").>",
         "caf\xC3\xA9 & <x>|q\"q\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cfg>\n"
         "  <entry key=\"q&quot;q\">caf\xC3\xA9 &amp; &lt;x&gt;</entry>\n</cfg>\n\n"},
        {"<.System.XML.Document(\"%T%missing.xml\").>", "",
         "Cannot open file \"%T%missing.xml\". No such file or directory"},
        {"<.System.File.Save(\"%T%bad.xml\", \"<a>\" ~ \\n ~ \"<b "
         "x=1/>\")\nSystem.XML.Document(\"%T%bad.xml\").>",
         "", "File \"%T%bad.xml\": Error parsing element attribute at line 2, column 6."},
        {"<.System.XML.Document(\"C:\\a.xml\").>", "",
         "Windows drive and network paths are not supported: \"C:\\a.xml\"."},
    });
}

// A document of the greatest depth, 1000 levels, and its deepest element:
// nothing more may go below it, whichever way it would be added, while
// the same additions higher up work.
TEST(XmlScripts, TheDepthLimitHoldsForTheWholeDocument) {
    ExpectScriptCases({
        {"<.var text = \"\"\nfor (i = 1 to 1000)\ntext = \"<a>\" ~ text ~ \"</a>\"\nend for\n"
         "var d = System.XML.Document()\nd.LoadString(text)\nvar n = d.Root()\n"
         "while (n.Nodes().Count() > 0)\nn = n.Nodes()[0]\nend while\n"
         "try\nn.Nodes().Add(\"x\")\nexcept\n?? \"Add: \" ~ exception\nend try\n"
         "try\nn.LoadString(\"<b><c/></b>\")\nexcept\n?? \"LoadString: \" ~ exception\nend "
         "try\n"
         "try\nn.Copy(d.Root())\nexcept\n?? \"Copy: \" ~ exception\nend try\n"
         "n = n.Parent()\nn.LoadString(\"<b/>\")\nn.Nodes().Add(\"x\")\n"
         "?? n.Level ~ \" \" ~ n.Nodes().Count().>",
         "Add: XML nested more than 1000 levels deep.\n"
         "LoadString: XML nested more than 1000 levels deep.\n"
         "Copy: XML nested more than 1000 levels deep.\n"
         "998 1\n"},
    });
}

} // namespace
} // namespace ozra::libs::testing
