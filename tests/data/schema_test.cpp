// The schema description, the keyed list under it and the string helper.
#include "data/schema_info.h"
#include "data/string_helper.h"
#include "data/ve_list.h"
#include "data_fixture.h"

#include <gtest/gtest.h>

namespace ozra::data {
namespace {

using fixture::ShopSchema;

class Item : public TVeObject {
  public:
    explicit Item(int* destroyed) : destroyed_(destroyed) {}
    ~Item() override { ++*destroyed_; }

  private:
    int* destroyed_;
};

TEST(VeListTest, SortedListKeepsOneEntryPerKey) {
    int destroyed = 0;
    auto item = MakeVe<Item>(&destroyed);
    TVeList<Item> list(TVeListFlags::Sorted);
    EXPECT_EQ(list.Add(*item), 0);
    EXPECT_EQ(list.Add(*item), 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Contains(*item));
}

TEST(VeListTest, OwningListReleasesWhatItRemovesAndCallsBack) {
    int destroyed = 0;
    std::vector<std::string> calls;
    TVeList<Item> list(TVeListFlags::OwnsObjects);
    list.OnAdd = [&](Item&) { calls.push_back("add"); };
    list.OnDelete = [&](Item&, int index) { calls.push_back("delete " + std::to_string(index)); };
    for (int i = 0; i < 3; ++i)
        list.Add(*MakeVe<Item>(&destroyed));
    list.Delete(1);
    EXPECT_EQ(destroyed, 1);
    list.Clear();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"add", "add", "add", "delete 1", "delete 1", "delete 0"}));
}

TEST(VeListTest, IndexOutOfRange) {
    int destroyed = 0;
    auto item = MakeVe<Item>(&destroyed);
    TVeList<Item> list;
    list.Add(*item);
    for (int index : {-1, 1}) {
        try {
            list.Item(index);
            ADD_FAILURE() << index;
        } catch (const EDataError& e) {
            EXPECT_STREQ(e.what(), "Index out of range");
        }
    }
}

TEST(StringHelperTest, QuotingSplittingAndHex) {
    EXPECT_EQ(TStringHelper::QuoteIdent("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(TStringHelper::QuoteStr("it's"), "'it''s'");
    EXPECT_EQ(TStringHelper::SplitFirst("a.b.c", '.'),
              std::make_pair(std::string("a"), std::string("b.c")));
    EXPECT_EQ(TStringHelper::SplitFirst("abc", '.'),
              std::make_pair(std::string("abc"), std::string()));
    EXPECT_EQ(TStringHelper::SplitAll("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(TStringHelper::ToHex(std::string("\x00\x7f\xab", 3)), "007FAB");
}

TEST(DataTypeTest, BindingAndCategoryOfEveryCode) {
    struct Case {
        TDataType type;
        TParamType param;
        TValueCategory category;
    };
    const Case cases[] = {
        {TDataType::SmallInt, TParamType::Integer, TValueCategory::Numeric},
        {TDataType::Integer, TParamType::Integer, TValueCategory::Numeric},
        {TDataType::BigInt, TParamType::Integer, TValueCategory::Numeric},
        {TDataType::Single, TParamType::Float, TValueCategory::Numeric},
        {TDataType::Double, TParamType::Float, TValueCategory::Numeric},
        {TDataType::Decimal, TParamType::Currency, TValueCategory::Numeric},
        {TDataType::Boolean, TParamType::Boolean, TValueCategory::Boolean},
        {TDataType::DateTime, TParamType::DateTime, TValueCategory::Date},
        {TDataType::Guid, TParamType::String, TValueCategory::Text},
        {TDataType::String, TParamType::String, TValueCategory::Text},
        {TDataType::Text, TParamType::Memo, TValueCategory::Text},
        {TDataType::Binary, TParamType::Blob, TValueCategory::Binary},
        {TDataType::Blob, TParamType::Blob, TValueCategory::Binary},
        {static_cast<TDataType>(13), TParamType::None, TValueCategory::Binary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DataTypeName(c.type));
        EXPECT_EQ(ParamTypeOf(c.type), c.param);
        EXPECT_EQ(CategoryOf(c.type), c.category);
    }
}

TEST(SchemaTest, LookupsIgnoreLetterCase) {
    ShopSchema shop;
    EXPECT_EQ(shop.schema->FindTable("CUSTOMER"), &shop.customer);
    EXPECT_EQ(shop.schema->FindTable("Orders"), nullptr); // the physical name is no alias
    EXPECT_EQ(shop.customer.FindField("fullname"), nullptr);
    EXPECT_EQ(shop.customer.FindField("nAmE"), &shop.name);
    EXPECT_EQ(shop.name.Index(), 1);
    EXPECT_EQ(shop.order.Index(), 1);
}

TEST(SchemaTest, IdentityAndPrimaryKey) {
    ShopSchema shop;
    EXPECT_EQ(shop.customer.AutoIncrementField(), &shop.id);
    EXPECT_EQ(shop.order.AutoIncrementField(), nullptr);

    TTableInfo& line = shop.schema->AddTable({"Line", "Line", "Line"});
    TFieldInfo& orderNo = line.AddField({.Alias = "OrderNo", .Name = "OrderNo", .IsPrimary = true});
    TFieldInfo& lineNo = line.AddField({.Alias = "LineNo", .Name = "LineNo", .IsPrimary = true});
    try {
        line.PrimaryKeyFields();
        ADD_FAILURE();
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), "No primary key");
    }
    line.AddIndex(false, true).AddField(lineNo);
    TIndexInfo& primary = line.AddIndex(true, true);
    primary.AddField(orderNo);
    primary.AddField(lineNo);
    const TFieldInfoSet& keys = line.PrimaryKeyFields();
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(&keys.Item(0), &orderNo);
    EXPECT_EQ(&keys.Item(1), &lineNo);
}

TEST(SchemaTest, RelationIsDescribedFromBothSides) {
    ShopSchema shop;
    const TParentRelationInfo& parentSide = *shop.orderCustomer;
    const TChildRelationInfo& childSide = shop.customerOrders();
    EXPECT_EQ(&parentSide.Table(), &shop.order);
    EXPECT_EQ(&childSide.Table(), &shop.customer);
    EXPECT_EQ(&childSide.Counterpart(), &parentSide);
    for (const TRelationInfo* side : {static_cast<const TRelationInfo*>(&parentSide),
                                      static_cast<const TRelationInfo*>(&childSide)}) {
        EXPECT_EQ(side->ParentTable(), &shop.customer);
        EXPECT_EQ(side->ChildTable(), &shop.order);
        EXPECT_EQ(side->ParentName(), "Customer");
        EXPECT_EQ(side->ChildName(), "Orders");
        ASSERT_EQ(side->FieldPairs().Count(), 1);
        EXPECT_EQ(&side->FieldPairs().Item(0).ParentField(), &shop.id);
        EXPECT_EQ(&side->FieldPairs().Item(0).ChildField(), &shop.customerId);
    }
}

} // namespace
} // namespace ozra::data
