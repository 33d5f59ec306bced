// Collection libraries as scripts use them: every method, its argument
// count errors and the lists' own messages.
#include "script_support.h"

namespace ozra::libs::testing {
namespace {

TEST(CollectionScripts, SimpleLists) {
    ExpectScriptCases({
        {"<.var l = System.List.List()\nl.Add(1)\n?? l.Count().>", "1\n"},
        {"<.var l = System.List.List()\nvar a = System.List.List()\nvar b = System.List.List()\n"
         "l.Add(a)\nl.Add(b)\n?? l.IndexOf(b) ~ l.IndexOf(l) ~ (l[1] == b) ~ l[7]\n"
         "l[0] = b\nl[9] = a\n?? l.IndexOf(a) ~ l.Count()\nl.Remove(0)\n?? l.Count()\nl.Clear()\n"
         "?? l.Count().>",
         "1-1True\n-12\n1\n0\n"},
        {"<.var l = System.List.List()\nl.Remove(0).>", "", "List index out of bounds (0)"},
        {"<.var l = System.List.List()\nl.Add(1)\n?? l[-1].>", "", "List index out of bounds (-1)"},
        {"<.System.List.List().Add().>", "", "no enough parameters."},
        {"<.System.List.List().Count(1).>", "", "too many parameters."},
        {"<.System.List.List(1).>", "", "too many parameters."},
    });
}

TEST(CollectionScripts, HashTables) {
    ExpectScriptCases({
        {"<.var h = System.List.Hashtable()\nvar a = System.List.List()\n"
         "?? h.Add(\"Key\", a) ~ h.Add(\"KEY\", System.List.List()) ~ h.Count() ~ (h.Get(\"key\") "
         "== a)"
         ".>",
         "001True\n"},
        {"<.var h = System.List.Hashtable()\nh.Add(\"b\", 1)\nh.Add(\"A\", 1)\nh.Add(\"c\", 1)\n"
         "?? h.GetKey(0) ~ h.GetKey(1) ~ h.GetKey(2) ~ h.Find(\"C\") ~ h.Find(\"x\") ~ "
         "h.Has(\"B\")\n"
         "?? h.Del(\"a\") ~ h.Del(\"a\") ~ h.Count() ~ h.Get(\"zz\")\nh.Clear()\n?? h.Count().>",
         "Abc2-1True\nTrueFalse2\n0\n"},
        {"<.var h = System.List.Hashtable()\nvar k = System.List.List()\nh.Add(k, k)\n"
         "?? (h.Get(k) == k) ~ h.Has(System.List.List()) ~ (h.GetObject(0) == k).>",
         "TrueFalseTrue\n"},
        {"<.System.List.Hashtable().GetKey(0).>", "", "List index out of bounds (0)"},
        {"<.System.List.Hashtable().GetObject(-2).>", "", "List index out of bounds (-2)"},
        {"<.System.List.Hashtable().Add(1).>", "", "no enough parameters."},
        {"<.var h = System.List.Hashtable()\n?? h[\"k\"].>", "", "function k not found."},
    });
}

TEST(CollectionScripts, StringLists) {
    ExpectScriptCases({
        {"<.var s = System.List.StringList()\ns.LoadString(\"a b,c\", \",\")\n"
         "?? s.Count() ~ s[0] ~ s[1] ~ s[2]\ns.LoadString('\"a b\",c', \",\")\n?? s.Count() ~ "
         "s[0].>",
         "3abc\n2a b\n"},
        {"<.var s = System.List.StringList()\ns.Add(\"x\")\ns.Add(\"y z\")\n?? s.ToString(\",\").>",
         "x,\"y z\"\n"},
        {"<.var s = System.List.StringList()\ns.Add(\"abc\")\ns.Insert(0, \"q\")\ns.Insert(2, "
         "\"e\")\n"
         "?? s.IndexOf(\"ABC\") ~ s.IndexOf(\"no\") ~ s.Count()\ns.Sort()\n"
         "?? s.ToString() == \"abc\" ~ \\r\\n ~ \"e\" ~ \\r\\n ~ \"q\" ~ \\r\\n\n"
         "s[0] = 5\ns[8] = 1\n?? s[0] ~ s[8]\ns.Remove(0)\n?? s.Count()\ns.Clear()\n?? s.Count().>",
         "1-13\nTrue\n5\n2\n0\n"},
        {"<.var s = System.List.StringList()\ns.LoadString(\"a\" ~ \\r\\n ~ \"b\" ~ \\n ~ \"c\" ~ "
         "\\r ~ \"d\")\n?? s.Count() ~ s[3].>",
         "4d\n"},
        {"<.var s = System.List.StringList()\ns.Add(\"\")\n?? s.ToString(\";\").>", "\"\"\n"},
        {"<.var s = System.List.StringList()\ns.Add(\"a\")\ns.Save(\"%T%l.txt\")\n"
         "var t = System.List.StringList()\nt.Load(\"%T%l.txt\")\n?? t.Count() ~ t[0] ~ "
         "(System.File.Load(\"%T%l.txt\") == \"a\" ~ \\r\\n).>",
         "1aTrue\n"},
        {"<.System.List.StringList().Insert(2, \"x\").>", "", "List index out of bounds (2)"},
        {"<.System.List.StringList().Remove(0).>", "", "List index out of bounds (0)"},
        {"<.System.List.StringList().Load(\"%T%missing.txt\").>", "",
         "Cannot open file \"%T%missing.txt\". No such file or directory"},
        {"<.System.List.StringList().Save(\"%T%no/such/a.txt\").>", "",
         "Cannot create file \"%T%no/such/a.txt\". No such file or directory"},
        {"<.System.List.StringList().LoadString().>", "", "no enough parameters."},
        {"<.System.List.StringList().ToString(1, 2).>", "", "too many parameters."},
    });
}

TEST(CollectionScripts, PropertyLists) {
    ExpectScriptCases({
        {"<.var p = System.List.SettingList()\np.LoadString(\"A=1\")\n?? p.A ~ \"/\" ~ p[\"a\"] ~ "
         "\"/\" ~ p.B\n"
         "p.A = \"\"\n?? p.Count().>",
         "1/1/\n0\n"},
        {"<.var p = System.List.SettingList()\np.LoadString(\"x=1;y;z=3\", \";\")\n"
         "?? p.GetName(0) ~ \"|\" ~ p.GetName(1) ~ \"|\" ~ p.GetValue(2)\np.SetValue(0, \"9\")\n"
         "p.SetValue(2, \"\")\np.Insert(1, \"k\", \"v\")\n?? p.ToString(\",\")\np.Remove(0)\n?? "
         "p.Count.>",
         "x||3\nx=9,k=v,y\n2\n"},
        {"<.var p = System.List.SettingList()\nvar o = System.List.List()\np.Obj = o\n"
         "?? (p.Obj == o) ~ p.Count()\np.Obj = \"t\"\n?? p.Obj ~ p.Count() ~ p.ToString(\";\").>",
         "True1\nt2Obj;Obj=t\n"},
        {"<.var p = System.List.SettingList()\np.LoadString(\"k=a b;c\")\nvar q = "
         "System.List.SettingList()\n"
         "q.Copy(p)\n?? q.GetValue(0) ~ q.Count().>",
         "a b;c1\n"},
        {"<.var p = System.List.SettingList()\np.x = 1\np.Save(\"%T%p.txt\")\nvar q = "
         "System.List.SettingList()\n"
         "q.LoadFile(\"%T%p.txt\")\n?? q.x.>",
         "1\n"},
        {"<.var p = System.List.SettingList()\n?? p.GetValue(0).>", "",
         "List index out of bounds (0)"},
        {"<.System.List.SettingList().Insert(1, \"a\", \"b\").>", "",
         "List index out of bounds (1)"},
        {"<.System.List.SettingList().Copy(1).>", "", "parameter error."},
        {"<.System.List.SettingList().Insert(0, 1).>", "", "no enough parameters."},
    });
}

TEST(CollectionScripts, PropertyReferencesNameTheListAndTheEntry) {
    TempFolder folder;
    const ScriptRun run =
        RunWithLibraries("<.var p = System.List.SettingList()\n?? p[\"@Name\"].>", folder.Path);
    ASSERT_EQ(run.Error, "");
    EXPECT_NE(run.Output.find(":Name\n"), std::string::npos) << run.Output;
    EXPECT_GT(std::stoull(run.Output), 0u);
}

} // namespace
} // namespace ozra::libs::testing
