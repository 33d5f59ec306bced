// String lists made by «System.List.StringList()», and the operations the
// string list and property list libraries share.
//
// A string list wraps one `TSettingList` that it owns. Strings compare by
// the list's case switch (off: A-Z match a-z). Scripts index it «s[i]» and
// assign «s[i] = x»; an index at or past the end reads and writes nothing,
// a negative one fails.
#pragma once

#include "libs/lib_support.h"
#include "runtime/lib_base.h"
#include "runtime/setting_list.h"

namespace ozra::libs {

class TObj_Impl_StringList final : public value::TtsObjectZero {
  public:
    TObj_Impl_StringList() : List(value::MakeRef<runtime::TSettingList>()) {}
    std::string_view ClassName() const override { return "TObj_Impl_StringList"; }

    value::Ref<runtime::TSettingList> List;

  protected:
    void TakeOwnedReferences(value::OwnedReferences& into) noexcept override {
        if (List) into.push_back(std::move(List));
    }
};

// «ToString([delimiter])»: line text, or delimited text with the first
// character of a non-empty delimiter.
std::string ListToString(const value::TStringListEx& list, const front::TtsExpressions* arguments);
// «LoadString(text [, delimiter])».
void ListLoadString(value::TStringListEx& list, const front::TtsExpressions* arguments);
// Writes the line text to the file; reads the file's line text.
void ListSaveFile(const value::TStringListEx& list, std::string_view path);
void ListLoadFile(value::TStringListEx& list, std::string_view path);

class TtsLibStringList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibStringList(runtime::TtsHost& host);

    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;
    void SetItem(value::TtsObject* object, const value::TtsValue& index,
                 const value::TtsValue& value, runtime::TtsResult& context) override;

    OZRA_LIB_METHOD(Add);
    OZRA_LIB_METHOD(Insert);
    OZRA_LIB_METHOD(IndexOf);
    OZRA_LIB_METHOD(Remove);
    OZRA_LIB_METHOD(Count);
    OZRA_LIB_METHOD(Clear);
    OZRA_LIB_METHOD(Sort);
    OZRA_LIB_METHOD(ToString);
    OZRA_LIB_METHOD(LoadString);
    OZRA_LIB_METHOD(Save);
    OZRA_LIB_METHOD(Load);
};

} // namespace ozra::libs
