// Sequential sources of data objects for the providers: TObjectReader reads
// the rows of a database result, TObjectSetReader walks an object set.
//
// Reading a row into an object places each value it finds with InitValue
// followed by the field's Load, so the field becomes Committed; then, unless
// the reader is told not to, the object's Load makes the whole object
// Committed. A lazy field whose column is missing gets an empty value in
// state New (it loads on first read), except an edited one when the object
// is not loaded as a whole; other missing fields are left alone.
#pragma once

#include "data/data_object.h"
#include "data/data_result.h"
#include "data/object_set.h"

#include <memory>
#include <vector>

namespace ozra::data {

class TObjectManager;

class TObjectReaderBase {
  public:
    virtual ~TObjectReaderBase() = default;

    virtual bool Eof() const = 0;
    // The current object, read into the given one when there is one, and
    // moves to the next.
    virtual VeRef<TDataObject> Next(TDataObject* into = nullptr) = 0;

    // Whether each object read is loaded (made Committed) as a whole.
    bool LoadObjects = true;
};

class TObjectReader : public TObjectReaderBase {
  public:
    // Matches result columns to fields by Alias, or by physical Name.
    TObjectReader(TObjectManager& manager, TTableInfo& table, TDataResult& result, bool byAlias);
    TObjectReader(TObjectManager& manager, TTableInfo& table, std::unique_ptr<TDataResult> result,
                  bool byAlias);

    bool Eof() const override { return result_->Eof(); }
    VeRef<TDataObject> Next(TDataObject* into = nullptr) override;

  private:
    void MapColumns(bool byAlias);

    TObjectManager* manager_;
    TTableInfo* table_;
    std::unique_ptr<TDataResult> owned_;
    TDataResult* result_;
    std::vector<int> columns_; // per field: result column or -1
};

class TObjectSetReader : public TObjectReaderBase {
  public:
    // With createObjects every member is copied into a new object; otherwise
    // the members themselves are handed out unless an object to copy into is
    // given.
    TObjectSetReader(VeRef<TObjectSet> set, bool createObjects);

    bool Eof() const override { return position_ >= set_->Count(); }
    VeRef<TDataObject> Next(TDataObject* into = nullptr) override;

  private:
    VeRef<TObjectSet> set_;
    int position_ = 0;
    bool createObjects_;
};

} // namespace ozra::data
