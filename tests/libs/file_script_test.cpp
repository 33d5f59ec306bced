// The file and path libraries as scripts use them, each case in a
// temporary folder of its own.
#include "script_support.h"

#include <algorithm>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::libs::testing {
namespace {

TEST(FileScripts, WholeFileReadsAndWrites) {
    ExpectScriptCases({
        {"<.System.File.Save(\"%T%a.txt\", \"x\")\nSystem.File.Save(\"%T%a.txt\", \"y\")\n= "
         "System.File.Load(\"%T%a.txt\")\n"
         "System.File.Save(\"%T%a.txt\", \"z\", true)\n= System.File.Load(\"%T%a.txt\").>",
         "xz"},
        {"<.System.File.Append(\"%T%new\\dir\\b.txt\", "
         "\"1\")\nSystem.File.Append(\"%T%new/dir/b.txt\", \"2\")\n"
         "?? System.File.Load(\"%T%new/dir/b.txt\") ~ System.File.GetSize(\"%T%new/dir/b.txt\") ~ "
         "System.File.GetSize(\"%T%none\").>",
         "122\n"},
        {"<.System.File.Save(\"%T%e.txt\", \"\")\n?? \"[\" ~ System.File.Load(\"%T%e.txt\") ~ "
         "\"]\" ~ System.File.Exists(\"%T%e.txt\")"
         " ~ System.File.Exists(\"%T%\").>",
         "[]TrueFalse\n"},
        {"<.System.File.Load(\"%T%missing\").>", "",
         "Cannot open file \"%T%missing\". No such file or directory"},
        {"<.System.File.Save(\"C:\\out\\a.txt\", \"x\").>", "",
         "Windows drive and network paths are not supported: \"C:\\out\\a.txt\"."},
        {"<.System.File.Load().>", "", "no enough parameters."},
        {"<.System.File.Save(\"a\", \"b\", true, 1).>", "", "too many parameters."},
        {"<.System.File.GetTime(\"%T%none\").>", "", "Invalid argument to date encode"},
    });
}

TEST(FileScripts, StreamsWriteThroughAsTheyGo) {
    ExpectScriptCases({
        {"<.System.File.Save(\"%T%s.txt\", \"old\")\nvar s = "
         "System.File.Stream(\"%T%s.txt\")\n?? \"[\" ~ System.File.Load(\"%T%s.txt\") ~ \"]\"\n"
         "s.Write(\"a\")\n"
         "s.Write(\"\")\n?? System.File.Load(\"%T%s.txt\")\ns.Write(\"b\")\ns.Close()\ns.Close()\n"
         "var t = System.File.Stream(\"%T%s.txt\", \"APPEND\")\nt.Write(\"c\")\nt.Close()\n?? "
         "System.File.Load(\"%T%s.txt\").>",
         "[]\na\nabc\n"},
        // Text added to the file through another writer meanwhile is kept.
        {"<.var s = System.File.Stream(\"%T%s.txt\")\ns.Write(\"1\")\n"
         "System.File.Append(\"%T%s.txt\", \"2\")\n"
         "var t = System.File.Stream(\"%T%s.txt\", \"append\")\nt.Write(\"3\")\ns.Write(\"4\")\n"
         "s.Close()\nt.Close()\n?? System.File.Load(\"%T%s.txt\").>",
         "1234\n"},
        {"<.System.File.Stream(\"%T%none/s.txt\").>", "",
         "Cannot create file \"%T%none/s.txt\". No such file or directory"},
        {"<.var s = System.File.Stream(\"%T%s.txt\")\ns.Close()\ns.Write(\"x\").>", "",
         "File stream closed"},
        {"<.System.File.Stream(\"%T%s.txt\", \"write\").>", "", "Unknown file mode"},
        {"<.System.File.Stream(\"%T%none.txt\", \"append\").>", "",
         "Cannot open file \"%T%none.txt\". No such file or directory"},
    });
}

TEST(FileScripts, CopyMoveDeleteAndFind) {
    ExpectScriptCases({
        // Without overwrite an existing target stays and the copy answers
        // false, with no one asked.
        {"<.System.File.Save(\"%T%a.txt\", \"new\")\nSystem.File.Save(\"%T%b.txt\", \"old\")\n"
         "?? System.File.Copy(\"%T%a.txt\", \"%T%b.txt\") ~ System.File.Load(\"%T%b.txt\")\n"
         "?? System.File.Copy(\"%T%a.txt\", \"%T%b.txt\", true) ~ System.File.Load(\"%T%b.txt\")\n"
         "?? System.File.Copy(\"%T%*.txt\", \"%T%into\\deep\") ~ "
         "System.File.Exists(\"%T%into/deep/a.txt\")\n"
         "?? System.File.Move(\"%T%a.txt\", \"%T%c.txt\") ~ System.File.Move(\"%T%none\", \"%T%d\")"
         " ~ System.File.Delete(\"%T%c.txt\") ~ System.File.Delete(\"%T%c.txt\").>",
         "Falseold\nTruenew\nTrueTrue\nTrueFalseTrueFalse\n"},
        {"<.System.File.Save(\"%T%t/1.txt\", \"\")\nSystem.File.Save(\"%T%t/s/2.TXT\", "
         "\"\")\nSystem.File.Save(\"%T%t/s/x.md\", \"\")\n"
         "System.Path.CreatePath(\"%T%t/s/e.txt\")\n"
         "foreach (f in System.File.Find(\"%T%t\\*.txt\", \"F\", true))\n?? f\nend foreach\n"
         "foreach (f in System.File.Find(\"%T%t/*\", \"d\"))\n?? f\nend foreach.>",
         "%T%t/1.txt\n%T%t/s/2.TXT\n%T%t/s\n"},
    });
}

TEST(FileScripts, RecursiveFindDoesNotEnterLinkedFolders) {
    TempFolder folder;
    folder.Write("t/a.txt", "");
    ASSERT_EQ(::symlink((folder.Path + "t").c_str(), (folder.Path + "t/loop").c_str()), 0);
    const ScriptRun run = RunWithLibraries(
        "<.foreach (f in System.File.Find(\"%T%t/*\", \"DF\", true))\n?? f\nend foreach.>",
        folder.Path);
    EXPECT_EQ(run.Error, "");
    // Entries come in the order the file system lists them.
    std::vector<std::string> found;
    std::istringstream lines(run.Output);
    for (std::string line; std::getline(lines, line);)
        found.push_back(line);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{folder.Path + "t/a.txt", folder.Path + "t/loop"}));
}

TEST(FileScripts, TextOperations) {
    ExpectScriptCases({
        {"<.?? System.File.ExtractFileExt(\"C:\\a.b\\c\") ~ \"|\" ~ "
         "System.File.ExtractFileExt(\"x.tar.gz\") ~ \"|\""
         " ~ System.File.ExtractFileNameNoExt(\"C:\\dir\\name.ext\") ~ \"|\" ~ "
         "System.File.ChangeFileExt(\"a.txt\", \"\")"
         " ~ \"|\" ~ System.File.ExtractFilePath(\"a\\b\\c\") ~ \"|\" ~ "
         "System.File.ExtractFileDir(\"a\\b\\c\")"
         " ~ \"|\" ~ System.File.ExtractFileName(\"a\\b\\c\") ~ \"|\" ~ "
         "System.File.ExtractFileDrive(\"c:\\x\").>",
         "|.gz|name|a|a/b/|a/b|c|c:\n"},
        {"<.?? System.File.ExpandFileName(\"/a/./b/../c\").>", "/a/c\n"},
    });
}

TEST(FileScripts, StartingProgramsPassArgumentsAsAList) {
    TempFolder folder;
    folder.Write("p.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > out.txt\nexit 3\n");
    ::chmod((folder.Path + "p.sh").c_str(), 0755);
    const ScriptRun run = RunWithLibraries(
        "<.?? System.File.ExecuteWait(\"%T%p.sh\", 'one \"two words\" ;rm -rf x $(id)')"
        " ~ System.File.ExecuteWait(\"%T%none\").>",
        folder.Path);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "31\n");
    EXPECT_EQ(folder.Read("out.txt"), "one|two words|;rm|-rf|x|$(id)|");
}

TEST(PathScripts, FoldersAndWellKnownPaths) {
    TempFolder folder;
    const ScriptRun run = RunWithLibraries(
        "<.?? System.Path.CreatePath(\"%T%a\\b\") ~ System.Path.Exists(\"%T%a/b\") ~ "
        "System.Path.Delete(\"%T%a\")"
        " ~ System.Path.Delete(\"%T%a/b\") ~ System.Path.Exists(\"%T%a/b\")\n"
        "?? System.Path.ProjectPath() ~ \"|\" ~ System.Path.ExpandProjectPath(\"x\\y\") ~ \"|\" ~ "
        "System.Path.TargetPath()"
        " ~ \"|\" ~ System.Path.ExpandTargetPath(\"t\") ~ \"|\" ~ "
        "System.Path.ExpandSystemPath(\":\")"
        " ~ \"|\" ~ System.Path.ExpandSystemPath(\"plain\")\n"
        "?? (System.Path.ExpandSystemPath(\":Library\\x.ozra\") == System.Path.SystemLibraryPath() "
        "~ \"x.ozra\").>",
        folder.Path);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "TrueTrueFalseTrueFalse\n" + folder.Path + "|" + folder.Path +
                              "x/y||t|:|plain\nTrue\n");
}

} // namespace
} // namespace ozra::libs::testing
