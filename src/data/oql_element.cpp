// The element tree: ownership of children and cloning.
#include "data/oql_element.h"

#include "data/data_error.h"

namespace ozra::data {

std::unique_ptr<TOqlElement> TOqlElement::Clone() const {
    std::unique_ptr<TOqlElement> copy = CloneSelf();
    for (const auto& child : children_)
        copy->AddChild(child->Clone());
    return copy;
}

TOqlElement& TOqlElement::AddChild(std::unique_ptr<TOqlElement> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return *children_.back();
}

TOqlElement& TOqlElement::InsertChild(int index, std::unique_ptr<TOqlElement> child) {
    if (index < 0 || index > static_cast<int>(children_.size()))
        throw EDataError("Index out of range");
    child->parent_ = this;
    return **children_.insert(children_.begin() + index, std::move(child));
}

std::unique_ptr<TOqlElement> TOqlElement::ReplaceChild(TOqlElement& child,
                                                       std::unique_ptr<TOqlElement> replacement) {
    int index = child.IndexInParent();
    if (child.parent_ != this || index < 0)
        throw EDataError("Oql element is not a child of this element");
    replacement->parent_ = this;
    std::unique_ptr<TOqlElement> old = std::move(children_[index]);
    children_[index] = std::move(replacement);
    old->parent_ = nullptr;
    return old;
}

int TOqlElement::IndexInParent() const {
    if (!parent_) return -1;
    for (size_t i = 0; i < parent_->children_.size(); ++i)
        if (parent_->children_[i].get() == this) return static_cast<int>(i);
    return -1;
}

} // namespace ozra::data
