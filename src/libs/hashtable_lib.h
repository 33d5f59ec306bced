// Hash tables: (key, object) pairs made by «System.List.Hashtable()».
//
// Pairs are kept sorted by key, keys comparing ignoring the case of A-Z, so
// positions (`Find`, `GetKey`, `GetObject`) index the sorted order. An
// object used as a key stands for the decimal form of its identity. Adding
// a key that is present changes nothing.
#pragma once

#include "runtime/lib_base.h"
#include "value/object.h"

#include <string>
#include <vector>

namespace ozra::libs {

class TObj_Impl_Hashtable final : public value::TtsObjectZero {
  public:
    struct Pair {
        std::string Key;
        value::Ref<value::TtsObject> Object;
    };

    std::string_view ClassName() const override { return "TObj_Impl_Hashtable"; }

    // The position of the key, or the position where it would be inserted
    // as the bitwise complement (negative).
    int Search(std::string_view key) const noexcept;
    // Stores the pair unless the key exists; answers its position.
    int Add(std::string key, value::Ref<value::TtsObject> object);

    std::vector<Pair> Pairs;

  protected:
    // A table may hold a table that holds a table...: see value/object.h.
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override {
        for (Pair& pair : Pairs)
            into.Add(std::move(pair.Object));
    }
};

class TtsLibHashtable final : public runtime::TtsLibBase {
  public:
    explicit TtsLibHashtable(runtime::TtsHost& host);

  private:
    void Add(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Del(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Get(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Find(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Has(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void GetKey(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void GetObject(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Count(runtime::LibCall& call, TObj_Impl_Hashtable& table);
    void Clear(runtime::LibCall& call, TObj_Impl_Hashtable& table);
};

} // namespace ozra::libs
