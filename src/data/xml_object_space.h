// The XML form of an object space: how the XML provider keeps its data and
// how schema documents are stored.
//
//   <?xml version="1.0"?>
//   <ObjectSpace>
//     <ObjectSet Name="table alias">
//       <Object FieldAlias="text" .../>     one per object, in set order
//     </ObjectSet>                          one per set, empty ones too
//   </ObjectSpace>
//
// An object has one attribute per field that is not null, named by the
// field's alias. Values are written in their text form; binary and blob
// values are written as hexadecimal digits, since raw bytes cannot be
// XML text. Reading gives an attribute without a value empty text, reads
// booleans as truth values ("True", "False" or a number), integer fields as
// integers, other numbers as floating point, binary fields from their hex
// digits and everything else as text; every object read is Committed.
//
// A document that does not have this shape, names a table or a field the
// schema does not have, or holds a value its field cannot take raises "Bad
// XML file format or XML file not match the present schema."; text that is
// not XML at all raises the same, followed by where it breaks.
#pragma once

#include "data/object_set.h"

#include <string>
#include <string_view>

namespace ozra::data {

class TObjectManager;

// A new object space over the schema with the sets of the document, or
// only the given table's set; its objects are made by the manager.
VeRef<TObjectSpace> ReadObjectSpace(std::string_view xml, TSchemaInfo& schema,
                                    TObjectManager& manager, const TTableInfo* onlyTable = nullptr);

// The document of the space; null writes a space without sets.
std::string WriteObjectSpace(const TObjectSpace* space);

} // namespace ozra::data
