// The interface through which the object manager reaches stored data, and
// the behaviour every data provider shares.
//
// A provider answers the manager's requests: read objects like a template or
// by a condition, write and delete objects, and report the transaction
// state. Readers are the common currency: a provider opens one for a
// template or a table, and the shared operations (find one, load a set)
// are built on them. Sets and objects a provider returns belong to the
// caller.
#pragma once

#include "data/data_object.h"
#include "data/data_result.h"
#include "data/object_reader.h"
#include "data/object_set.h"
#include "data/sql_param.h"

#include <memory>
#include <string_view>

namespace ozra::data {

class TObjectManager;
class TSqlBuilder;

class TDataProviderBase {
  public:
    virtual ~TDataProviderBase() = default;

    virtual void StartTransaction() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() = 0;
    // Forgets cached data of one table, or of every table (null).
    virtual void ClearCache(TTableInfo* table) {}

    virtual void SetObjectManager(TObjectManager* manager) { manager_ = manager; }
    // Raises "No object manager assigned to data provider" when none is set.
    TObjectManager& ObjectManager() const;

    // Objects like a template: by example (its Modified fields), or by its
    // key; with a field given, only that field's column by key.
    virtual std::unique_ptr<TObjectReaderBase> OpenByTemplate(TDataObject& templ, bool byKey,
                                                              const TFieldInfo* field) = 0;
    // The rows of a table; a where-text, when given, is the whole statement.
    virtual std::unique_ptr<TObjectReaderBase> OpenTable(TTableInfo& table, std::string_view where,
                                                         const TSqlParams& params) = 0;
    virtual std::unique_ptr<TObjectReaderBase>
    CreateReader(TTableInfo& table, std::unique_ptr<TDataResult> result, bool byAlias);

    virtual VeRef<TDataObject> FindOne(TDataObject& templ);
    virtual VeRef<TDataObject> FindByField(const TFieldInfo& field, value::TtsValue value);
    virtual VeRef<TDataObject> FindFirst(TTableInfo& table, std::string_view where,
                                         const TSqlParams& params);
    virtual VeRef<TObjectSet> LoadChildren(TDataObject& templ);
    virtual VeRef<TObjectSet> LoadByField(const TFieldInfo& field, value::TtsValue value);
    virtual VeRef<TObjectSet> LoadSet(TTableInfo& table, std::string_view where,
                                      const TSqlParams& params);
    virtual VeRef<TObjectSet> LoadFromResult(TTableInfo& table, std::unique_ptr<TDataResult> result,
                                             bool byAlias);

    // Inserts a new object (its identity field receives the generated
    // value) or updates a stored one.
    virtual void Save(TDataObject& object) = 0;
    virtual void Delete(TDataObject& object) = 0;
    virtual void DeleteByExample(TDataObject& templ) = 0;
    virtual void UpdateByExample(TDataObject& templ, TDataObject& source) = 0;
    // Called when an object's writes are committed.
    virtual void ObjectCommitted(TDataObject& object) {}
    // Whether a newer copy of the table's data than the set exists.
    virtual bool IsSetStale(TTableInfo& table, TObjectSet& set) { return false; }
    // The builder that renders queries for this provider; raises "Oql not
    // supports by data provider" unless the provider talks SQL.
    virtual TSqlBuilder& GetOqlBuilder();

  protected:
    VeRef<TObjectSet> ReadAll(TTableInfo& table, TObjectReaderBase& reader);
    // The manager, or null when none is set.
    TObjectManager* AssignedManager() const { return manager_; }

  private:
    TObjectManager* manager_ = nullptr;
};

} // namespace ozra::data
