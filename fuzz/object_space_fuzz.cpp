// Feeds arbitrary bytes to the reader of XML object-space files (the XML
// database and schema documents): every input must end in an object space
// or in the format error, never in a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_error.h"
#include "data/object_manager.h"
#include "data/xml_object_space.h"

namespace {

using namespace ozra::data;

// One table with a field of every kind a value can be read into.
struct Schema {
    VeRef<TSchemaInfo> schema = MakeVe<TSchemaInfo>();
    TTableInfo& table = schema->AddTable({"Item", "Item", "item"});
    Schema() {
        const TDataType types[] = {TDataType::BigInt,   TDataType::Double, TDataType::Boolean,
                                   TDataType::DateTime, TDataType::Guid,   TDataType::String,
                                   TDataType::Blob};
        int index = 0;
        for (TDataType type : types) {
            std::string name = "F" + std::to_string(index++);
            table.AddField({.Alias = name, .Name = name, .DataType = type});
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Schema schema;
    TObjectManager manager;
    try {
        ReadObjectSpace(std::string_view(reinterpret_cast<const char*>(data), size), *schema.schema,
                        manager);
    } catch (const EDataError&) {
    }
    return 0;
}
