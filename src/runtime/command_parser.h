// The options of a run, from the command line, the script's ".cfg" file and
// a project file's "Configs".
//
// An option is a word that starts with "-" or "/"; the letter after it is
// read in either case and the rest of the word is its value:
//   C  compile flag on, compile output file = the value as a full path
//   D  schema option             M  mode flag (MA: also the mode-all flag)
//   N  configuration "Namespace" P  configuration pairs «a=1,b=2;c=3»
//   S  configuration "SchemaName"
//   T  configuration "TargetPath", given a trailing "/" (an empty value is
//      ignored: it would otherwise put every target under the root folder)
//   V  ignored (packaged applications do not exist on this system)
//   X  schema file
// In a ".cfg" file a one-character line and an unknown letter are ignored,
// as stored files expect, and any other line names the script file unless
// one is set already.
//
// The runner's command line is stricter (apps/ozra/command_line.h): it
// decides which words are options, refuses unknown ones with
// `ClassifyOptionWord`, and hands this parser the script and the option
// words, each with its value joined.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::runtime {

class TGlobalData;

struct RunParameters {
    std::string SchemaFile;
    std::string SchemaOption;
    std::string NameSpace;
    std::string SchemaName;
    // The script folder, with a trailing "/".
    std::string TemplateFolder;
    bool CompileFlag = false;
    std::string CompileOutputFile;
    // With a trailing "/".
    std::string TargetFolder;
    bool ModeFlag = false;
    std::string ScriptFile;
    bool ModeAllFlag = false;
};

class TCommandParser {
  public:
    explicit TCommandParser(TGlobalData& global) noexcept : global_(global) {}

    // Reads the options of a run whose main script (or ".ozraproj" project)
    // is `scriptFile`, then the command-line words in order, and derives
    // the script folder, the target folder and "ExecFile". A project
    // without a main file raises "No main file in project.".
    RunParameters ReadParameters(const std::string& scriptFile,
                                 const std::vector<std::string>& commandLine);

    // One option word, or the script file when it is not an option.
    void ProcessWord(std::string_view word);

    const RunParameters& Parameters() const noexcept { return parameters_; }

  private:
    void LoadScript(const std::string& fileName);
    void ReadProject(const std::string& projectFile);
    void ReadConfigFile(const std::string& configFile);

    TGlobalData& global_;
    RunParameters parameters_;
};

// How a command line reads an option word ("-" or "/" and a letter).
enum class OptionWord {
    Unknown,   // no option has that letter, or a flag has more after it
    Complete,  // a flag (M, MA, V), or a value option with its value joined
    NeedsValue // a value option alone: its value is the next word
};
OptionWord ClassifyOptionWord(std::string_view word) noexcept;

// A full, normalised path for a name relative to the working folder.
std::string FullPath(std::string_view name);
// The folder of a path with a trailing "/" ("./" for a bare name).
std::string FolderOf(std::string_view path);

} // namespace ozra::runtime
