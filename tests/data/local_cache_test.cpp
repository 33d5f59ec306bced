// The local cache in front of the memory provider: cached tables are read
// once and served from memory, other tables always reach the provider
// behind, writes go through once, and sets read before a write know they
// are stale.
#include "data/local_cache.h"
#include "data_fixture.h"

#include <gtest/gtest.h>

namespace ozra::data {
namespace {

using fixture::Int;
using fixture::MemoryProvider;
using fixture::Text;

struct CachedSchema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& country = schema->AddTable({"Country", "Country", "Country", false, 2});
    TFieldInfo& id = country.AddField(
        {.Alias = "Id", .Name = "Id", .DataType = TDataType::Integer, .IsPrimary = true});
    TFieldInfo& name = country.AddField({.Alias = "Name", .Name = "Name"});
    TTableInfo& city = schema->AddTable({"City", "City", "City"});
    TFieldInfo& cityId = city.AddField(
        {.Alias = "Id", .Name = "Id", .DataType = TDataType::Integer, .IsPrimary = true});

    MemoryProvider inner;
    TLocalCache cache;
    TObjectManager manager;

    CachedSchema() {
        country.AddIndex(true, true).AddField(id);
        city.AddIndex(true, true).AddField(cityId);
        for (int i = 1; i <= 3; ++i)
            inner.AddRow(country, {Int(i), Text(i == 2 ? "Chile" : "Peru")});
        inner.AddRow(city, {Int(1)});
        cache.SetDataProvider(&inner);
        manager.SetDataProvider(&cache);
    }

    VeRef<TDataObject> Country(std::string_view countryName) {
        VeRef<TDataObject> templ = manager.CreateObject(country);
        templ->Field(name).SetValue(Text(countryName));
        return templ;
    }
    int Count(std::string_view entry) const {
        return static_cast<int>(std::count(inner.log.begin(), inner.log.end(), entry));
    }
};

TEST(LocalCacheTest, ACachedTableIsReadOnceAndServedFromMemory) {
    CachedSchema s;
    VeRef<TObjectSet> all = s.manager.LoadSet(s.country);
    VeRef<TObjectSet> again = s.manager.LoadSet(s.country);
    VeRef<TDataObject> chile = s.manager.FindOne(*s.Country("Chile"));
    VeRef<TObjectSet> peru = s.manager.LoadChildren(*s.Country("Peru"));
    EXPECT_EQ(s.inner.log, (std::vector<std::string>{"select all Country"}));
    ASSERT_EQ(all->Count(), 3);
    EXPECT_NE(all.Get(), again.Get());
    EXPECT_EQ(chile.Get(), &all->Item(1));
    EXPECT_EQ(peru->Count(), 2);
    ASSERT_TRUE(s.manager.Refresh(*chile));

    s.cache.ClearCache(&s.country);
    s.manager.LoadSet(s.country);
    EXPECT_EQ(s.Count("select all Country"), 2);
}

TEST(LocalCacheTest, ATableThatIsNotCachedAlwaysReachesTheProviderBehind) {
    CachedSchema s;
    s.manager.LoadSet(s.city);
    s.manager.LoadSet(s.city);
    VeRef<TDataObject> templ = s.manager.CreateObject(s.city);
    templ->Field(s.cityId).SetValue(Int(1));
    EXPECT_TRUE(s.manager.FindOne(*templ));
    EXPECT_EQ(s.inner.log, (std::vector<std::string>{"select all City", "select all City",
                                                     "select by example City"}));
}

TEST(LocalCacheTest, WritesGoThroughOnceAndMarkEarlierSetsStale) {
    CachedSchema s;
    VeRef<TObjectSet> before = s.manager.LoadSet(s.country);
    VeRef<TDataObject> added = s.manager.CreateObject(s.country);
    added->Field(s.id).SetValue(Int(4));
    added->Field(s.name).SetValue(Text("Chile"));
    ASSERT_TRUE(added->Save());
    EXPECT_EQ(s.Count("insert Country"), 1);
    EXPECT_TRUE(s.manager.IsSetStale(*before));
    EXPECT_EQ(s.manager.LoadSet(s.country)->Count(), 4);

    VeRef<TDataObject> source = s.manager.CreateObject(s.country);
    source->Field(s.name).SetValue(Text("Chili"));
    s.cache.UpdateByExample(*s.Country("Chile"), *source);
    EXPECT_EQ(s.Count("update by example Country"), 1);
    EXPECT_EQ(s.Count("update Country"), 0);
    EXPECT_EQ(added->Field(s.name).AsString(), "Chili");

    s.cache.DeleteByExample(*s.Country("Chili"));
    EXPECT_EQ(s.Count("delete by example Country"), 1);
    EXPECT_EQ(s.Count("delete Country"), 0);
    EXPECT_EQ(s.manager.LoadSet(s.country)->Count(), 2);
    EXPECT_EQ(s.Count("select all Country"), 1);
}

TEST(LocalCacheTest, WithoutAProviderBehindItSaysSo) {
    CachedSchema s;
    s.cache.SetDataProvider(nullptr);
    try {
        s.manager.LoadSet(s.country);
        FAIL();
    } catch (const EDataError& error) {
        EXPECT_STREQ(error.what(), "No data provider assigned to object manager");
    }
}

} // namespace
} // namespace ozra::data
