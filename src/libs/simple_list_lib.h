// Simple lists: ordered object references made by «System.List.List()».
//
// The list holds a counted reference to each element; a value that is not
// an object is stored as a null reference. Scripts index it «l[i]» and
// assign «l[i] = x»; an index at or past the end reads nothing and writes
// nothing, a negative one fails.
#pragma once

#include "runtime/lib_base.h"
#include "value/object.h"

#include <vector>

namespace ozra::libs {

class TObj_Impl_SimpleList final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TObj_Impl_SimpleList"; }

    std::vector<value::Ref<value::TtsObject>> Items;

  protected:
    // A list may hold a list that holds a list...: see value/object.h.
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override {
        for (auto& item : Items)
            into.Add(std::move(item));
    }
};

class TtsLibSimpleList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibSimpleList(runtime::TtsHost& host);

    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;
    void SetItem(value::TtsObject* object, const value::TtsValue& index,
                 const value::TtsValue& value, runtime::TtsResult& context) override;

  private:
    void Add(runtime::LibCall& call, TObj_Impl_SimpleList& list);
    void IndexOf(runtime::LibCall& call, TObj_Impl_SimpleList& list);
    void Remove(runtime::LibCall& call, TObj_Impl_SimpleList& list);
    void Count(runtime::LibCall& call, TObj_Impl_SimpleList& list);
    void Clear(runtime::LibCall& call, TObj_Impl_SimpleList& list);
};

} // namespace ozra::libs
