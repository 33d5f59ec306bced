// The project file (".ozraproj"): an XML document whose root "Project" holds
// "Files", "Configs" and "Description", in that order for a new project.
//
// Only "Files" is the environment's: one "file" element per member file,
// its text the path and its attribute "type" the role ("main", "code",
// "resource"), with an optional "syntax" attribute naming the highlighter.
// "Configs" (a run's options) and "Description" are carried through as
// loaded. A path inside the project file's folder is stored relative to it,
// any other as the full path.
#pragma once

#include "ide/core/unit_type.h"
#include "libs/xml/xml_element.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide {

struct ProjectFileEntry {
    // As written in the file.
    std::string Path;
    UnitType Type = UnitType::Other;
    std::string Syntax;
};

// The root with its three empty children.
xml::XmlElement NewProjectDocument();

// The "file" elements under "/project/files" (names matched ignoring case),
// in order; none when the document has no such element.
std::vector<ProjectFileEntry> ReadFileEntries(const xml::XmlElement& document);

// Replaces the children of "/project/files" (added when missing) by one
// "file" element per entry.
void WriteFileEntries(xml::XmlElement& document, const std::vector<ProjectFileEntry>& entries);

// The path to store for a file: relative when the full name starts with the
// project folder (byte for byte; the folder with its trailing "/").
std::string StoredPath(std::string_view fullName, std::string_view projectFolder);

// The document as the text of a project file.
std::string ProjectText(const xml::XmlElement& document);

} // namespace ozra::ide
