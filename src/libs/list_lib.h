// The collection factory, reached as «System.List»: it makes simple lists,
// hash tables, string lists and property lists.
#pragma once

#include "runtime/lib_base.h"

namespace ozra::libs {

class TSys_Impl_List final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_List"; }
};

class TtsLibList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibList(runtime::TtsHost& host);

  private:
    // A new, empty collection.
    template <class Collection> void Make(runtime::LibCall& call);
};

} // namespace ozra::libs
