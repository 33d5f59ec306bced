// Schema creation: the DoTable objects of a schema document turned into
// run-time table descriptions, so that an object space can work on the
// database the document describes.
//
// Every DoTable becomes a TDynamicTableInfo with its DoField children as
// fields (the primary ones forming its primary index) and its relations
// from both sides. A relation reaches its child objects under the child
// table's name followed by "s" ("Orders" from "Order", "Orderss" from
// "Orders"). Relations whose tables or fields the document does not hold
// (a key from a table of a schema that was not imported) are left out,
// as are their key pairs.
#pragma once

#include "data/object_set.h"

namespace ozra::data {

class TDynamicTableInfo : public TTableInfo {
  public:
    using TTableInfo::TTableInfo;
    bool IsDynamic() const override { return true; }
};

// A new run-time schema of the tables of the set. A DataType that is not a
// number raises the integer conversion error.
VeRef<TSchemaInfo> CreateSchema(TObjectSet& doTables);

} // namespace ozra::data
