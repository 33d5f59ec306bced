// Reading a run's options and parameters.
#include "runtime/command_parser.h"

#include "runtime/global_data.h"
#include "value/errors.h"
#include "value/names.h"

#include <filesystem>
#include <fstream>
#include <pugixml.hpp>

namespace ozra::runtime {

using namespace value;

namespace fs = std::filesystem;

namespace {

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

bool HasExtension(std::string_view file, std::string_view extension) {
    return file.size() >= extension.size() &&
           NamesEqual(file.substr(file.size() - extension.size()), extension);
}

pugi::xml_node ChildIgnoringCase(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && NamesEqual(child.name(), name)) return child;
    }
    return {};
}

} // namespace

std::string FullPath(std::string_view name) {
    std::error_code ignored;
    fs::path path = fs::absolute(fs::path(name), ignored);
    return path.lexically_normal().string();
}

std::string FolderOf(std::string_view path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string("./") : WithTrailingSlash(folder.string());
}

RunParameters TCommandParser::ReadParameters(const std::string& scriptFile,
                                             const std::vector<std::string>& commandLine) {
    LoadScript(scriptFile);
    for (const std::string& word : commandLine)
        ProcessWord(word);

    TSettingList& configuration = global_.Configuration();
    global_.ScriptFolder = FolderOf(parameters_.ScriptFile);
    if (configuration.Value("TargetPath").empty())
        configuration.SetValue("TargetPath", global_.ScriptFolder + "Output/");
    configuration.SetValue("TargetPath", WithTrailingSlash(configuration.Value("TargetPath")));
    configuration.SetValue("ExecFile", parameters_.ScriptFile);

    parameters_.SchemaFile = global_.SchemaFile;
    parameters_.SchemaOption = global_.SchemaOption;
    parameters_.NameSpace = configuration.Value("Namespace");
    parameters_.SchemaName = configuration.Value("SchemaName");
    parameters_.TemplateFolder = global_.ScriptFolder;
    parameters_.TargetFolder = configuration.Value("TargetPath");
    return parameters_;
}

OptionWord ClassifyOptionWord(std::string_view word) noexcept {
    if (word.size() < 2 || (word.front() != '-' && word.front() != '/')) return OptionWord::Unknown;
    const std::string_view rest = word.substr(2);
    switch (FoldAscii(static_cast<unsigned char>(word[1]))) {
    case 'c':
    case 'd':
    case 'n':
    case 'p':
    case 's':
    case 't':
    case 'x':
        return rest.empty() ? OptionWord::NeedsValue : OptionWord::Complete;
    case 'm':
        return rest.empty() || rest == "A" || rest == "a" ? OptionWord::Complete
                                                          : OptionWord::Unknown;
    case 'v':
        return rest.empty() ? OptionWord::Complete : OptionWord::Unknown;
    default:
        return OptionWord::Unknown;
    }
}

void TCommandParser::ProcessWord(std::string_view word) {
    if (word.size() == 1) return;
    if (word.empty() || (word.front() != '-' && word.front() != '/')) {
        if (parameters_.ScriptFile.empty() && !word.empty()) LoadScript(std::string(word));
        return;
    }
    const char letter = static_cast<char>(FoldAscii(static_cast<unsigned char>(word[1])));
    const std::string value(word.substr(2));
    TSettingList& configuration = global_.Configuration();
    switch (letter) {
    case 'c':
        parameters_.CompileFlag = true;
        parameters_.CompileOutputFile = FullPath(value);
        break;
    case 'd':
        global_.SchemaOption = value;
        break;
    case 'm':
        parameters_.ModeFlag = true;
        if (word.size() > 2 && FoldAscii(static_cast<unsigned char>(word[2])) == 'a')
            parameters_.ModeAllFlag = true;
        break;
    case 'n':
        configuration.SetValue("Namespace", value);
        break;
    case 'p': {
        std::size_t start = 0;
        while (start <= value.size()) {
            const std::size_t end = value.find_first_of(",;", start);
            const std::size_t stop = end == std::string::npos ? value.size() : end;
            configuration.AddPair(std::string_view(value).substr(start, stop - start));
            start = stop + 1;
        }
        break;
    }
    case 's':
        configuration.SetValue("SchemaName", value);
        break;
    case 't':
        if (!value.empty()) configuration.SetValue("TargetPath", WithTrailingSlash(value));
        break;
    case 'x':
        global_.SchemaFile = value;
        break;
    default:
        break;
    }
}

void TCommandParser::LoadScript(const std::string& fileName) {
    parameters_.ScriptFile = FullPath(fileName);
    if (HasExtension(parameters_.ScriptFile, ".ozraproj")) ReadProject(parameters_.ScriptFile);
    ReadConfigFile(fs::path(parameters_.ScriptFile).replace_extension(".cfg").string());
}

void TCommandParser::ReadProject(const std::string& projectFile) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(projectFile.c_str());
    if (!parsed) {
        throw EtsRuntime("Cannot read project file \"" + projectFile +
                         "\": " + parsed.description());
    }
    const pugi::xml_node project = ChildIgnoringCase(document, "project");
    std::string mainFile;
    for (pugi::xml_node file : ChildIgnoringCase(project, "files").children()) {
        if (file.type() == pugi::node_element &&
            NamesEqual(file.attribute("type").value(), "main")) {
            mainFile = file.text().get();
            break;
        }
    }
    if (mainFile.empty()) throw EtsRuntime("No main file in project.");
    for (pugi::xml_node entry : ChildIgnoringCase(project, "Configs").children()) {
        if (entry.type() == pugi::node_element)
            global_.Configuration().SetValue(entry.name(), entry.text().get());
    }
    for (char& c : mainFile) {
        if (c == '\\') c = '/';
    }
    const fs::path main(mainFile);
    parameters_.ScriptFile = main.is_absolute()
                                 ? FullPath(mainFile)
                                 : FullPath((fs::path(projectFile).parent_path() / main).string());
}

void TCommandParser::ReadConfigFile(const std::string& configFile) {
    std::ifstream in(configFile);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (!line.empty()) ProcessWord(line);
    }
}

} // namespace ozra::runtime
