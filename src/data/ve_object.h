// The base of every object of the data layer and the counted pointer that
// holds it.
//
// A TVeObject is a runtime object whose count starts at 0, so a data object
// or an object set can travel in a script value like any other object, and
// it lives exactly as long as counted references to it exist. Owning lists
// (the parts of a schema, the sets of an object space, the members of a set)
// are holders of counted references: an object that a script or a query
// still holds outlives its owner's clear instead of dangling.
#pragma once

#include "value/object.h"

#include <stdexcept>
#include <string_view>
#include <utility>

namespace ozra::data {

class TVeObject : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TVeObject"; }
};

template <class T> using VeRef = value::Ref<T>;

// Creates a counted object and returns the first reference to it.
template <class T, class... Args> VeRef<T> MakeVe(Args&&... args) {
    return value::MakeRef<T>(std::forward<Args>(args)...);
}

// A new counted reference to an object someone else already holds.
template <class T> VeRef<T> RetainVe(T* object) {
    return VeRef<T>::Retain(object);
}

// Creates an object whose constructor hands it to its owner (a table adds
// itself to its schema, a field to its table) and returns it by reference;
// the owner's reference keeps it alive.
template <class T, class... Args> T& NewOwned(Args&&... args) {
    VeRef<T> created = MakeVe<T>(std::forward<Args>(args)...);
    if (created->RefCount() < 2) throw std::logic_error("object was not taken by its owner");
    return *created;
}

} // namespace ozra::data
