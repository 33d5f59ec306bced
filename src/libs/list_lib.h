// The collection factory, reached as «System.List»: it makes simple lists,
// hash tables, string lists and property lists.
#pragma once

#include "libs/lib_support.h"
#include "runtime/lib_base.h"

namespace ozra::libs {

class TSys_Impl_List final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_List"; }
};

class TtsLibList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibList(runtime::TtsHost& host);

    OZRA_LIB_METHOD(List);
    OZRA_LIB_METHOD(Hashtable);
    OZRA_LIB_METHOD(StringList);
    OZRA_LIB_METHOD(SettingList);
};

} // namespace ozra::libs
