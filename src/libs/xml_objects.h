// The XML objects scripts hold: documents, elements and child lists.
//
// A document owns its root element (always present, created without a
// name). An element owns its child list, and the list holds a counted
// reference to each child; a child knows its parent and its position by
// plain pointers that the parent clears when it goes, so a script can keep
// an element after its document is gone. Attributes are a property list
// (`Props`); `Attrs` is a second property list scripts use freely, never
// loaded or saved.
//
// A tree never grows deeper than `xml::MaxDepth` levels, whichever way
// elements are added (`Add`, loading into an element, `Copy`), so that the
// code walking it (saving, copying, freeing) cannot run out of stack; an
// addition that would go deeper fails with «XML nested more than 1000
// levels deep.» and changes nothing.
//
// Loading parses the whole text into the plain tree of libs/xml first and
// changes the target element only when that succeeded. It then replaces
// the element's children, takes the document element's name, its value
// when it has one and its attributes (other existing attributes stay).
// `CopyFrom` makes an exact copy instead: name, value, attributes and
// children, nothing left over from before.
#pragma once

#include "libs/xml/xml_element.h"
#include "runtime/setting_list.h"
#include "value/object.h"
#include "value/value.h"

#include <string>
#include <vector>

namespace ozra::libs {

class TObj_Impl_XmlNodeList;

class TObj_Impl_XmlNode final : public value::TtsObjectZero {
  public:
    TObj_Impl_XmlNode();
    ~TObj_Impl_XmlNode() override;

    std::string_view ClassName() const override { return "TObj_Impl_XmlNode"; }

    TObj_Impl_XmlNodeList& Nodes() const noexcept { return *children_; }
    TObj_Impl_XmlNode* Parent() const noexcept { return parent_; }
    int Index() const noexcept { return index_; }
    int Level() const noexcept;
    // The number of levels of this element's subtree (1 without children).
    int Height() const;
    // «/root/a/b»
    std::string Path() const;
    // The topmost ancestor (the document's root while attached).
    const TObj_Impl_XmlNode& Top() const noexcept;
    // No name and no children.
    bool IsEmpty() const noexcept;

    // The descendant at a relative path «a/b/c», names ignoring case.
    TObj_Impl_XmlNode* Find(std::string_view path) const;
    // The first child whose attribute equals the value (ignoring case);
    // with `deep`, then the same search below each child in turn.
    TObj_Impl_XmlNode* FindByProp(std::string_view property, std::string_view value,
                                  bool deep) const;
    // Removes this element from its parent; its children are released.
    void Delete();

    void LoadElement(const xml::XmlElement& element);
    xml::XmlElement ToElement() const;
    void CopyFrom(const TObj_Impl_XmlNode& source);
    // Replaces the attributes with copies of the other element's.
    void CopyValueFrom(const TObj_Impl_XmlNode& source);

    // For the data-binding layer.
    std::string GetProp(std::string_view name) const;
    void SetProp(std::string_view name, std::string_view value);
    void SetName(std::string_view name) { Name = name; }
    void SetValue(std::string_view value) { Value = value::TtsValue::FromText(value); }

    std::string Name;
    // Empty when the element has no value.
    value::TtsValue Value;
    value::Ref<runtime::TSettingList> Props;
    value::Ref<runtime::TSettingList> Attrs;

  protected:
    // Attributes may hold objects, and those objects documents: see
    // value/object.h.
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override;

  private:
    friend class TObj_Impl_XmlNodeList;

    // Children and the list may outlive this element in script variables.
    void DetachChildren() noexcept;

    value::Ref<TObj_Impl_XmlNodeList> children_;
    TObj_Impl_XmlNode* parent_ = nullptr;
    int index_ = 0;
};

class TObj_Impl_XmlNodeList final : public value::TtsObjectZero {
  public:
    explicit TObj_Impl_XmlNodeList(TObj_Impl_XmlNode* owner) noexcept : owner_(owner) {}
    ~TObj_Impl_XmlNodeList() override;

    std::string_view ClassName() const override { return "TObj_Impl_XmlNodeList"; }

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    TObj_Impl_XmlNode* Item(int index) const {
        return items_.at(static_cast<std::size_t>(index)).Get();
    }

    // Appends a new element with that name.
    TObj_Impl_XmlNode& Add(std::string name);
    // Appends an element, taking it from its old parent.
    void Append(value::Ref<TObj_Impl_XmlNode> node);
    // Removes the child at the index, which keeps its own children; the
    // following children move up.
    value::Ref<TObj_Impl_XmlNode> Take(int index);
    // Removes the child at the index and releases its children.
    void Delete(int index);
    void Clear() noexcept;

  protected:
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override;

  private:
    friend class TObj_Impl_XmlNode;

    std::vector<value::Ref<TObj_Impl_XmlNode>> items_;
    TObj_Impl_XmlNode* owner_;
};

class TObj_Impl_XmlDocument final : public value::TtsObjectZero {
  public:
    TObj_Impl_XmlDocument() : Root(value::MakeRef<TObj_Impl_XmlNode>()) {}

    std::string_view ClassName() const override { return "TObj_Impl_XmlDocument"; }

    // The element at an absolute path «/root/a» ("\" also separates).
    TObj_Impl_XmlNode* Locate(std::string_view path) const;

    value::Ref<TObj_Impl_XmlNode> Root;

  protected:
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override {
        into.Add(std::move(Root));
    }
};

// Parses the text (or the file) and loads it into the element; raises
// `EtsRuntime` with the parser's or the file's message, leaving the element
// unchanged.
void LoadXmlText(TObj_Impl_XmlNode& into, std::string_view text);
void LoadXmlFileInto(TObj_Impl_XmlNode& into, std::string_view path);
// The XML text of the subtree of `element`: with a declaration when the
// top element is not empty and (for a file, always) an encoding is named.
std::string SaveXmlText(const TObj_Impl_XmlNode& element, std::string_view encoding);
void SaveXmlFileFrom(const TObj_Impl_XmlNode& element, std::string_view path,
                     std::string_view encoding);

} // namespace ozra::libs
