// The XML provider: a database of one XML file, held in memory.
//
// Every table is cached and every table has a set (an empty one until
// objects join it); nothing is written until SaveToFile, which replaces the
// file whole (a temporary file renamed over it), so a failed save leaves
// the old file. A new object of a table with an identity field gets the
// next number: one more than the largest in the table when the table is
// first numbered, then one more each time, for the life of the provider
// (reloading the file does not reset the counters). Queries with a
// where-text are not supported: they raise the table's alias followed by
// " not found". Transactions only set and clear a flag.
#pragma once

#include "data/local_cache.h"

#include <cstdint>
#include <map>
#include <string>

namespace ozra::data {

class TXmlProvider : public TLocalCache {
  public:
    TXmlProvider() : TLocalCache(false) {}

    std::string FileName;

    bool IsCached(const TTableInfo&) const override { return true; }
    // Creates and keeps an empty set for a table that has none.
    TObjectSet* CachedSet(TTableInfo& table) override;

    void StartTransaction() override { inTransaction_ = true; }
    void Commit() override { inTransaction_ = false; }
    void Rollback() override { inTransaction_ = false; }
    bool InTransaction() override { return inTransaction_; }

    std::unique_ptr<TObjectReaderBase> OpenTable(TTableInfo& table, std::string_view where,
                                                 const TSqlParams& params) override;
    VeRef<TDataObject> FindFirst(TTableInfo& table, std::string_view where,
                                 const TSqlParams& params) override;
    void Save(TDataObject& object) override;
    TSqlBuilder& GetOqlBuilder() override { return TDataProviderBase::GetOqlBuilder(); }

    // Replaces the data with the file's, read over the schema.
    void LoadFromFile(TSchemaInfo& schema);
    // Replaces the data with the sets of a space whose objects this
    // provider's manager made.
    void Assign(VeRef<TObjectSpace> space) { ReplaceCacheData(std::move(space)); }
    void SaveToFile();

  private:
    int64_t NextIdentity(TTableInfo& table, const TFieldInfo& field);

    std::map<std::string, int64_t> identities_;
    bool inTransaction_ = false;
};

} // namespace ozra::data
