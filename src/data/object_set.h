// Object sets: ordered collections of data objects of one table, and the
// object space that holds one set per table.
//
// A set holds a counted reference to each member and registers itself in the
// member's list of sets, so a committed delete can take the object out of
// every set it is in. Adding an object that is already a member keeps the one
// entry. Each set carries a stamp from its manager, renewed when the data it
// mirrors changes, so a newer copy of a table can be told from an older one.
#pragma once

#include "data/data_object.h"
#include "data/schema_info.h"
#include "data/ve_list.h"
#include "data/ve_object.h"

#include <cstdint>

namespace ozra::data {

class TObjectManager;
class TQueryCondition;
class TOrderBy;

class TObjectSet : public TVeObject {
  public:
    TObjectSet(TTableInfo& table, TObjectManager& manager);
    ~TObjectSet() override;

    // The class that serves object sets to scripts is registered under this
    // name.
    std::string_view ClassName() const override { return "TObjectSetBase"; }

    TTableInfo& Table() const { return *table_; }
    TObjectManager& Manager() const { return *manager_; }

    // Adds at the end; an object already present stays where it is. Returns
    // its position. An object of another table raises "Object type not
    // equal".
    int Add(TDataObject& object);
    // Inserts at a position; ignored when the object is already present.
    void Insert(int index, TDataObject& object);
    void Delete(int index);
    void Remove(TDataObject& object);
    void Clear();
    int Count() const { return members_.Count(); }
    // Raises "Index out of range" outside 0 .. Count-1.
    TDataObject& Item(int index) const { return members_.Item(index); }
    int IndexOf(const TDataObject& object) const { return members_.IndexOf(object); }
    bool Contains(const TDataObject& object) const { return members_.Contains(object); }

    // A new set of the same table and manager holding the same objects.
    VeRef<TObjectSet> Copy() const;
    void AddAll(const TObjectSet& other);

    // Query by example: the template's Modified fields must match.
    TDataObject* FindFirst(TDataObject& templ) const;
    VeRef<TObjectSet> Select(TDataObject& templ) const;
    // Assigns the source's Modified fields to every matching member (and
    // saves each when asked); returns how many matched.
    int UpdateMatching(TDataObject& templ, TDataObject& source, bool save);
    // Deletes every matching member, last to first; returns how many.
    int DeleteMatching(TDataObject& templ);

    // Query by condition (evaluated in memory).
    int CountWhere(const TQueryCondition& condition) const;
    TDataObject* FirstWhere(const TQueryCondition& condition) const;
    VeRef<TObjectSet> SubSet(const TQueryCondition& condition) const;
    // Sorts the members in place, keeping the order of equal ones.
    void Sort(const TOrderBy& order);

    int64_t Timestamp() const { return timestamp_; }
    // Renews the stamp (now, or at commit while a transaction is open).
    void Stamp();
    void SetTimestamp(int64_t stamp) { timestamp_ = stamp; }

    TVeList<TDataObject>::Iterator begin() const { return members_.begin(); }
    TVeList<TDataObject>::Iterator end() const { return members_.end(); }

  private:
    TTableInfo* table_;
    TObjectManager* manager_;
    TVeList<TDataObject> members_{TVeListFlags::OwnsObjects};
    int64_t timestamp_;
};

// One object set per table of a schema.
class TObjectSpace : public TVeObject {
  public:
    explicit TObjectSpace(TSchemaInfo& schema) : schema_(&schema) {}

    std::string_view ClassName() const override { return "TObjectSpace"; }

    TSchemaInfo& Schema() const { return *schema_; }
    // Stores the set under its table; a set already held for that table is
    // replaced in its position.
    void Add(TObjectSet& set);
    void Clear() { sets_.Clear(); }
    int Count() const { return sets_.Count(); }
    TObjectSet& Item(int index) const { return sets_.Item(index); }
    // Position of the table's set, or -1.
    int IndexOf(const TTableInfo& table) const { return sets_.IndexOfKey(&table); }
    // The table's set, or null.
    TObjectSet* SetOf(const TTableInfo& table) const;
    void Remove(const TTableInfo& table);

  private:
    TSchemaInfo* schema_;
    TVeList<TObjectSet> sets_{TVeListFlags::OwnsObjects};
};

} // namespace ozra::data
