// Reading and writing the file list of a project document.
#include "ide/core/project_file.h"

#include "libs/xml/xml_document.h"
#include "value/names.h"

namespace ozra::ide {

namespace {

xml::XmlElement* ChildNamed(xml::XmlElement& parent, std::string_view name) {
    for (xml::XmlElement& child : parent.Children)
        if (value::NamesEqual(child.Name, name)) return &child;
    return nullptr;
}

} // namespace

xml::XmlElement NewProjectDocument() {
    xml::XmlElement root{"Project", {}, {}, {}};
    for (const char* part : {"Files", "Configs", "Description"})
        root.Children.push_back(xml::XmlElement{part, {}, {}, {}});
    return root;
}

std::vector<ProjectFileEntry> ReadFileEntries(const xml::XmlElement& document) {
    std::vector<ProjectFileEntry> entries;
    const xml::XmlElement* files = document.Locate("/project/files");
    if (!files) return entries;
    for (const xml::XmlElement& file : files->Children) {
        if (!value::NamesEqual(file.Name, "file")) continue;
        const std::string* type = file.Attribute("type");
        const std::string* syntax = file.Attribute("syntax");
        entries.push_back(ProjectFileEntry{file.Value.value_or(std::string()),
                                           type ? UnitTypeFromName(*type) : UnitType::Other,
                                           syntax ? *syntax : std::string()});
    }
    return entries;
}

void WriteFileEntries(xml::XmlElement& document, const std::vector<ProjectFileEntry>& entries) {
    xml::XmlElement* files = ChildNamed(document, "files");
    if (!files) {
        document.Children.insert(document.Children.begin(), xml::XmlElement{"Files", {}, {}, {}});
        files = &document.Children.front();
    }
    files->Children.clear();
    files->Value.reset();
    for (const ProjectFileEntry& entry : entries) {
        xml::XmlElement file{"file", entry.Path, {}, {}};
        file.SetAttribute("type", UnitTypeName(entry.Type));
        files->Children.push_back(std::move(file));
    }
}

std::string StoredPath(std::string_view fullName, std::string_view projectFolder) {
    if (!projectFolder.empty() && fullName.starts_with(projectFolder))
        return std::string(fullName.substr(projectFolder.size()));
    return std::string(fullName);
}

std::string ProjectText(const xml::XmlElement& document) {
    return xml::WriteXml(document, xml::XmlWriteOptions{true, {}});
}

} // namespace ozra::ide
