// Object spaces to and from XML, on pugixml. The document has a fixed depth
// of three, so walking it needs no stack of its own.
#include "data/xml_object_space.h"

#include "data/data_error.h"
#include "data/field_value.h"
#include "data/object_manager.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "libs/xml/xml_document.h"
#include "value/conversions.h"
#include "value/number_text.h"

#include <pugixml.hpp>

#include <charconv>

namespace ozra::data {

using value::TtsValue;

namespace {

constexpr std::string_view BadFormatMessage =
    "Bad XML file format or XML file not match the present schema.";

[[noreturn]] void BadFormat() {
    throw EDataError(std::string(BadFormatMessage));
}

bool IsBinary(TDataType type) {
    return type == TDataType::Binary || type == TDataType::Blob;
}

bool IsInteger(TDataType type) {
    return type == TDataType::SmallInt || type == TDataType::Integer || type == TDataType::BigInt;
}

std::string FromHex(std::string_view digits) {
    if (digits.size() % 2 != 0) BadFormat();
    std::string bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        unsigned byte = 0;
        auto [end, error] = std::from_chars(digits.data() + i, digits.data() + i + 2, byte, 16);
        if (error != std::errc() || end != digits.data() + i + 2) BadFormat();
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

// The value an attribute's text gives a field of the type.
TtsValue ReadValue(std::string_view text, TDataType type) {
    if (text.empty()) return TtsValue::FromText("");
    if (IsBinary(type)) return MakeByteArray(FromHex(text));
    if (type == TDataType::Boolean || static_cast<uint8_t>(type) <= 5) {
        try {
            TtsValue source = TtsValue::FromText(text);
            if (type == TDataType::Boolean) return TtsValue::FromBoolean(value::ToBoolean(source));
            // Integers stay exact: a 64-bit key must not pass through a
            // double.
            int64_t whole = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
            if (IsInteger(type) && error == std::errc() && end == text.data() + text.size())
                return TtsValue::FromInteger(whole);
            return TtsValue::FromDouble(value::ToDouble(source));
        } catch (const value::EtsRuntime&) {
            BadFormat();
        }
    }
    return TtsValue::FromText(text);
}

std::string WriteValue(const TtsValue& value, TDataType type) {
    if (IsBinary(type)) return TStringHelper::ToHex(DataText(value));
    return ValueAsString(value, type);
}

struct StringWriter : pugi::xml_writer {
    std::string& text;
    explicit StringWriter(std::string& out) : text(out) {}
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

} // namespace

VeRef<TObjectSpace> ReadObjectSpace(std::string_view xml, TSchemaInfo& schema,
                                    TObjectManager& manager, const TTableInfo* onlyTable) {
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_auto)) {
        // The XML library's reader says where the text breaks.
        std::string where;
        try {
            xml::ParseXml(xml);
        } catch (const std::exception& error) {
            where = std::string(" ") + error.what();
        }
        throw EDataError(std::string(BadFormatMessage) + where);
    }
    pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "ObjectSpace") BadFormat();
    for (pugi::xml_node set : root.children()) {
        if (set.type() != pugi::node_element) continue;
        if (std::string_view(set.name()) != "ObjectSet" ||
            !schema.FindTable(set.attribute("Name").value()))
            BadFormat();
        for (pugi::xml_node object : set.children())
            if (object.type() == pugi::node_element && std::string_view(object.name()) != "Object")
                BadFormat();
    }

    VeRef<TObjectSpace> space = MakeVe<TObjectSpace>(schema);
    for (pugi::xml_node element : root.children("ObjectSet")) {
        TTableInfo& table = *schema.FindTable(element.attribute("Name").value());
        if (onlyTable && &table != onlyTable) continue;
        VeRef<TObjectSet> set = manager.CreateSet(table);
        space->Add(*set);
        for (pugi::xml_node item : element.children("Object")) {
            VeRef<TDataObject> object = manager.CreateObject(table);
            set->Add(*object);
            for (pugi::xml_attribute attribute : item.attributes()) {
                TFieldInfo* info = table.FindField(attribute.name());
                if (!info) BadFormat();
                TDataField& field = object->Field(*info);
                field.InitValue(ReadValue(attribute.value(), info->DataType()));
                field.Load();
            }
            object->Load();
        }
    }
    return space;
}

std::string WriteObjectSpace(const TObjectSpace* space) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    pugi::xml_node root = document.append_child("ObjectSpace");
    for (int i = 0; space && i < space->Count(); ++i) {
        TObjectSet& set = space->Item(i);
        pugi::xml_node element = root.append_child("ObjectSet");
        element.append_attribute("Name").set_value(set.Table().Alias().c_str());
        for (TDataObject& object : set) {
            pugi::xml_node item = element.append_child("Object");
            for (TDataField& field : object.Fields()) {
                const TtsValue& value = field.Value();
                if (IsNullValue(value)) continue;
                const TFieldInfo& info = field.FieldInfo();
                if (!xml::IsXmlName(info.Alias()))
                    throw EDataError("The field alias \"" + info.Alias() +
                                     "\" cannot be an XML attribute name.");
                item.append_attribute(info.Alias().c_str())
                    .set_value(WriteValue(value, info.DataType()).c_str());
            }
        }
    }
    std::string text;
    StringWriter writer(text);
    document.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return text;
}

} // namespace ozra::data
