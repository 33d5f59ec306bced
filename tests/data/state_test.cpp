// The field and object state machines: every (state, operation) pair, and
// the object operations that wrap them.
#include "data/data_error.h"
#include "data_fixture.h"
#include "value/conversions.h"

#include <gtest/gtest.h>

#include <functional>

namespace ozra::data {
namespace {

using fixture::Int;
using fixture::ShopData;
using fixture::ShopSchema;
using fixture::Text;
using FS = TFieldStateCode;
using OS = TObjectStateCode;

std::string TextOf(const value::TtsValue& value) {
    return DataText(value);
}

// Field histories: the value "a" as first placed, "b" and "c" as later edits.
enum class FieldSetup {
    New,
    Committed,
    ModifiedOverCommitted,
    Uncommitted,
    ModifiedOverUncommitted,
    ModifiedOverNew,
    UncommittedOverNew
};

void Prepare(TDataField& field, FieldSetup setup) {
    field.InitValue(Text("a"));
    switch (setup) {
    case FieldSetup::New:
        return;
    case FieldSetup::ModifiedOverNew:
        field.SetValue(Text("b"));
        return;
    case FieldSetup::UncommittedOverNew:
        field.SetValue(Text("b"));
        field.Save();
        return;
    default:
        break;
    }
    field.Load();
    if (setup == FieldSetup::Committed) return;
    field.SetValue(Text("b"));
    if (setup == FieldSetup::ModifiedOverCommitted) return;
    field.Save();
    if (setup == FieldSetup::ModifiedOverUncommitted) field.SetValue(Text("c"));
}

enum class FieldOp { Load, Modify, Save, Commit, Rollback, Reset };

bool Apply(TDataField& field, FieldOp op) {
    switch (op) {
    case FieldOp::Load:
        return field.Load();
    case FieldOp::Modify:
        return field.Modify();
    case FieldOp::Save:
        return field.Save();
    case FieldOp::Commit:
        return field.Commit();
    case FieldOp::Rollback:
        return field.Rollback();
    case FieldOp::Reset:
        return field.Reset();
    }
    return false;
}

TEST(FieldStateTest, EveryTransition) {
    struct Case {
        FieldSetup setup;
        FieldOp op;
        bool allowed;
        FS state;
        std::string value;
    };
    const Case cases[] = {
        {FieldSetup::New, FieldOp::Load, true, FS::Committed, "a"},
        {FieldSetup::New, FieldOp::Modify, true, FS::Modified, ""},
        {FieldSetup::New, FieldOp::Save, false, FS::New, "a"},
        {FieldSetup::New, FieldOp::Commit, false, FS::New, "a"},
        {FieldSetup::New, FieldOp::Rollback, false, FS::New, "a"},
        {FieldSetup::New, FieldOp::Reset, false, FS::New, "a"},
        {FieldSetup::Committed, FieldOp::Load, false, FS::Committed, "a"},
        {FieldSetup::Committed, FieldOp::Modify, true, FS::Modified, ""},
        {FieldSetup::Committed, FieldOp::Save, false, FS::Committed, "a"},
        {FieldSetup::Committed, FieldOp::Commit, false, FS::Committed, "a"},
        {FieldSetup::Committed, FieldOp::Rollback, false, FS::Committed, "a"},
        {FieldSetup::Committed, FieldOp::Reset, true, FS::Committed, "a"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Load, false, FS::Modified, "b"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Modify, true, FS::Modified, "b"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Save, true, FS::Uncommitted, "b"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Commit, false, FS::Modified, "b"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Rollback, false, FS::Modified, "b"},
        {FieldSetup::ModifiedOverCommitted, FieldOp::Reset, true, FS::Committed, "a"},
        {FieldSetup::Uncommitted, FieldOp::Load, false, FS::Uncommitted, "b"},
        {FieldSetup::Uncommitted, FieldOp::Modify, true, FS::Modified, ""},
        {FieldSetup::Uncommitted, FieldOp::Save, false, FS::Uncommitted, "b"},
        {FieldSetup::Uncommitted, FieldOp::Commit, true, FS::Committed, "b"},
        {FieldSetup::Uncommitted, FieldOp::Rollback, true, FS::Committed, "a"},
        {FieldSetup::Uncommitted, FieldOp::Reset, true, FS::Uncommitted, "b"},
        {FieldSetup::ModifiedOverUncommitted, FieldOp::Save, true, FS::Uncommitted, "c"},
        // The written value is committed and the later unsaved edit dropped.
        {FieldSetup::ModifiedOverUncommitted, FieldOp::Commit, true, FS::Committed, "b"},
        {FieldSetup::ModifiedOverUncommitted, FieldOp::Rollback, true, FS::Committed, "a"},
        {FieldSetup::ModifiedOverUncommitted, FieldOp::Reset, true, FS::Uncommitted, "b"},
        {FieldSetup::ModifiedOverNew, FieldOp::Save, true, FS::Uncommitted, "b"},
        {FieldSetup::ModifiedOverNew, FieldOp::Commit, false, FS::Modified, "b"},
        {FieldSetup::ModifiedOverNew, FieldOp::Rollback, false, FS::Modified, "b"},
        {FieldSetup::ModifiedOverNew, FieldOp::Reset, true, FS::New, "a"},
        // A never-committed field rolls back to New and its first value.
        {FieldSetup::UncommittedOverNew, FieldOp::Rollback, true, FS::New, "a"},
        {FieldSetup::UncommittedOverNew, FieldOp::Commit, true, FS::Committed, "b"},
    };
    ShopData shop;
    for (const Case& c : cases) {
        VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
        TDataField& field = object->Field(shop.name);
        Prepare(field, c.setup);
        SCOPED_TRACE(::testing::Message() << "setup " << int(c.setup) << " op " << int(c.op));
        EXPECT_EQ(Apply(field, c.op), c.allowed);
        EXPECT_EQ(field.Record().Current, c.state);
        EXPECT_EQ(TextOf(field.Value()), c.value);
    }
}

enum class ObjectSetup { New, NewModified, Committed, Modified, Uncommitted, Deleted };
enum class ObjectOp { Load, Modify, Save, Commit, Delete, Rollback, Reset };

// A customer row 1 "a" both stored and loaded; transactions are open from
// the setups that write.
VeRef<TDataObject> PrepareObject(ShopData& shop, ObjectSetup setup) {
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    if (setup == ObjectSetup::NewModified) {
        object->Field(shop.name).SetValue(Text("b"));
    } else if (setup != ObjectSetup::New) {
        shop.StoreCustomer(1, "a", 5);
        object->Field(shop.id).InitValue(Int(1));
        object->Field(shop.name).InitValue(Text("a"));
        object->Load();
        shop.provider.inTransaction = true;
        if (setup == ObjectSetup::Modified || setup == ObjectSetup::Uncommitted)
            object->Field(shop.name).SetValue(Text("b"));
        if (setup == ObjectSetup::Uncommitted) object->Internal().Save();
        if (setup == ObjectSetup::Deleted) object->Internal().Delete();
    }
    shop.provider.log.clear();
    return object;
}

bool Apply(TInternalObject& object, ObjectOp op) {
    switch (op) {
    case ObjectOp::Load:
        return object.Load();
    case ObjectOp::Modify:
        return object.Modify();
    case ObjectOp::Save:
        return object.Save();
    case ObjectOp::Commit:
        return object.Commit();
    case ObjectOp::Delete:
        return object.Delete();
    case ObjectOp::Rollback:
        return object.Rollback();
    case ObjectOp::Reset:
        return object.Reset();
    }
    return false;
}

TEST(ObjectStateTest, EveryTransition) {
    struct Case {
        ObjectSetup setup;
        ObjectOp op;
        bool allowed;
        OS state;
        std::vector<std::string> requests;
    };
    const Case cases[] = {
        {ObjectSetup::New, ObjectOp::Load, true, OS::Committed, {}},
        {ObjectSetup::New, ObjectOp::Modify, true, OS::Modified, {}},
        {ObjectSetup::New, ObjectOp::Save, false, OS::New, {}},
        {ObjectSetup::New, ObjectOp::Commit, false, OS::New, {}},
        {ObjectSetup::New, ObjectOp::Delete, false, OS::New, {}},
        {ObjectSetup::New, ObjectOp::Rollback, false, OS::New, {}},
        {ObjectSetup::New, ObjectOp::Reset, false, OS::New, {}},
        {ObjectSetup::NewModified, ObjectOp::Save, true, OS::Uncommitted, {"insert Customer"}},
        // Never saved: nothing to delete and nothing sent.
        {ObjectSetup::NewModified, ObjectOp::Delete, false, OS::Modified, {}},
        {ObjectSetup::NewModified, ObjectOp::Commit, false, OS::Modified, {}},
        {ObjectSetup::NewModified, ObjectOp::Reset, true, OS::New, {}},
        {ObjectSetup::Committed, ObjectOp::Load, false, OS::Committed, {}},
        {ObjectSetup::Committed, ObjectOp::Modify, true, OS::Modified, {}},
        {ObjectSetup::Committed, ObjectOp::Save, false, OS::Committed, {}},
        {ObjectSetup::Committed, ObjectOp::Commit, false, OS::Committed, {}},
        {ObjectSetup::Committed, ObjectOp::Delete, true, OS::Deleted, {"delete Customer"}},
        {ObjectSetup::Committed, ObjectOp::Rollback, false, OS::Committed, {}},
        {ObjectSetup::Committed, ObjectOp::Reset, true, OS::Committed, {}},
        {ObjectSetup::Modified, ObjectOp::Load, false, OS::Modified, {}},
        {ObjectSetup::Modified, ObjectOp::Modify, true, OS::Modified, {}},
        {ObjectSetup::Modified, ObjectOp::Save, true, OS::Uncommitted, {"update Customer"}},
        {ObjectSetup::Modified, ObjectOp::Commit, false, OS::Modified, {}},
        {ObjectSetup::Modified, ObjectOp::Delete, true, OS::Deleted, {"delete Customer"}},
        {ObjectSetup::Modified, ObjectOp::Rollback, false, OS::Modified, {}},
        {ObjectSetup::Modified, ObjectOp::Reset, true, OS::Committed, {}},
        {ObjectSetup::Uncommitted, ObjectOp::Load, false, OS::Uncommitted, {}},
        {ObjectSetup::Uncommitted, ObjectOp::Modify, true, OS::Modified, {}},
        {ObjectSetup::Uncommitted, ObjectOp::Save, false, OS::Uncommitted, {}},
        {ObjectSetup::Uncommitted, ObjectOp::Commit, true, OS::Committed, {"committed Customer"}},
        {ObjectSetup::Uncommitted, ObjectOp::Delete, true, OS::Deleted, {"delete Customer"}},
        {ObjectSetup::Uncommitted, ObjectOp::Rollback, true, OS::Committed, {}},
        {ObjectSetup::Uncommitted, ObjectOp::Reset, true, OS::Uncommitted, {}},
        {ObjectSetup::Deleted, ObjectOp::Load, false, OS::Deleted, {}},
        {ObjectSetup::Deleted, ObjectOp::Modify, false, OS::Deleted, {}},
        {ObjectSetup::Deleted, ObjectOp::Save, false, OS::Deleted, {}},
        {ObjectSetup::Deleted, ObjectOp::Commit, true, OS::Deleted, {"committed Customer"}},
        {ObjectSetup::Deleted, ObjectOp::Delete, false, OS::Deleted, {}},
        {ObjectSetup::Deleted, ObjectOp::Rollback, true, OS::Committed, {}},
        {ObjectSetup::Deleted, ObjectOp::Reset, false, OS::Deleted, {}},
    };
    for (const Case& c : cases) {
        ShopData shop;
        VeRef<TDataObject> object = PrepareObject(shop, c.setup);
        SCOPED_TRACE(::testing::Message() << "setup " << int(c.setup) << " op " << int(c.op));
        EXPECT_EQ(Apply(object->Internal(), c.op), c.allowed);
        EXPECT_EQ(object->Internal().StateRecord().Current, c.state);
        EXPECT_EQ(shop.provider.log, c.requests);
    }
}

TEST(ObjectStateTest, RollingBackRestoresTheCommittedValues) {
    ShopData shop;
    VeRef<TDataObject> object = PrepareObject(shop, ObjectSetup::Uncommitted);
    object->Field(shop.name).SetValue(Text("c"));
    EXPECT_TRUE(object->Rollback());
    EXPECT_EQ(object->Field(shop.name).AsString(), "a");
    EXPECT_FALSE(object->Field(shop.name).IsModified());
}

TEST(ObjectOperationTest, SaveOutsideATransactionCommitsAtOnce) {
    ShopData shop;
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    EXPECT_FALSE(object->Save()); // nothing edited: no request at all
    object->Field(shop.name).SetValue(Text("Ann"));
    EXPECT_TRUE(object->Save());
    EXPECT_EQ(shop.provider.log,
              (std::vector<std::string>{"insert Customer", "committed Customer"}));
    EXPECT_EQ(object->Internal().StateRecord().Current, OS::Committed);
    EXPECT_FALSE(object->Internal().IsNew());
    EXPECT_EQ(object->Field(shop.id).AsInteger(), 100); // the identity the provider gave
    EXPECT_EQ(object->Field(shop.id).Record().Current, FS::Committed);
}

TEST(ObjectOperationTest, AFailedWriteLeavesTheObjectEdited) {
    ShopData shop;
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    object->Field(shop.name).SetValue(Text("Ann"));
    shop.provider.failNextSave = true;
    EXPECT_THROW(object->Save(), std::runtime_error);
    EXPECT_EQ(object->Internal().StateRecord().Current, OS::Modified);
    EXPECT_TRUE(object->Field(shop.name).IsModified());
    EXPECT_TRUE(object->Save());
}

TEST(ObjectOperationTest, CommittedDeleteLeavesEverySet) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    VeRef<TObjectSet> loaded = shop.manager.LoadSet(shop.customer);
    VeRef<TObjectSet> copy = loaded->Copy();
    VeRef<TDataObject> ann = RetainVe(&loaded->Item(0));
    EXPECT_EQ(ann->Memberships().Count(), 2);
    EXPECT_TRUE(ann->Delete());
    EXPECT_EQ(loaded->Count(), 0);
    EXPECT_EQ(copy->Count(), 0);
    EXPECT_EQ(ann->Memberships().Count(), 0);
    EXPECT_TRUE(shop.provider.tables[&shop.customer].empty());
}

TEST(ObjectOperationTest, NoProviderIsAClearError) {
    ShopSchema schema;
    TObjectManager manager;
    VeRef<TDataObject> object = manager.CreateObject(schema.customer);
    object->Field(schema.name).SetValue(Text("Ann"));
    try {
        object->Save();
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "No data provider assigned to object manager");
    }
    EXPECT_EQ(object->Internal().StateRecord().Current, OS::Modified);
}

TEST(TransactionTest, WritesCommitWhenTheTransactionDoes) {
    ShopData shop;
    shop.manager.StartTransaction();
    VeRef<TDataObject> first = shop.manager.CreateObject(shop.customer);
    VeRef<TDataObject> second = shop.manager.CreateObject(shop.customer);
    first->Field(shop.name).SetValue(Text("Ann"));
    second->Field(shop.name).SetValue(Text("Bob"));
    EXPECT_TRUE(first->Save());
    EXPECT_TRUE(second->Save());
    EXPECT_EQ(first->Internal().StateRecord().Current, OS::Uncommitted);
    VeRef<TObjectSet> set = shop.manager.CreateSet(shop.customer);
    int64_t before = set->Timestamp();
    set->Stamp();
    EXPECT_EQ(set->Timestamp(), before); // stamped at commit
    shop.manager.Commit();
    EXPECT_GT(set->Timestamp(), before);
    EXPECT_EQ(first->Internal().StateRecord().Current, OS::Committed);
    EXPECT_EQ(second->Internal().StateRecord().Current, OS::Committed);
    EXPECT_EQ(shop.provider.log,
              (std::vector<std::string>{"insert Customer", "insert Customer", "committed Customer",
                                        "committed Customer"}));
}

TEST(TransactionTest, RollbackUndoesTheObjectsAndNestingIsChecked) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    TDataObject& ann = set->Item(0);
    shop.manager.StartTransaction();
    EXPECT_THROW(shop.manager.StartTransaction(), EDataError);
    ann.Field(shop.name).SetValue(Text("Anna"));
    ann.Save();
    shop.manager.Rollback();
    EXPECT_EQ(ann.Field(shop.name).AsString(), "Ann");
    EXPECT_EQ(ann.Internal().StateRecord().Current, OS::Committed);
    try {
        shop.manager.Commit();
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "Not in transaction");
    }
    shop.manager.AllowNestedTransaction = true;
    shop.manager.StartTransaction();
    shop.manager.StartTransaction();
    shop.manager.Commit();
    EXPECT_TRUE(shop.manager.InTransaction());
    shop.manager.Commit();
    EXPECT_FALSE(shop.manager.InTransaction());
}

} // namespace
} // namespace ozra::data
