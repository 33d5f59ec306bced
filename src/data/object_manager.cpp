// The object manager: object creation, routing to the provider, and
// transactions.
#include "data/object_manager.h"

#include "data/data_error.h"

#include <algorithm>
#include <chrono>
#include <exception>

namespace ozra::data {

void TObjectManager::SetDataProvider(TDataProviderBase* provider) {
    provider_ = provider;
    if (provider_) provider_->SetObjectManager(this);
}

TDataProviderBase& TObjectManager::GetDataProvider() const {
    if (!provider_) throw EDataError("No data provider assigned to object manager");
    return *provider_;
}

VeRef<TDataObject> TObjectManager::CreateObject(TTableInfo& table) {
    TDataObjectClass dataObjectClass = table.DataObjectClass();
    return dataObjectClass ? dataObjectClass(*this, table) : TDataObject::Create(*this, table);
}

VeRef<TObjectSet> TObjectManager::CreateSet(TTableInfo& table) {
    return MakeVe<TObjectSet>(table, *this);
}

VeRef<TObjectSet> TObjectManager::LoadSet(TTableInfo& table) {
    return GetDataProvider().LoadSet(table, {}, {});
}

VeRef<TObjectSet> TObjectManager::LoadSet(TTableInfo& table, std::string_view where,
                                          const TSqlParams& params) {
    return GetDataProvider().LoadSet(table, where, params);
}

VeRef<TObjectSet> TObjectManager::LoadSet(TTableInfo& table, std::unique_ptr<TDataResult> result) {
    return GetDataProvider().LoadFromResult(table, std::move(result), false);
}

VeRef<TDataObject> TObjectManager::FindOne(TDataObject& templ) {
    return GetDataProvider().FindOne(templ);
}

VeRef<TObjectSet> TObjectManager::LoadChildren(TDataObject& templ) {
    return GetDataProvider().LoadChildren(templ);
}

bool TObjectManager::Refresh(TDataObject& object, const TFieldInfo* field) {
    std::unique_ptr<TObjectReaderBase> reader =
        GetDataProvider().OpenByTemplate(object, true, field);
    if (reader->Eof()) return false;
    reader->LoadObjects = field == nullptr;
    reader->Next(&object);
    return true;
}

void TObjectManager::SaveObject(TDataObject& object) {
    GetDataProvider().Save(object);
    if (InTransaction()) pendingObjects_.push_back(RetainVe(&object));
}

void TObjectManager::DeleteObject(TDataObject& object) {
    GetDataProvider().Delete(object);
    if (InTransaction()) pendingObjects_.push_back(RetainVe(&object));
}

void TObjectManager::ObjectCommitted(TDataObject& object) {
    GetDataProvider().ObjectCommitted(object);
}

bool TObjectManager::IsSetStale(TObjectSet& set) {
    return GetDataProvider().IsSetStale(set.Table(), set);
}

bool TObjectManager::InTransaction() const {
    return provider_ && provider_->InTransaction();
}

void TObjectManager::StartTransaction() {
    if (InTransaction()) {
        if (!AllowNestedTransaction) throw EDataError("Nested transaction not allowed");
        ++nesting_;
        return;
    }
    GetDataProvider().StartTransaction();
    nesting_ = 1;
}

void TObjectManager::Commit() {
    EndTransaction(true);
}

void TObjectManager::Rollback() {
    EndTransaction(false);
}

void TObjectManager::EndTransaction(bool commit) {
    if (!InTransaction()) throw EDataError("Not in transaction");
    nesting_ = std::max(0, nesting_ - 1);
    if (nesting_ > 0) return;
    // A provider whose commit fails has rolled back, so the objects roll
    // back too; either way the objects end as the database ends.
    std::exception_ptr failure;
    try {
        if (commit)
            provider_->Commit();
        else
            provider_->Rollback();
    } catch (...) {
        failure = std::current_exception();
        commit = false;
    }
    std::vector<VeRef<TDataObject>> objects = std::move(pendingObjects_);
    std::vector<VeRef<TObjectSet>> sets = std::move(pendingStamps_);
    pendingObjects_.clear();
    pendingStamps_.clear();
    for (auto object = objects.rbegin(); object != objects.rend(); ++object) {
        if (commit)
            (*object)->Commit();
        else
            (*object)->Rollback();
    }
    for (VeRef<TObjectSet>& set : sets)
        set->SetTimestamp(NextStamp());
    if (failure) std::rethrow_exception(failure);
}

int64_t TObjectManager::NextStamp() {
    auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
    lastStamp_ = std::max<int64_t>(now, lastStamp_ + 1);
    return lastStamp_;
}

void TObjectManager::StampSet(TObjectSet& set) {
    if (InTransaction())
        pendingStamps_.push_back(RetainVe(&set));
    else
        set.SetTimestamp(NextStamp());
}

} // namespace ozra::data
