// The system's simplified XML tree.
//
// An element has a name, at most one text value and a list of attributes;
// comments, processing instructions and the text of mixed content are not
// kept. This is the shape the script library shows to scripts and the shape
// the environment reads its project and configuration files into, so it
// depends on nothing but the standard library (parsing and writing are in
// xml_document.h, on pugixml).
//
// Element and attribute names compare ignoring the letter case of A-Z, as
// every name the system looks up does.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::xml {

// The number of levels of a tree (1 for a lone node), for any tree whose
// nodes hand their children to `eachChild(node, visit)`; walked with a stack
// of its own.
template <class Node, class EachChild> int TreeHeight(const Node& root, EachChild eachChild) {
    struct Pending {
        const Node* At;
        int Level;
    };
    int height = 0;
    std::vector<Pending> stack{{&root, 1}};
    while (!stack.empty()) {
        const Pending next = stack.back();
        stack.pop_back();
        height = std::max(height, next.Level);
        eachChild(*next.At, [&](const Node& child) { stack.push_back({&child, next.Level + 1}); });
    }
    return height;
}

struct XmlAttribute {
    std::string Name;
    std::string Value;
};

struct XmlElement {
    std::string Name;
    // The text of a text-only element; none when the element has no text.
    std::optional<std::string> Value;
    std::vector<XmlAttribute> Attributes;
    std::vector<XmlElement> Children;

    // An element without a name and without children is not written.
    bool IsEmpty() const noexcept { return Name.empty() && Children.empty(); }
    // The number of levels of the subtree: 1 for an element without
    // children.
    int Height() const;

    // The value of the named attribute, or nullptr.
    const std::string* Attribute(std::string_view name) const noexcept;
    // Sets the attribute, adding it at the end when absent.
    void SetAttribute(std::string_view name, std::string_view value);

    // The first child of that name, or nullptr.
    const XmlElement* Child(std::string_view name) const noexcept;
    // The descendant at a relative path «a/b/c» (first match at each
    // level), or nullptr.
    const XmlElement* Find(std::string_view path) const noexcept;
    // The element at an absolute path «/root/a/b» ("\" also separates)
    // when this element is the root, or nullptr.
    const XmlElement* Locate(std::string_view path) const;
};

} // namespace ozra::xml
