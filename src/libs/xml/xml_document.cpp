// The simplified tree to and from pugixml documents. Both directions walk
// the tree with an explicit stack, so their depth is bounded by `MaxDepth`
// and not by the thread's stack.
#include "libs/xml/xml_document.h"

#include "platform/whole_file.h"

#include <pugixml.hpp>

#include <vector>

namespace ozra::xml {

namespace {

// UTF-16 and UTF-32 are recognised by a byte-order mark or by the zero
// bytes of a leading "<"; anything else is taken as UTF-8 bytes.
pugi::xml_encoding InputEncoding(std::string_view text) noexcept {
    if (text.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(text[0]);
        const auto b1 = static_cast<unsigned char>(text[1]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE) || b0 == 0 || b1 == 0)
            return pugi::encoding_auto;
    }
    return pugi::encoding_utf8;
}

std::string ParseErrorMessage(const pugi::xml_parse_result& result, std::string_view text) {
    int line = 1;
    int column = 1;
    const auto end = static_cast<std::size_t>(result.offset);
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::string(result.description()) + " at line " + std::to_string(line) + ", column " +
           std::to_string(column) + ".";
}

bool IsTextOnly(pugi::xml_node node) noexcept {
    const pugi::xml_node first = node.first_child();
    return first && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata) &&
           !first.next_sibling();
}

void CopyElement(pugi::xml_node from, XmlElement& to) {
    to.Name = from.name();
    if (IsTextOnly(from)) to.Value = from.first_child().value();
    std::size_t attributes = 0;
    for (pugi::xml_attribute attribute : from.attributes())
        attributes += *attribute.value() != 0;
    to.Attributes.reserve(attributes);
    for (pugi::xml_attribute attribute : from.attributes()) {
        if (*attribute.value()) to.Attributes.push_back({attribute.name(), attribute.value()});
    }
    std::size_t elements = 0;
    for (pugi::xml_node child : from.children())
        elements += child.type() == pugi::node_element;
    to.Children.resize(elements);
}

XmlElement FromDom(pugi::xml_node root) {
    struct Pending {
        pugi::xml_node From;
        XmlElement* To;
        int Depth;
    };
    XmlElement result;
    // Each element's children vector is sized once before any of them is
    // visited, so the pointers kept on the stack stay valid.
    std::vector<Pending> stack{{root, &result, 1}};
    while (!stack.empty()) {
        Pending next = stack.back();
        stack.pop_back();
        if (next.Depth > MaxDepth) throw XmlError(TooDeepMessage());
        CopyElement(next.From, *next.To);
        std::size_t index = next.To->Children.size();
        for (pugi::xml_node child = next.From.last_child(); child;
             child = child.previous_sibling()) {
            if (child.type() != pugi::node_element) continue;
            stack.push_back({child, &next.To->Children[--index], next.Depth + 1});
        }
    }
    return result;
}

bool IsNameStart(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

void CheckName(const std::string& name, const char* what) {
    if (!IsXmlName(name)) {
        throw XmlError(name.empty()
                           ? std::string("XML ") + what + " without a name."
                           : std::string("Invalid XML ") + what + " name \"" + name + "\".");
    }
}

void BuildDom(const XmlElement& root, pugi::xml_node document) {
    struct Pending {
        const XmlElement* From;
        pugi::xml_node Parent;
        int Depth;
    };
    std::vector<Pending> stack{{&root, document, 1}};
    while (!stack.empty()) {
        Pending next = stack.back();
        stack.pop_back();
        const XmlElement& from = *next.From;
        if (from.IsEmpty()) continue;
        if (next.Depth > MaxDepth) throw XmlError(TooDeepMessage());
        CheckName(from.Name, "element");
        pugi::xml_node node = next.Parent.append_child(pugi::node_element);
        node.set_name(from.Name.c_str());
        if (from.Value) node.append_child(pugi::node_pcdata).set_value(from.Value->c_str());
        for (const XmlAttribute& attribute : from.Attributes) {
            if (attribute.Value.empty()) continue;
            CheckName(attribute.Name, "attribute");
            node.append_attribute(attribute.Name.c_str()).set_value(attribute.Value.c_str());
        }
        for (auto child = from.Children.rbegin(); child != from.Children.rend(); ++child)
            stack.push_back({&*child, node, next.Depth + 1});
    }
}

class StringWriter final : public pugi::xml_writer {
  public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, std::size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

  private:
    std::string& out_;
};

} // namespace

std::string TooDeepMessage() {
    return "XML nested more than " + std::to_string(MaxDepth) + " levels deep.";
}

bool IsXmlName(std::string_view name) noexcept {
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name.substr(1)) {
        const auto u = static_cast<unsigned char>(c);
        if (!IsNameStart(u) && !(u >= '0' && u <= '9') && u != '-' && u != '.') return false;
    }
    return true;
}

XmlElement ParseXml(std::string_view text) {
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, InputEncoding(text));
    if (!result) throw XmlError(ParseErrorMessage(result, text));
    return FromDom(document.document_element());
}

XmlElement LoadXmlFile(const std::string& path) {
    const std::string text = platform::ReadWholeFile(path);
    try {
        return ParseXml(text);
    } catch (const XmlError& error) {
        throw XmlError("File \"" + path + "\": " + error.what());
    }
}

std::string WriteXml(const XmlElement& element, const XmlWriteOptions& options) {
    pugi::xml_document document;
    if (options.Declaration) {
        pugi::xml_node declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version").set_value("1.0");
        if (!options.Encoding.empty())
            declaration.append_attribute("encoding").set_value(options.Encoding.c_str());
    }
    BuildDom(element, document);
    std::string text;
    StringWriter writer(text);
    document.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    return text;
}

void SaveXmlFile(const std::string& path, const XmlElement& element, std::string_view encoding) {
    XmlWriteOptions options;
    options.Declaration = true;
    options.Encoding = encoding;
    platform::ReplaceWholeFile(path, WriteXml(element, options));
}

} // namespace ozra::xml
