// The XML libraries: «System.XML» makes documents; documents, elements and
// child lists each have their own library (objects in xml_objects.h).
//
// Element property reads name methods («n.Name»), «n["@X"]» answers the
// reference text "identity:X" of the data-binding layer; writes accept
// only "value" and "name" (any case), anything else fails with the name
// followed by " not found.".
#pragma once

#include "libs/lib_support.h"
#include "runtime/lib_base.h"

namespace ozra::libs {

class TSys_Impl_Xml final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_Xml"; }
};

class TtsLibXML final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXML(runtime::TtsHost& host);

    OZRA_LIB_METHOD(Document);
};

class TtsLibXmlDocument final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXmlDocument(runtime::TtsHost& host);

    OZRA_LIB_METHOD(Clear);
    OZRA_LIB_METHOD(LoadFromFile);
    OZRA_LIB_METHOD(LoadFromString);
    OZRA_LIB_METHOD(Locate);
    OZRA_LIB_METHOD(Root);
    OZRA_LIB_METHOD(SaveToFile);
    OZRA_LIB_METHOD(ToString);
};

class TtsLibXmlNode final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXmlNode(runtime::TtsHost& host);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    bool DispatchesByName(runtime::DispatchKind kind) const noexcept override {
        return kind != runtime::DispatchKind::PropertyGet;
    }
    void SetProperty(value::TtsObject* object, std::string_view name, const value::TtsValue& value,
                     runtime::TtsResult& context) override;

    OZRA_LIB_METHOD(Name);
    OZRA_LIB_METHOD(Value);
    OZRA_LIB_METHOD(Index);
    OZRA_LIB_METHOD(Level);
    OZRA_LIB_METHOD(Path);
    OZRA_LIB_METHOD(Parent);
    OZRA_LIB_METHOD(Nodes);
    OZRA_LIB_METHOD(Props);
    OZRA_LIB_METHOD(Attrs);
    OZRA_LIB_METHOD(Find);
    OZRA_LIB_METHOD(FindByProp);
    OZRA_LIB_METHOD(Delete);
    OZRA_LIB_METHOD(ToFile);
    OZRA_LIB_METHOD(ToString);
    OZRA_LIB_METHOD(LoadFile);
    OZRA_LIB_METHOD(LoadString);
    OZRA_LIB_METHOD(Copy);
    OZRA_LIB_METHOD(CopyValue);
};

class TtsLibXmlNodeList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXmlNodeList(runtime::TtsHost& host);

    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;

    OZRA_LIB_METHOD(Add);
    OZRA_LIB_METHOD(Delete);
    OZRA_LIB_METHOD(Clear);
    OZRA_LIB_METHOD(Count);
};

} // namespace ozra::libs
