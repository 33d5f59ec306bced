// Serving cached tables from memory and passing the rest on.
#include "data/local_cache.h"

#include "data/data_error.h"
#include "data/object_manager.h"

namespace ozra::data {

namespace {

// Sets a flag for the life of a scope, however the scope is left.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};

} // namespace

void TLocalCache::SetDataProvider(TDataProviderBase* provider) {
    inner_ = provider;
    if (inner_ && AssignedManager()) inner_->SetObjectManager(AssignedManager());
}

TDataProviderBase& TLocalCache::GetDataProvider() const {
    if (!inner_) throw EDataError("No data provider assigned to object manager");
    return *inner_;
}

void TLocalCache::SetObjectManager(TObjectManager* manager) {
    TDataProviderBase::SetObjectManager(manager);
    if (inner_) inner_->SetObjectManager(manager);
}

bool TLocalCache::IsCached(const TTableInfo& table) const {
    return table.CacheType() == 2;
}

TObjectSet* TLocalCache::CachedSet(TTableInfo& table) {
    if (!IsCached(table) || !cacheData_) return nullptr;
    return cacheData_->SetOf(table);
}

TObjectSpace& TLocalCache::Space(TSchemaInfo& schema) {
    if (!cacheData_) cacheData_ = MakeVe<TObjectSpace>(schema);
    return *cacheData_;
}

TObjectSet& TLocalCache::ReadSet(TTableInfo& table) {
    if (TObjectSet* set = CachedSet(table)) return *set;
    VeRef<TObjectSet> loaded;
    {
        FlagScope loading(loading_);
        loaded = GetDataProvider().LoadSet(table, {}, {});
    }
    Space(table.Schema()).Add(*loaded);
    return *loaded;
}

void TLocalCache::ClearCache(TTableInfo* table) {
    if (!cacheData_) return;
    if (table)
        cacheData_->Remove(*table);
    else
        cacheData_->Clear();
}

std::unique_ptr<TObjectReaderBase> TLocalCache::OpenByTemplate(TDataObject& templ, bool byKey,
                                                               const TFieldInfo* field) {
    TTableInfo& table = templ.TableInfo();
    if (!ServesFromCache(table)) return GetDataProvider().OpenByTemplate(templ, byKey, field);
    TObjectSet& set = ReadSet(table);
    if (!byKey) return std::make_unique<TObjectSetReader>(set.Select(templ), false);
    // By key: only the key as the template's row holds it counts.
    VeRef<TDataObject> key = ObjectManager().CreateObject(table);
    for (TFieldInfo& field : table.PrimaryKeyFields())
        key->Field(field).SetValue(templ.Field(field).StoredValue());
    return std::make_unique<TObjectSetReader>(set.Select(*key), false);
}

std::unique_ptr<TObjectReaderBase> TLocalCache::OpenTable(TTableInfo& table, std::string_view where,
                                                          const TSqlParams& params) {
    if (!where.empty() || !ServesFromCache(table))
        return GetDataProvider().OpenTable(table, where, params);
    return std::make_unique<TObjectSetReader>(RetainVe(&ReadSet(table)), false);
}

VeRef<TDataObject> TLocalCache::FindOne(TDataObject& templ) {
    TTableInfo& table = templ.TableInfo();
    if (!ServesFromCache(table)) return GetDataProvider().FindOne(templ);
    return RetainVe(ReadSet(table).FindFirst(templ));
}

VeRef<TDataObject> TLocalCache::FindFirst(TTableInfo& table, std::string_view where,
                                          const TSqlParams& params) {
    if (!where.empty() || !ServesFromCache(table))
        return GetDataProvider().FindFirst(table, where, params);
    TObjectSet& set = ReadSet(table);
    return set.Count() > 0 ? RetainVe(&set.Item(0)) : VeRef<TDataObject>();
}

void TLocalCache::Restamp(TTableInfo& table) {
    if (TObjectSet* set = CachedSet(table)) set->Stamp();
}

void TLocalCache::Save(TDataObject& object) {
    if (writeThrough_ && !updating_) GetDataProvider().Save(object);
    Restamp(object.TableInfo());
}

void TLocalCache::Delete(TDataObject& object) {
    if (writeThrough_ && !deleting_) GetDataProvider().Delete(object);
}

void TLocalCache::DeleteByExample(TDataObject& templ) {
    if (writeThrough_) GetDataProvider().DeleteByExample(templ);
    if (TObjectSet* set = CachedSet(templ.TableInfo())) {
        FlagScope deleting(deleting_);
        set->DeleteMatching(templ);
    }
}

void TLocalCache::UpdateByExample(TDataObject& templ, TDataObject& source) {
    if (writeThrough_) GetDataProvider().UpdateByExample(templ, source);
    TObjectSet* set = CachedSet(templ.TableInfo());
    if (!set) return;
    int matched;
    {
        FlagScope updating(updating_);
        matched = set->UpdateMatching(templ, source, true);
    }
    if (matched > 0) Restamp(templ.TableInfo());
}

void TLocalCache::ObjectCommitted(TDataObject& object) {
    if (writeThrough_) GetDataProvider().ObjectCommitted(object);
    const TObjectStateRecord& state = object.Internal().StateRecord();
    if (state.Base != TObjectStateCode::New || state.Current == TObjectStateCode::Deleted) return;
    if (TObjectSet* set = CachedSet(object.TableInfo())) set->Add(object);
}

bool TLocalCache::IsSetStale(TTableInfo& table, TObjectSet& set) {
    TObjectSet* cached = CachedSet(table);
    return cached && cached->Timestamp() > set.Timestamp();
}

TSqlBuilder& TLocalCache::GetOqlBuilder() {
    return inner_ ? inner_->GetOqlBuilder() : TDataProviderBase::GetOqlBuilder();
}

} // namespace ozra::data
