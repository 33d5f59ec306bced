// The XML objects of scripts and their conversion to and from the plain
// tree that libs/xml parses and writes.
#include "libs/xml_objects.h"

#include "libs/xml/xml_document.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/names.h"

namespace ozra::libs {

using runtime::TSettingList;
using value::EtsRuntime;
using value::MakeRef;
using value::Ref;
using value::TtsValue;

namespace {

std::string_view LineName(std::string_view line) {
    return line.substr(0, line.find('='));
}

void CopyLines(const TSettingList& from, TSettingList& to) {
    std::vector<std::string> lines;
    for (int i = 0; i < from.Count(); ++i)
        lines.push_back(from.Strings(i));
    to.Clear();
    for (std::string& line : lines)
        to.Add(std::move(line));
}

// Raises the depth error unless an element at `level` can take content of
// `height` levels.
void CheckRoom(int level, int height) {
    if (level + height > xml::MaxDepth) throw EtsRuntime(xml::TooDeepMessage());
}

Ref<TObj_Impl_XmlNode> Clone(const TObj_Impl_XmlNode& source) {
    auto copy = MakeRef<TObj_Impl_XmlNode>();
    copy->Name = source.Name;
    copy->Value = source.Value;
    CopyLines(*source.Props, *copy->Props);
    for (int i = 0; i < source.Nodes().Count(); ++i)
        copy->Nodes().Append(Clone(*source.Nodes().Item(i)));
    return copy;
}

// The XML tree's own errors (malformed text, a name that cannot be
// written) reach scripts as runtime errors.
template <class Action> auto WithXmlErrors(Action action) {
    try {
        return action();
    } catch (const xml::XmlError& error) {
        throw EtsRuntime(error.what());
    }
}

} // namespace

TObj_Impl_XmlNode::TObj_Impl_XmlNode()
    : Props(MakeRef<TSettingList>()), Attrs(MakeRef<TSettingList>()),
      children_(MakeRef<TObj_Impl_XmlNodeList>(this)) {}

TObj_Impl_XmlNode::~TObj_Impl_XmlNode() {
    DetachChildren();
}

void TObj_Impl_XmlNode::DetachChildren() noexcept {
    if (!children_) return;
    children_->owner_ = nullptr;
    for (const auto& child : children_->items_)
        child->parent_ = nullptr;
}

void TObj_Impl_XmlNode::TakeOwnedReferences(value::OwnedReferences& into) noexcept {
    DetachChildren();
    into.Add(std::move(children_));
    into.Add(std::move(Props));
    into.Add(std::move(Attrs));
}

int TObj_Impl_XmlNode::Level() const noexcept {
    int level = 0;
    for (const TObj_Impl_XmlNode* node = parent_; node; node = node->parent_)
        ++level;
    return level;
}

int TObj_Impl_XmlNode::Height() const {
    return xml::TreeHeight(*this, [](const TObj_Impl_XmlNode& node, auto visit) {
        for (const auto& child : node.children_->items_)
            visit(*child);
    });
}

std::string TObj_Impl_XmlNode::Path() const {
    std::vector<const std::string*> names;
    for (const TObj_Impl_XmlNode* node = this; node; node = node->parent_)
        names.push_back(&node->Name);
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        path += '/';
        path += **name;
    }
    return path;
}

const TObj_Impl_XmlNode& TObj_Impl_XmlNode::Top() const noexcept {
    const TObj_Impl_XmlNode* node = this;
    while (node->parent_)
        node = node->parent_;
    return *node;
}

bool TObj_Impl_XmlNode::IsEmpty() const noexcept {
    return Name.empty() && children_->Count() == 0;
}

TObj_Impl_XmlNode* TObj_Impl_XmlNode::Find(std::string_view path) const {
    const TObj_Impl_XmlNode* current = this;
    while (true) {
        const std::size_t slash = path.find('/');
        const std::string_view segment = path.substr(0, slash);
        const TObj_Impl_XmlNode* next = nullptr;
        for (const auto& child : current->children_->items_) {
            if (value::NamesEqual(child->Name, segment)) {
                next = child.Get();
                break;
            }
        }
        if (!next) return nullptr;
        if (slash == std::string_view::npos) return const_cast<TObj_Impl_XmlNode*>(next);
        current = next;
        path.remove_prefix(slash + 1);
    }
}

TObj_Impl_XmlNode* TObj_Impl_XmlNode::FindByProp(std::string_view property, std::string_view value,
                                                 bool deep) const {
    for (const auto& child : children_->items_) {
        const int line = child->Props->IndexOfName(property);
        if (line >= 0 && value::NamesEqual(child->Props->ValueAt(line), value)) return child.Get();
    }
    if (!deep) return nullptr;
    for (const auto& child : children_->items_) {
        if (TObj_Impl_XmlNode* found = child->FindByProp(property, value, true)) return found;
    }
    return nullptr;
}

void TObj_Impl_XmlNode::Delete() {
    if (parent_) parent_->children_->Delete(index_);
}

void TObj_Impl_XmlNode::LoadElement(const xml::XmlElement& element) {
    children_->Clear();
    Name = element.Name;
    if (element.Value) Value = TtsValue::FromText(*element.Value);
    for (const xml::XmlAttribute& attribute : element.Attributes)
        Props->SetValue(attribute.Name, attribute.Value);
    for (const xml::XmlElement& child : element.Children) {
        auto node = MakeRef<TObj_Impl_XmlNode>();
        node->LoadElement(child);
        children_->Append(std::move(node));
    }
}

xml::XmlElement TObj_Impl_XmlNode::ToElement() const {
    xml::XmlElement element;
    element.Name = Name;
    if (Value.Kind() != value::ValueKind::Empty) element.Value = value::ToText(Value);
    for (int i = 0; i < Props->Count(); ++i) {
        const std::string_view value = Props->ValueAt(i);
        if (!value.empty())
            element.Attributes.push_back(
                {std::string(LineName(Props->Strings(i))), std::string(value)});
    }
    for (const auto& child : children_->items_) {
        if (!child->IsEmpty()) element.Children.push_back(child->ToElement());
    }
    return element;
}

void TObj_Impl_XmlNode::CopyFrom(const TObj_Impl_XmlNode& source) {
    CheckRoom(Level(), source.Height());
    // The copy is taken whole before anything here changes, so copying an
    // ancestor or a descendant of this element is safe.
    const Ref<TObj_Impl_XmlNode> copy = Clone(source);
    children_->Clear();
    Name = copy->Name;
    Value = copy->Value;
    CopyLines(*copy->Props, *Props);
    while (copy->Nodes().Count() > 0)
        children_->Append(Ref<TObj_Impl_XmlNode>::Retain(copy->Nodes().Item(0)));
}

void TObj_Impl_XmlNode::CopyValueFrom(const TObj_Impl_XmlNode& source) {
    CopyLines(*source.Props, *Props);
}

std::string TObj_Impl_XmlNode::GetProp(std::string_view name) const {
    return Props->Value(name);
}

void TObj_Impl_XmlNode::SetProp(std::string_view name, std::string_view value) {
    Props->SetValue(name, value);
}

TObj_Impl_XmlNodeList::~TObj_Impl_XmlNodeList() {
    for (const auto& child : items_)
        child->parent_ = nullptr;
}

void TObj_Impl_XmlNodeList::TakeOwnedReferences(value::OwnedReferences& into) noexcept {
    for (auto& child : items_) {
        child->parent_ = nullptr;
        into.Add(std::move(child));
    }
    items_.clear();
}

TObj_Impl_XmlNode& TObj_Impl_XmlNodeList::Add(std::string name) {
    if (owner_) CheckRoom(owner_->Level() + 1, 1);
    auto node = MakeRef<TObj_Impl_XmlNode>();
    node->Name = std::move(name);
    TObj_Impl_XmlNode& added = *node;
    Append(std::move(node));
    return added;
}

void TObj_Impl_XmlNodeList::Append(Ref<TObj_Impl_XmlNode> node) {
    if (node->parent_) node = node->parent_->children_->Take(node->index_);
    node->parent_ = owner_;
    node->index_ = Count();
    items_.push_back(std::move(node));
}

Ref<TObj_Impl_XmlNode> TObj_Impl_XmlNodeList::Take(int index) {
    if (index < 0 || index >= Count()) throw EtsRuntime::ListIndexError(index);
    Ref<TObj_Impl_XmlNode> removed = std::move(items_[static_cast<std::size_t>(index)]);
    items_.erase(items_.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < items_.size(); ++i)
        items_[i]->index_ = static_cast<int>(i);
    removed->parent_ = nullptr;
    removed->index_ = 0;
    return removed;
}

void TObj_Impl_XmlNodeList::Delete(int index) {
    Take(index)->children_->Clear();
}

void TObj_Impl_XmlNodeList::Clear() noexcept {
    std::vector<Ref<TObj_Impl_XmlNode>> released;
    released.swap(items_);
    for (const auto& child : released)
        child->parent_ = nullptr;
}

TObj_Impl_XmlNode* TObj_Impl_XmlDocument::Locate(std::string_view path) const {
    std::string normal = platform::SlashPath(path);
    std::string_view rest(normal);
    if (!rest.empty()) rest.remove_prefix(1);
    const std::size_t slash = rest.find('/');
    if (!value::NamesEqual(rest.substr(0, slash), Root->Name)) return nullptr;
    if (slash == std::string_view::npos) return Root.Get();
    return Root->Find(rest.substr(slash + 1));
}

void LoadXmlText(TObj_Impl_XmlNode& into, std::string_view text) {
    const xml::XmlElement element = WithXmlErrors([&] { return xml::ParseXml(text); });
    CheckRoom(into.Level(), element.Height());
    into.LoadElement(element);
}

void LoadXmlFileInto(TObj_Impl_XmlNode& into, std::string_view path) {
    const std::string checked = platform::CheckedPath(path);
    const xml::XmlElement element = WithXmlErrors([&] { return xml::LoadXmlFile(checked); });
    CheckRoom(into.Level(), element.Height());
    into.LoadElement(element);
}

std::string SaveXmlText(const TObj_Impl_XmlNode& element, std::string_view encoding) {
    xml::XmlWriteOptions options;
    options.Declaration = !element.Top().IsEmpty() && !encoding.empty();
    options.Encoding = encoding;
    if (element.IsEmpty()) return {};
    return WithXmlErrors([&] { return xml::WriteXml(element.ToElement(), options); });
}

void SaveXmlFileFrom(const TObj_Impl_XmlNode& element, std::string_view path,
                     std::string_view encoding) {
    const std::string checked = platform::CheckedPath(path);
    xml::XmlWriteOptions options;
    options.Declaration = !element.Top().IsEmpty();
    options.Encoding = encoding;
    const std::string text = element.IsEmpty() ? std::string() : WithXmlErrors([&] {
        return xml::WriteXml(element.ToElement(), options);
    });
    platform::ReplaceWholeFile(checked, text);
}

} // namespace ozra::libs
