// String lists made by «System.List.StringList()», and the operations the
// string list and property list libraries share.
//
// A string list wraps one `TSettingList` that it owns. Strings compare by
// the list's case switch (off: A-Z match a-z). Scripts index it «s[i]» and
// assign «s[i] = x»; an index at or past the end reads and writes nothing,
// a negative one fails.
#pragma once

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
        into.Add(std::move(List));
    }
};

// «ToString([delimiter])»: line text, or delimited text with the first
// character of a non-empty delimiter.
std::string ListToString(const value::TStringListEx& list, const runtime::LibCall& call);
// «LoadString(text [, delimiter])».
void ListLoadString(value::TStringListEx& list, const runtime::LibCall& call);
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

  private:
    void Add(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Insert(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void IndexOf(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Remove(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Count(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Clear(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Sort(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void ToString(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void LoadString(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Save(runtime::LibCall& call, TObj_Impl_StringList& strings);
    void Load(runtime::LibCall& call, TObj_Impl_StringList& strings);
};

} // namespace ozra::libs
