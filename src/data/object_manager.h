// The object manager creates data objects and routes every load, save and
// delete to its data provider.
//
// Transactions: StartTransaction opens one through the provider (a nested
// start raises the nesting count when AllowNestedTransaction is set, and is
// refused otherwise). While it is open, objects that are saved or deleted
// are not committed at once; the manager remembers them and, when the
// outermost Commit or Rollback runs, commits or rolls them back in reverse
// order, and gives the sets stamped meanwhile their new stamps. A commit
// the provider refuses rolls the objects back before the error goes on.
// Without an open transaction every save and delete commits at once.
#pragma once

#include "data/data_object.h"
#include "data/data_provider.h"
#include "data/object_set.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ozra::data {

class TObjectManager {
  public:
    TObjectManager() = default;
    TObjectManager(const TObjectManager&) = delete;
    TObjectManager& operator=(const TObjectManager&) = delete;

    bool AllowNestedTransaction = false;

    // Not owned; the provider is given this manager.
    void SetDataProvider(TDataProviderBase* provider);
    TDataProviderBase* DataProvider() const { return provider_; }
    // Raises "No data provider assigned to object manager" when none is set.
    TDataProviderBase& GetDataProvider() const;

    // A new object of the table, every field New and empty.
    VeRef<TDataObject> CreateObject(TTableInfo& table);
    VeRef<TObjectSet> CreateSet(TTableInfo& table);

    VeRef<TObjectSet> LoadSet(TTableInfo& table);
    VeRef<TObjectSet> LoadSet(TTableInfo& table, std::string_view where,
                              const TSqlParams& params = {});
    VeRef<TObjectSet> LoadSet(TTableInfo& table, std::unique_ptr<TDataResult> result);
    VeRef<TDataObject> FindOne(TDataObject& templ);
    VeRef<TObjectSet> LoadChildren(TDataObject& templ);
    // Reloads the object, or one field of it, by primary key; false when the
    // row no longer exists. A one-field reload leaves the object's state
    // alone.
    bool Refresh(TDataObject& object, const TFieldInfo* field = nullptr);

    void SaveObject(TDataObject& object);
    void DeleteObject(TDataObject& object);
    void ObjectCommitted(TDataObject& object);
    bool IsSetStale(TObjectSet& set);

    bool InTransaction() const;
    void StartTransaction();
    // Raise "Not in transaction" when the provider reports none open.
    void Commit();
    void Rollback();

    // A stamp later than every stamp this manager gave before.
    int64_t NextStamp();
    // Stamps the set now, or when the open transaction commits.
    void StampSet(TObjectSet& set);

  private:
    void EndTransaction(bool commit);

    TDataProviderBase* provider_ = nullptr;
    int nesting_ = 0;
    int64_t lastStamp_ = 0;
    std::vector<VeRef<TDataObject>> pendingObjects_;
    std::vector<VeRef<TObjectSet>> pendingStamps_;
};

} // namespace ozra::data
