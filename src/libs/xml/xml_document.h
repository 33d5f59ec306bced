// Reading XML text into the simplified tree and writing the tree back, on
// pugixml.
//
// Loading keeps, for every element: its name, its text when the element is
// text-only (a single text or CDATA child), every attribute with a
// non-empty value, and its element children in document order. Input is
// UTF-8 bytes whatever encoding a declaration names (scripts and files are
// byte strings); UTF-16 and UTF-32 with a byte-order mark are converted to
// UTF-8. Malformed text raises `XmlError` with the parser's description and
// the line and column where it stopped.
//
// Writing produces UTF-8 text indented by two spaces per level, one element
// per line. The declaration, when asked for, is «<?xml version="1.0"?>» with
// the encoding attribute when an encoding is named; the encoding name is
// only a label, the bytes stay as they are. Empty elements (no name, no
// children) and attributes with an empty value are skipped. A name that is
// not a well-formed XML name is refused rather than written as text that
// could never be read back.
//
// Nesting deeper than `MaxDepth` levels is refused on both roads, so
// hostile input cannot exhaust the stack of code that walks the tree.
#pragma once

#include "libs/xml/xml_element.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace ozra::xml {

class XmlError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr int MaxDepth = 1000;
// «XML nested more than 1000 levels deep.»
std::string TooDeepMessage();

// The document element of the text.
XmlElement ParseXml(std::string_view text);
// The document element of the file; file errors are those of
// platform/whole_file.h, parse errors name the file.
XmlElement LoadXmlFile(const std::string& path);

struct XmlWriteOptions {
    bool Declaration = false;
    // The declaration's encoding label; none when empty.
    std::string Encoding;
};

std::string WriteXml(const XmlElement& element, const XmlWriteOptions& options);
// Writes the element as a document with a declaration, replacing the file
// only when the whole text is written.
void SaveXmlFile(const std::string& path, const XmlElement& element, std::string_view encoding);

// True when the text is a well-formed XML name (ASCII rules; bytes of
// 0x80 and above are accepted as name characters).
bool IsXmlName(std::string_view name) noexcept;

} // namespace ozra::xml
