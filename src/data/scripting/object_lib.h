// Object spaces, object sets and data objects as scripts use them.
//
// An object space answers property reads only: a table alias gives that
// table's set. An object set is indexed by position (past the end gives no
// result, which ends a foreach), answers Count, sorts itself by
// «orderby»/«reverseby» + "@"-separated field names, and finds, selects or
// creates members by named field arguments («FindBy(Name = "x")»). A data
// object reads its fields, its parent and its child sets as properties by
// alias, parent name and child name, and writes its fields.
#pragma once

#include "data/object_set.h"
#include "data/scripting/data_lib.h"
#include "runtime/lib_base.h"

namespace ozra::data::scripting {

class TObj_Lib_ObjectSpace final : public runtime::TtsLibBase {
  public:
    explicit TObj_Lib_ObjectSpace(runtime::TtsHost& host);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;
    bool DispatchesByName(runtime::DispatchKind kind) const noexcept override {
        return kind != runtime::DispatchKind::PropertyGet;
    }
};

class TObj_Lib_ObjectSet final : public runtime::TtsLibBase {
  public:
    explicit TObj_Lib_ObjectSet(runtime::TtsHost& host);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;
    bool DispatchesByName(runtime::DispatchKind kind) const noexcept override {
        return kind != runtime::DispatchKind::PropertyGet;
    }

  private:
    void Count(runtime::LibCall& call, TObjectSet& set);
    void FindBy(runtime::LibCall& call, TObjectSet& set);
    void GetSubSet(runtime::LibCall& call, TObjectSet& set);
    void New(runtime::LibCall& call, TObjectSet& set);
    void OrderBy(runtime::LibCall& call, TObjectSet& set);
    void ReverseBy(runtime::LibCall& call, TObjectSet& set);
};

class TObj_Lib_DataObject final : public runtime::TtsLibBase {
  public:
    explicit TObj_Lib_DataObject(runtime::TtsHost& host);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    void SetProperty(value::TtsObject* object, std::string_view name, const value::TtsValue& value,
                     runtime::TtsResult& context) override;
    bool DispatchesByName(runtime::DispatchKind kind) const noexcept override {
        return kind != runtime::DispatchKind::PropertyGet;
    }

  private:
    void Assign(runtime::LibCall& call, TDataObject& object);
    void Save(runtime::LibCall& call, TDataObject& object);
    void Delete(runtime::LibCall& call, TDataObject& object);
    void Reset(runtime::LibCall& call, TDataObject& object);
    void Refresh(runtime::LibCall& call, TDataObject& object);
};

} // namespace ozra::data::scripting
