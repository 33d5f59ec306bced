// The XML libraries: «System.XML» makes documents; documents, elements and
// child lists each have their own library (objects in xml_objects.h).
//
// Element property reads name methods («n.Name»), «n["@X"]» answers the
// reference text "identity:X" of the data-binding layer; writes accept
// only "value" and "name" (any case), anything else fails with the name
// followed by " not found.".
#pragma once

#include "runtime/lib_base.h"

namespace ozra::libs {

class TObj_Impl_XmlDocument;
class TObj_Impl_XmlNode;
class TObj_Impl_XmlNodeList;

class TSys_Impl_Xml final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_Xml"; }
};

class TtsLibXML final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXML(runtime::TtsHost& host);

  private:
    void Document(runtime::LibCall& call);
};

class TtsLibXmlDocument final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXmlDocument(runtime::TtsHost& host);

  private:
    void Clear(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void LoadFromFile(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void LoadFromString(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void Locate(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void Root(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void SaveToFile(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
    void ToString(runtime::LibCall& call, TObj_Impl_XmlDocument& document);
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

  private:
    void Name(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Value(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Index(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Level(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Path(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Parent(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Nodes(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Props(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Attrs(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Find(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void FindByProp(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Delete(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void ToFile(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void ToString(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void LoadFile(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void LoadString(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void Copy(runtime::LibCall& call, TObj_Impl_XmlNode& element);
    void CopyValue(runtime::LibCall& call, TObj_Impl_XmlNode& element);
};

class TtsLibXmlNodeList final : public runtime::TtsLibBase {
  public:
    explicit TtsLibXmlNodeList(runtime::TtsHost& host);

    void GetItem(front::TtsExpression& out, value::TtsObject* object, runtime::TtsResult& context,
                 const value::TtsValue& index) override;

  private:
    void Add(runtime::LibCall& call, TObj_Impl_XmlNodeList& list);
    void Delete(runtime::LibCall& call, TObj_Impl_XmlNodeList& list);
    void Clear(runtime::LibCall& call, TObj_Impl_XmlNodeList& list);
    void Count(runtime::LibCall& call, TObj_Impl_XmlNodeList& list);
};

} // namespace ozra::libs
