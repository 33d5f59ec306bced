// Data objects, their fields and relations, object sets and the object
// space, read through the in-memory provider.
#include "data/data_error.h"
#include "data/object_calculator.h"
#include "data_fixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace ozra::data {
namespace {

using fixture::Int;
using fixture::ShopData;
using fixture::Text;
using value::TtsValue;

// Counts the data objects of the process that are alive.
class CountedObject : public TDataObject {
  public:
    CountedObject(TObjectManager& manager, TTableInfo& table, int* alive)
        : TDataObject(manager, table), alive_(alive) {
        ++*alive_;
    }
    ~CountedObject() override { --*alive_; }

  private:
    int* alive_;
};

TEST(DataFieldTest, TypedReadings) {
    ShopData shop;
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    TDataField& field = object->Field(shop.name);
    struct Case {
        TtsValue value;
        bool boolean;
        std::string text;
        bool empty;
        std::optional<int64_t> integer;
    };
    const Case cases[] = {
        {TtsValue::Null(), false, "", true, 0},
        {Text(""), false, "", true, 0},
        {Text("yes"), true, "yes", false, std::nullopt},
        {Text("True"), true, "True", false, std::nullopt},
        {Text("-1"), true, "-1", false, -1},
        {Text("0"), false, "0", false, 0},
        {Text("no"), false, "no", false, std::nullopt},
        {Int(42), false, "42", false, 42},
        {TtsValue::FromInt64(int64_t{1} << 40), false, "1099511627776", false, int64_t{1} << 40},
        {TtsValue::FromBoolean(true), true, "True", false, -1},
    };
    for (const Case& c : cases) {
        field.SetValue(c.value);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(field.AsBoolean(), c.boolean);
        if (c.integer)
            EXPECT_EQ(field.AsInt64(), *c.integer);
        else
            EXPECT_THROW(field.AsInt64(), value::EtsRuntime);
        EXPECT_EQ(field.AsString(), c.text);
        EXPECT_EQ(field.IsEmpty(), c.empty);
    }
    field.SetValue(TtsValue::FromInt64(int64_t{1} << 40));
    EXPECT_EQ(field.AsInteger(), 0); // truncated to 32 bits
    field.SetAsBoolean(true);
    EXPECT_EQ(field.Value().Kind(), value::ValueKind::Int32);
    field.SetValue(Text("2024-02-29 13:45:10"));
    EXPECT_NEAR(field.AsDateTime(), 45351.573032, 1e-6);
    field.SetValue(Text("2023-02-29"));
    EXPECT_THROW(field.AsDateTime(), EDataError);
    field.SetValue(Text("12.34567"));
    EXPECT_EQ(field.AsCurrency(), 123457);
}

TEST(DataFieldTest, GuidBytesReadAsABracedGuid) {
    ShopData shop;
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    std::string bytes;
    for (int i = 0; i < 16; ++i)
        bytes += static_cast<char>(i * 17);
    object->Field(shop.code).SetValue(MakeByteArray(bytes));
    EXPECT_EQ(object->Field(shop.code).AsString(), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
    object->Field(shop.photo).SetValue(MakeByteArray("ab"));
    EXPECT_EQ(object->Field(shop.photo).AsString(), "ab");
}

TEST(DataObjectTest, FieldsAreFoundByAliasOrNameIgnoringCase) {
    ShopData shop;
    VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
    EXPECT_EQ(object->FieldByAlias("NAME"), &object->Field(shop.name));
    EXPECT_EQ(object->FieldByName("fullname"), &object->Field(shop.name));
    EXPECT_EQ(object->FieldByAlias("FullName"), nullptr);
    EXPECT_THROW(object->Field(shop.amount), EDataError); // another table's field
}

TEST(DataObjectTest, ALazyFieldLoadsOnceByKey) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3, "long text");
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    TDataObject& ann = set->Item(0);
    EXPECT_EQ(ann.Field(shop.notes).Record().Current, TFieldStateCode::New);
    shop.provider.log.clear();
    EXPECT_EQ(ann.Field(shop.notes).AsString(), "long text");
    EXPECT_EQ(ann.Field(shop.notes).AsString(), "long text");
    EXPECT_EQ(shop.provider.log, (std::vector<std::string>{"select by key Customer.Notes"}));
    EXPECT_EQ(ann.Field(shop.notes).Record().Current, TFieldStateCode::Committed);
    EXPECT_EQ(ann.Internal().StateRecord().Current, TObjectStateCode::Committed);

    // Loading one lazy field sets the others back to unread.
    ann.Field(shop.remark).GetValue();
    EXPECT_EQ(ann.Field(shop.notes).Record().Current, TFieldStateCode::New);
    EXPECT_EQ(ann.Field(shop.remark).Record().Current, TFieldStateCode::Committed);

    // A new object has no row to read from.
    VeRef<TDataObject> fresh = shop.manager.CreateObject(shop.customer);
    shop.provider.log.clear();
    EXPECT_TRUE(fresh->Field(shop.notes).IsNull());
    EXPECT_TRUE(shop.provider.log.empty());
}

TEST(DataObjectTest, ReadingOneLazyFieldKeepsAnotherOnesEdit) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3, "notes");
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    TDataObject& ann = set->Item(0);
    ann.Field(shop.remark).SetValue(Text("unsaved"));
    EXPECT_EQ(ann.Field(shop.notes).AsString(), "notes");
    EXPECT_EQ(ann.Field(shop.remark).AsString(), "unsaved");
    EXPECT_TRUE(ann.Field(shop.remark).IsModified());
}

TEST(DataObjectTest, RefreshReloadsTheRowByKey) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    TDataObject& ann = set->Item(0);
    ann.Field(shop.score).SetValue(Int(4));
    shop.provider.tables[&shop.customer][0][shop.name.Index()] = Text("Anna");
    EXPECT_TRUE(ann.Refresh());
    EXPECT_EQ(ann.Field(shop.name).AsString(), "Anna");
    EXPECT_EQ(ann.Field(shop.score).AsInteger(), 3);
    EXPECT_EQ(ann.Internal().StateRecord().Current, TObjectStateCode::Committed);
    shop.provider.tables[&shop.customer].clear();
    EXPECT_FALSE(ann.Refresh());
    EXPECT_EQ(ann.Field(shop.name).AsString(), "Anna");
}

TEST(DataObjectTest, ParentIsCachedUntilTheForeignKeyChanges) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    shop.StoreCustomer(2, "Bob", 4);
    shop.StoreOrder(10, 1);
    VeRef<TObjectSet> orders = shop.manager.LoadSet(shop.order);
    TDataObject& order = orders->Item(0);
    shop.provider.log.clear();
    TDataObject* parent = order.Parent(*shop.orderCustomer);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->Field(shop.name).AsString(), "Ann");
    EXPECT_EQ(order.Parent(*shop.orderCustomer), parent);
    EXPECT_EQ(shop.provider.log.size(), 1u);

    order.Field(shop.customerId).SetValue(Int(2));
    EXPECT_EQ(order.Parent(*shop.orderCustomer)->Field(shop.name).AsString(), "Bob");
    EXPECT_EQ(shop.provider.log.size(), 2u);

    order.Field(shop.customerId).SetValue(TtsValue::Null());
    EXPECT_EQ(order.Parent(*shop.orderCustomer), nullptr); // a null key has no parent
    EXPECT_EQ(shop.provider.log.size(), 2u);
}

TEST(DataObjectTest, ChildrenPointBackAtTheirParent) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    shop.StoreOrder(10, 1);
    shop.StoreOrder(11, 1);
    shop.StoreOrder(12, 2);
    VeRef<TObjectSet> customers = shop.manager.LoadSet(shop.customer);
    TDataObject& ann = customers->Item(0);
    TObjectSet& orders = ann.ChildSet(shop.customerOrders());
    ASSERT_EQ(orders.Count(), 2);
    EXPECT_EQ(&ann.ChildSet(shop.customerOrders()), &orders);
    shop.provider.log.clear();
    for (TDataObject& order : orders)
        EXPECT_EQ(order.Parent(*shop.orderCustomer), &ann);
    EXPECT_TRUE(shop.provider.log.empty());

    VeRef<TDataObject> child = ann.NewChild(shop.customerOrders());
    EXPECT_EQ(child->Field(shop.customerId).AsInteger(), 1);
    EXPECT_TRUE(child->Field(shop.customerId).IsModified());
}

TEST(DataObjectTest, ObjectsLiveWhileSetsOrReferencesHoldThem) {
    ShopData shop;
    int alive = 0;
    VeRef<TObjectSet> first = shop.manager.CreateSet(shop.customer);
    {
        auto object = MakeVe<CountedObject>(shop.manager, shop.customer, &alive);
        EXPECT_EQ(first->Add(*object), 0);
        EXPECT_EQ(first->Add(*object), 0); // one entry
        EXPECT_EQ(first->Count(), 1);
        VeRef<TObjectSet> second = first->Copy();
        first->Remove(*object);
        EXPECT_EQ(alive, 1);
        second->Clear();
        EXPECT_EQ(alive, 1); // the script reference still holds it
    }
    EXPECT_EQ(alive, 0);
}

TEST(DataObjectTest, ParentAndChildrenDoNotKeepEachOtherAlive) {
    // With shared instances a child's parent may hold the child in its cache;
    // owning the parent back would leak both (LeakSanitizer watches).
    for (bool parentFirst : {true, false}) {
        ShopData shop;
        shop.provider.shareObjects = true;
        shop.StoreCustomer(1, "Ann", 3);
        shop.StoreOrder(10, 1);
        VeRef<TDataObject> byId = shop.manager.CreateObject(shop.order);
        byId->Field(shop.orderId).SetValue(Int(10));
        VeRef<TDataObject> order = shop.manager.FindOne(*byId);
        TDataObject* ann = nullptr;
        if (parentFirst) {
            // The child owns the parent it found; the parent then caches the
            // child.
            ann = order->Parent(*shop.orderCustomer);
            ASSERT_NE(ann, nullptr);
            ASSERT_EQ(&ann->ChildSet(shop.customerOrders()).Item(0), order.Get());
        } else {
            // The parent caches the child; the child then finds the parent
            // again after its key was touched.
            VeRef<TDataObject> annById = shop.manager.CreateObject(shop.customer);
            annById->Field(shop.id).SetValue(Int(1));
            ann = shop.manager.FindOne(*annById).Get();
            ASSERT_EQ(&ann->ChildSet(shop.customerOrders()).Item(0), order.Get());
            order->Field(shop.customerId).SetValue(Int(1));
        }
        EXPECT_EQ(order->Parent(*shop.orderCustomer), ann);
    }
}

TEST(DataObjectTest, AFieldOutlivesItsObjectSafely) {
    ShopData shop;
    VeRef<TDataField> field;
    {
        VeRef<TDataObject> object = shop.manager.CreateObject(shop.customer);
        field = RetainVe(&object->Field(shop.name));
    }
    EXPECT_EQ(field->Owner(), nullptr);
    field->SetValue(Text("still fine"));
    EXPECT_EQ(field->AsString(), "still fine");
}

TEST(ObjectSetTest, QueryByExample) {
    ShopData shop;
    for (auto [id, name, score] : {std::tuple{1, "Ann", 3}, {2, "Bob", 4}, {3, "Ann", 5}})
        shop.StoreCustomer(id, name, score);
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    VeRef<TDataObject> templ = shop.manager.CreateObject(shop.customer);
    templ->Field(shop.name).SetValue(Text("Ann"));
    EXPECT_EQ(set->FindFirst(*templ), &set->Item(0));
    EXPECT_EQ(set->Select(*templ)->Count(), 2);

    VeRef<TDataObject> change = shop.manager.CreateObject(shop.customer);
    change->Field(shop.score).SetValue(Int(9));
    shop.provider.log.clear();
    EXPECT_EQ(set->UpdateMatching(*templ, *change, true), 2);
    EXPECT_EQ(set->Item(2).Field(shop.score).AsInteger(), 9);
    EXPECT_EQ(set->Item(1).Field(shop.score).AsInteger(), 4);
    EXPECT_EQ(shop.provider.log.size(), 4u); // two updates, two commits

    EXPECT_EQ(set->DeleteMatching(*templ), 2);
    ASSERT_EQ(set->Count(), 1);
    EXPECT_EQ(set->Item(0).Field(shop.name).AsString(), "Bob");

    VeRef<TObjectSet> orders = shop.manager.CreateSet(shop.order);
    EXPECT_THROW(orders->Add(*templ), EDataError);
}

TEST(ObjectSpaceTest, OneSetPerTable) {
    ShopData shop;
    TObjectSpace space(*shop.schema);
    VeRef<TObjectSet> orders = shop.manager.CreateSet(shop.order);
    VeRef<TObjectSet> customers = shop.manager.CreateSet(shop.customer);
    VeRef<TObjectSet> moreCustomers = shop.manager.CreateSet(shop.customer);
    space.Add(*orders);
    space.Add(*customers);
    space.Add(*moreCustomers);
    EXPECT_EQ(space.Count(), 2);
    EXPECT_EQ(space.IndexOf(shop.customer), 1);
    EXPECT_EQ(space.SetOf(shop.customer), moreCustomers.Get());
    space.Remove(shop.order);
    EXPECT_EQ(space.IndexOf(shop.order), -1);
    EXPECT_EQ(space.SetOf(shop.order), nullptr);
}

TEST(ObjectReaderTest, SetReaderCopiesOrHandsOutMembers) {
    ShopData shop;
    shop.StoreCustomer(1, "Ann", 3);
    VeRef<TObjectSet> set = shop.manager.LoadSet(shop.customer);
    TObjectSetReader shared(set, false);
    EXPECT_EQ(shared.Next().Get(), &set->Item(0));
    EXPECT_TRUE(shared.Eof());
    TObjectSetReader copying(set, true);
    VeRef<TDataObject> copy = copying.Next();
    EXPECT_NE(copy.Get(), &set->Item(0));
    EXPECT_EQ(copy->Field(shop.name).AsString(), "Ann");
    EXPECT_EQ(copy->Internal().StateRecord().Current, TObjectStateCode::Committed);
    EXPECT_THROW(copying.Next(), EDataError);
}

} // namespace
} // namespace ozra::data
