// The XML libraries.
#include "libs/xml_lib.h"

#include "libs/lib_support.h"
#include "libs/xml_objects.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/names.h"
#include "value/operators.h"

namespace ozra::libs {

using runtime::TtsResult;
using value::EtsRuntime;

namespace {

// The optional element argument of document loads and saves: the root
// when absent.
TObj_Impl_XmlNode& TargetElement(TObj_Impl_XmlDocument& document, const LibCall& call, int index) {
    return call.Count() > index ? call.ObjectAs<TObj_Impl_XmlNode>(index) : *document.Root;
}

} // namespace

void TtsLibXML::Document(LibCall& call) {
    auto document = value::MakeRef<TObj_Impl_XmlDocument>();
    if (call.Count() > 0) {
        const std::string name = call.Text(0);
        if (name.find_first_of(":\\/.") != std::string::npos) {
            LoadXmlFileInto(*document->Root, name);
        } else {
            document->Root->Name = name;
        }
    }
    call.ReturnObject(document.Get());
}

TtsLibXML::TtsLibXML(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Xml>(runtime::AccessAll);
    RegisterGlobal("XML", value::MakeRef<TSys_Impl_Xml>().Get());
    Publish({{"Document", Method<&TtsLibXML::Document>, 0, 1}});
}

void TtsLibXmlDocument::Clear(LibCall&, TObj_Impl_XmlDocument& document) {
    document.Root->Nodes().Clear();
    document.Root->Name.clear();
    document.Root->Value.Clear();
}

void TtsLibXmlDocument::LoadFromFile(LibCall& call, TObj_Impl_XmlDocument& document) {
    LoadXmlFileInto(TargetElement(document, call, 1), call.Text(0));
}

void TtsLibXmlDocument::LoadFromString(LibCall& call, TObj_Impl_XmlDocument& document) {
    LoadXmlText(TargetElement(document, call, 1), call.Text(0));
}

void TtsLibXmlDocument::Locate(LibCall& call, TObj_Impl_XmlDocument& document) {
    call.ReturnObject(document.Locate(call.Text(0)));
}

void TtsLibXmlDocument::Root(LibCall& call, TObj_Impl_XmlDocument& document) {
    call.ReturnObject(document.Root.Get());
}

void TtsLibXmlDocument::SaveToFile(LibCall& call, TObj_Impl_XmlDocument& document) {
    SaveXmlFileFrom(TargetElement(document, call, 2), call.Text(0), call.Text(1));
}

void TtsLibXmlDocument::ToString(LibCall& call, TObj_Impl_XmlDocument& document) {
    call.ReturnText(SaveXmlText(TargetElement(document, call, 1), call.Text(0)));
}

TtsLibXmlDocument::TtsLibXmlDocument(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlDocument>(runtime::AccessAll);
    Publish({
        {"Clear", Method<&TtsLibXmlDocument::Clear>, 0, 0},
        {"LoadFromFile", Method<&TtsLibXmlDocument::LoadFromFile>, 1, 2},
        {"LoadFile", Method<&TtsLibXmlDocument::LoadFromFile>, 1, 2},
        {"LoadFromString", Method<&TtsLibXmlDocument::LoadFromString>, 1, 2},
        {"LoadString", Method<&TtsLibXmlDocument::LoadFromString>, 1, 2},
        {"Locate", Method<&TtsLibXmlDocument::Locate>, 1, 1},
        {"Root", Method<&TtsLibXmlDocument::Root>, 0, 0},
        {"SaveToFile", Method<&TtsLibXmlDocument::SaveToFile>, 1, 3},
        {"ToFile", Method<&TtsLibXmlDocument::SaveToFile>, 1, 3},
        {"ToString", Method<&TtsLibXmlDocument::ToString>, 0, 2},
    });
}

void TtsLibXmlNode::GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                                TtsResult& context, std::string_view name) {
    if (address && dynamic_cast<TObj_Impl_XmlNode*>(object)) {
        out.SetValue(TtsValue::FromText(IdentityText(object) + ":" + std::string(name)));
        return;
    }
    TtsLibBase::GetProperty(out, object, address, context, name);
}

void TtsLibXmlNode::SetProperty(value::TtsObject* object, std::string_view name,
                                const TtsValue& value, TtsResult& context) {
    auto* element = dynamic_cast<TObj_Impl_XmlNode*>(object);
    if (!element) return TtsLibBase::SetProperty(object, name, value, context);
    if (value::NamesEqual(name, "value")) {
        element->SetValue(value::ToText(value));
    } else if (value::NamesEqual(name, "name")) {
        element->SetName(value::ToText(value));
    } else {
        throw EtsRuntime::NameNotFound(name);
    }
}

void TtsLibXmlNode::Name(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnText(element.Name);
}

void TtsLibXmlNode::Value(LibCall& call, TObj_Impl_XmlNode& element) {
    call.Return(element.Value);
}

void TtsLibXmlNode::Index(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnInteger(element.Index());
}

void TtsLibXmlNode::Level(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnInteger(element.Level());
}

void TtsLibXmlNode::Path(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnText(element.Path());
}

void TtsLibXmlNode::Parent(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(element.Parent());
}

void TtsLibXmlNode::Nodes(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(&element.Nodes());
}

void TtsLibXmlNode::Props(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(element.Props.Get());
}

void TtsLibXmlNode::Attrs(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(element.Attrs.Get());
}

void TtsLibXmlNode::Find(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(element.Find(call.Text(0)));
}

void TtsLibXmlNode::FindByProp(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnObject(element.FindByProp(call.Text(0), call.Text(1), call.Flag(2, false)));
}

void TtsLibXmlNode::Delete(LibCall&, TObj_Impl_XmlNode& element) {
    element.Delete();
}

void TtsLibXmlNode::ToFile(LibCall& call, TObj_Impl_XmlNode& element) {
    SaveXmlFileFrom(element, call.Text(0), call.Text(1));
}

void TtsLibXmlNode::ToString(LibCall& call, TObj_Impl_XmlNode& element) {
    call.ReturnText(SaveXmlText(element, call.Text(0)));
}

void TtsLibXmlNode::LoadFile(LibCall& call, TObj_Impl_XmlNode& element) {
    LoadXmlFileInto(element, call.Text(0));
}

void TtsLibXmlNode::LoadString(LibCall& call, TObj_Impl_XmlNode& element) {
    LoadXmlText(element, call.Text(0));
}

void TtsLibXmlNode::Copy(LibCall& call, TObj_Impl_XmlNode& element) {
    element.CopyFrom(call.ObjectAs<TObj_Impl_XmlNode>(0));
}

void TtsLibXmlNode::CopyValue(LibCall& call, TObj_Impl_XmlNode& element) {
    element.CopyValueFrom(call.ObjectAs<TObj_Impl_XmlNode>(0));
}

TtsLibXmlNode::TtsLibXmlNode(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlNode>(runtime::AccessAll);
    Publish({
        {"Name", Method<&TtsLibXmlNode::Name>, 0, 0},
        {"Value", Method<&TtsLibXmlNode::Value>, 0, 0},
        {"Index", Method<&TtsLibXmlNode::Index>, 0, 0},
        {"Level", Method<&TtsLibXmlNode::Level>, 0, 0},
        {"Path", Method<&TtsLibXmlNode::Path>, 0, 0},
        {"Parent", Method<&TtsLibXmlNode::Parent>, 0, 0},
        {"Nodes", Method<&TtsLibXmlNode::Nodes>, 0, 0},
        {"Props", Method<&TtsLibXmlNode::Props>, 0, 0},
        {"Attrs", Method<&TtsLibXmlNode::Attrs>, 0, 0},
        {"Find", Method<&TtsLibXmlNode::Find>, 1, 1},
        {"FindByProp", Method<&TtsLibXmlNode::FindByProp>, 2, 3},
        {"Delete", Method<&TtsLibXmlNode::Delete>, 0, 0},
        {"ToFile", Method<&TtsLibXmlNode::ToFile>, 1, 2},
        {"ToString", Method<&TtsLibXmlNode::ToString>, 0, 1},
        {"LoadFile", Method<&TtsLibXmlNode::LoadFile>, 1, 1},
        {"LoadString", Method<&TtsLibXmlNode::LoadString>, 1, 1},
        {"Copy", Method<&TtsLibXmlNode::Copy>, 1, 1},
        {"CopyValue", Method<&TtsLibXmlNode::CopyValue>, 1, 1},
    });
}

void TtsLibXmlNodeList::GetItem(front::TtsExpression& out, value::TtsObject* object,
                                TtsResult& context, const TtsValue& index) {
    auto* list = dynamic_cast<TObj_Impl_XmlNodeList*>(object);
    if (!list || !value::TtsValueHelper::IsIntLike(index))
        return TtsLibBase::GetItem(out, object, context, index);
    const std::int64_t position = value::ToInt64(index);
    if (position < 0) throw EtsRuntime::ListIndexError(position);
    out.SetValue(TtsValue());
    if (position < list->Count()) out.SetObject(list->Item(static_cast<int>(position)));
}

void TtsLibXmlNodeList::Add(LibCall& call, TObj_Impl_XmlNodeList& list) {
    TObj_Impl_XmlNode& added = list.Add(call.Text(0));
    if (call.Count() > 1) added.SetValue(call.Text(1));
    call.ReturnObject(&added);
}

void TtsLibXmlNodeList::Delete(LibCall& call, TObj_Impl_XmlNodeList& list) {
    list.Delete(call.Integer(0));
}

void TtsLibXmlNodeList::Clear(LibCall&, TObj_Impl_XmlNodeList& list) {
    list.Clear();
}

void TtsLibXmlNodeList::Count(LibCall& call, TObj_Impl_XmlNodeList& list) {
    call.ReturnInteger(list.Count());
}

TtsLibXmlNodeList::TtsLibXmlNodeList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlNodeList>(runtime::AccessAll);
    Publish({
        {"Add", Method<&TtsLibXmlNodeList::Add>, 1, 2},
        {"Delete", Method<&TtsLibXmlNodeList::Delete>, 1, 1},
        {"Clear", Method<&TtsLibXmlNodeList::Clear>, 0, 0},
        {"Count", Method<&TtsLibXmlNodeList::Count>, 0, 0},
    });
}

} // namespace ozra::libs
