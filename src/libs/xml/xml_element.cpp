// Look-ups on the simplified XML tree.
#include "libs/xml/xml_element.h"

#include <algorithm>

namespace ozra::xml {

namespace {

bool SameName(std::string_view a, std::string_view b) noexcept {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return fold(x) == fold(y);
    });
}

} // namespace

int XmlElement::Height() const {
    return TreeHeight(*this, [](const XmlElement& element, auto visit) {
        for (const XmlElement& child : element.Children)
            visit(child);
    });
}

const std::string* XmlElement::Attribute(std::string_view name) const noexcept {
    for (const XmlAttribute& attribute : Attributes) {
        if (SameName(attribute.Name, name)) return &attribute.Value;
    }
    return nullptr;
}

void XmlElement::SetAttribute(std::string_view name, std::string_view value) {
    for (XmlAttribute& attribute : Attributes) {
        if (SameName(attribute.Name, name)) {
            attribute.Value = value;
            return;
        }
    }
    Attributes.push_back({std::string(name), std::string(value)});
}

const XmlElement* XmlElement::Child(std::string_view name) const noexcept {
    for (const XmlElement& child : Children) {
        if (SameName(child.Name, name)) return &child;
    }
    return nullptr;
}

const XmlElement* XmlElement::Find(std::string_view path) const noexcept {
    const XmlElement* current = this;
    while (current) {
        const std::size_t slash = path.find('/');
        current = current->Child(path.substr(0, slash));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return current;
}

const XmlElement* XmlElement::Locate(std::string_view path) const {
    std::string normal(path);
    std::replace(normal.begin(), normal.end(), '\\', '/');
    std::string_view rest(normal);
    if (!rest.empty()) rest.remove_prefix(1);
    const std::size_t slash = rest.find('/');
    if (!SameName(rest.substr(0, slash), Name)) return nullptr;
    if (slash == std::string_view::npos) return this;
    return Find(rest.substr(slash + 1));
}

} // namespace ozra::xml
