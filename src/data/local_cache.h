// The local cache: a data provider in front of another that keeps whole
// tables in memory.
//
// A table whose CacheType is 2 is read from the inner provider once, on
// first use, and kept as one object set in the cache's object space; reads
// of it are then answered from that set (the objects handed out are the
// cached ones), other tables pass straight through. Writes go through to
// the inner provider and re-stamp the table's cached set, so sets loaded
// earlier can tell they are stale; a new object joins its cached set when
// its insert commits. While the cache loads a table it sends every read to
// the inner provider, and while it deletes or updates cached objects by
// example it does not pass their single deletes and saves on a second time.
//
// TXmlProvider builds on it with every table cached and nothing behind it.
#pragma once

#include "data/data_provider.h"
#include "data/object_set.h"

namespace ozra::data {

class TLocalCache : public TDataProviderBase {
  public:
    TLocalCache() = default;

    // Not owned; the provider is given this cache's object manager.
    void SetDataProvider(TDataProviderBase* provider);
    TDataProviderBase* DataProvider() const { return inner_; }
    // Raises "No data provider assigned to object manager" when none is set.
    TDataProviderBase& GetDataProvider() const;
    void SetObjectManager(TObjectManager* manager) override;

    // The cached sets; null until a table has been cached.
    TObjectSpace* CacheData() const { return cacheData_.Get(); }
    virtual bool IsCached(const TTableInfo& table) const;
    // The table's cached set, or null when the table is not cached or not
    // loaded yet.
    virtual TObjectSet* CachedSet(TTableInfo& table);

    void StartTransaction() override { GetDataProvider().StartTransaction(); }
    void Commit() override { GetDataProvider().Commit(); }
    void Rollback() override { GetDataProvider().Rollback(); }
    bool InTransaction() override { return GetDataProvider().InTransaction(); }
    // Forgets one table's set, or every set.
    void ClearCache(TTableInfo* table) override;

    std::unique_ptr<TObjectReaderBase> OpenByTemplate(TDataObject& templ, bool byKey,
                                                      const TFieldInfo* field) override;
    std::unique_ptr<TObjectReaderBase> OpenTable(TTableInfo& table, std::string_view where,
                                                 const TSqlParams& params) override;
    VeRef<TDataObject> FindOne(TDataObject& templ) override;
    VeRef<TDataObject> FindFirst(TTableInfo& table, std::string_view where,
                                 const TSqlParams& params) override;

    void Save(TDataObject& object) override;
    void Delete(TDataObject& object) override;
    void DeleteByExample(TDataObject& templ) override;
    void UpdateByExample(TDataObject& templ, TDataObject& source) override;
    void ObjectCommitted(TDataObject& object) override;
    bool IsSetStale(TTableInfo& table, TObjectSet& set) override;
    // The inner provider's builder: queries go to the database behind.
    TSqlBuilder& GetOqlBuilder() override;

  protected:
    explicit TLocalCache(bool writeThrough) : writeThrough_(writeThrough) {}

    // The table's set for reading: loaded from the inner provider on first
    // use.
    TObjectSet& ReadSet(TTableInfo& table);
    // Whether reads of the table are answered from the cache now.
    bool ServesFromCache(const TTableInfo& table) const { return !loading_ && IsCached(table); }
    TObjectSpace& Space(TSchemaInfo& schema);
    void ReplaceCacheData(VeRef<TObjectSpace> space) { cacheData_ = std::move(space); }
    // Stamps the table's cached set as changed (at commit in a transaction).
    void Restamp(TTableInfo& table);

  private:
    TDataProviderBase* inner_ = nullptr;
    VeRef<TObjectSpace> cacheData_;
    bool writeThrough_ = true;
    bool loading_ = false;
    bool deleting_ = false;
    bool updating_ = false;
};

} // namespace ozra::data
