// Every writer of files a script can reach, one row each, held to the same
// rules: a new file gets 0666 less the umask, a replaced file keeps its
// mode, a symbolic link is written through to the file it names, and on a
// full disk the write fails with a message naming the file and leaves the
// file as it was before that write.
#include "../support/file_size_limit.h"
#include "script_support.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ozra::libs::testing {
namespace {

struct Writer {
    const char* Name;
    // Writes "%X%" into the file "%F%".
    const char* Script;
    // The verb of the error a failed write raises.
    const char* FailureVerb;
    // A stream empties its file when it is made, so only what it wrote
    // before the failed write can stay.
    bool KeepsOldContent;
};

const Writer Writers[] = {
    {"file block", "<.file(\"\", true).><.target = \"%F%\".>%X%<.end file.>", "create", true},
    {"File.Save", "<.System.File.Save(\"%F%\", \"%X%\", true).>", "create", true},
    {"File.Append", "<.System.File.Append(\"%F%\", \"%X%\").>", "write", true},
    {"file stream", "<.var s = System.File.Stream(\"%F%\")\ns.Write(\"%X%\")\ns.Close().>", "write",
     false},
    {"string list", "<.var l = System.List.StringList()\nl.Add(\"%X%\")\nl.Save(\"%F%\").>",
     "create", true},
    {"property list",
     "<.var p = System.List.SettingList()\np.LoadString(\"k=%X%\")\np.Save(\"%F%\").>", "create",
     true},
    {"XML document",
     "<.var d = System.XML.Document(\"r\")\nvar r = d.Root()\nr.value = \"%X%\"\n"
     "d.SaveToFile(\"%F%\").>",
     "create", true},
    {"XML element",
     "<.var d = System.XML.Document(\"r\")\nvar n = d.Root().Nodes().Add(\"e\", \"%X%\")\n"
     "n.ToFile(\"%F%\").>",
     "create", true},
};

std::string Fill(std::string_view script, const std::string& file, const std::string& text) {
    std::string filled(script);
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"%F%", file},
                                     std::pair<std::string, std::string>{"%X%", text}}) {
        for (std::size_t at = filled.find(key); at != std::string::npos; at = filled.find(key, at))
            filled.replace(at, key.size(), value);
    }
    return filled;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

// The process's umask for the length of a scope.
class Umask {
  public:
    explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
    ~Umask() { ::umask(saved_); }

  private:
    mode_t saved_;
};

TEST(FileWriters, NewFilesGetTheUsualModeLessTheUmask) {
    for (const Writer& writer : Writers) {
        TempFolder folder;
        const std::string file = folder.Path + "new.txt";
        Umask strict(077);
        const ScriptRun run = RunWithLibraries(Fill(writer.Script, file, "x"), folder.Path);
        EXPECT_EQ(run.Error, "") << writer.Name;
        EXPECT_EQ(ModeOf(file) & 07777, 0600u) << writer.Name;
    }
}

TEST(FileWriters, ReplacedFilesKeepTheirMode) {
    for (const Writer& writer : Writers) {
        TempFolder folder;
        const std::string file = folder.Path + "tool.sh";
        folder.Write("tool.sh", "old");
        ASSERT_EQ(::chmod(file.c_str(), 0755), 0);
        const ScriptRun run = RunWithLibraries(Fill(writer.Script, file, "x"), folder.Path);
        EXPECT_EQ(run.Error, "") << writer.Name;
        EXPECT_EQ(ModeOf(file) & 07777, 0755u) << writer.Name;
    }
}

TEST(FileWriters, SymbolicLinksAreWrittenThrough) {
    for (const Writer& writer : Writers) {
        TempFolder folder;
        folder.Write("real/file.txt", "old");
        const std::string link = folder.Path + "link.txt";
        ASSERT_EQ(::symlink("real/file.txt", link.c_str()), 0);
        const ScriptRun run = RunWithLibraries(Fill(writer.Script, link, "new"), folder.Path);
        EXPECT_EQ(run.Error, "") << writer.Name;
        EXPECT_TRUE(S_ISLNK(ModeOf(link))) << writer.Name;
        EXPECT_NE(folder.Read("real/file.txt").find("new"), std::string::npos) << writer.Name;
    }
}

TEST(FileWriters, AFullDiskFailsNamingTheFileAndKeepsItsContent) {
    const std::string big(64 * 1024, 'x');
    for (const Writer& writer : Writers) {
        TempFolder folder;
        const std::string file = folder.Path + "kept.txt";
        folder.Write("kept.txt", "old");
        ScriptRun run;
        {
            FileSizeLimit full(16 * 1024);
            run = RunWithLibraries(Fill(writer.Script, file, big), folder.Path);
        }
        EXPECT_EQ(run.Error, std::string("Cannot ") + writer.FailureVerb + " file \"" + file +
                                 "\". File too large")
            << writer.Name;
        EXPECT_EQ(folder.Read("kept.txt"), writer.KeepsOldContent ? "old" : "") << writer.Name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path),
                                std::filesystem::directory_iterator()),
                  1)
            << writer.Name << ": a temporary file was left behind";
    }
}

} // namespace
} // namespace ozra::libs::testing
