// The XML libraries.
#include "libs/xml_lib.h"

#include "libs/xml_objects.h"
#include "runtime/host.h"
#include "value/names.h"
#include "value/operators.h"

namespace ozra::libs {

using runtime::TtsResult;
using value::EtsRuntime;

namespace {

// The optional element argument of document loads and saves: the root
// when absent.
TObj_Impl_XmlNode& TargetElement(TObj_Impl_XmlDocument& document,
                                 const front::TtsExpressions* arguments, int index) {
    if (runtime::TtsLibBase::ArgumentCount(arguments) <= index) return *document.Root;
    auto* element = dynamic_cast<TObj_Impl_XmlNode*>(ObjectArgument(arguments, index));
    if (!element) throw EtsRuntime::ParameterError();
    return *element;
}

TObj_Impl_XmlNode& ElementArgument(const front::TtsExpressions* arguments, int index) {
    auto* element = dynamic_cast<TObj_Impl_XmlNode*>(ObjectArgument(arguments, index));
    if (!element) throw EtsRuntime::ParameterError();
    return *element;
}

} // namespace

void TtsLibXML::Document(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 0);
    auto document = value::MakeRef<TObj_Impl_XmlDocument>();
    if (ArgumentCount(arguments) > 0) {
        const std::string name = TextArgument(arguments, 0);
        if (name.find_first_of(":\\/.") != std::string::npos) {
            LoadXmlFileInto(*document->Root, name);
        } else {
            document->Root->Name = name;
        }
    }
    value.SetObject(document.Get());
}

TtsLibXML::TtsLibXML(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Xml>(runtime::AccessAll);
    RegisterGlobal("XML", value::MakeRef<TSys_Impl_Xml>().Get());
    Publish<TtsLibXML>({{"Document", &TtsLibXML::Document}});
}

void TtsLibXmlDocument::Clear(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 0, 0);
    document->Root->Nodes().Clear();
    document->Root->Name.clear();
    document->Root->Value.Clear();
}

void TtsLibXmlDocument::LoadFromFile(TtsResult& context, front::TtsExpression& value,
                                     const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 2, 1);
    LoadXmlFileInto(TargetElement(*document, arguments, 1), TextArgument(arguments, 0));
}

void TtsLibXmlDocument::LoadFromString(TtsResult& context, front::TtsExpression& value,
                                       const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 2, 1);
    LoadXmlText(TargetElement(*document, arguments, 1), TextArgument(arguments, 0));
}

void TtsLibXmlDocument::Locate(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 1, 1);
    value.SetObject(document->Locate(TextArgument(arguments, 0)));
}

void TtsLibXmlDocument::Root(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetObject(document->Root.Get());
}

void TtsLibXmlDocument::SaveToFile(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 3, 1);
    SaveXmlFileFrom(TargetElement(*document, arguments, 2), TextArgument(arguments, 0),
                    TextArgument(arguments, 1));
}

void TtsLibXmlDocument::ToString(TtsResult& context, front::TtsExpression& value,
                                 const front::TtsExpressions* arguments) {
    auto document = TakeReceiver<TObj_Impl_XmlDocument>(value);
    CheckArguments(context, arguments, 2, 0);
    SetText(value, SaveXmlText(TargetElement(*document, arguments, 1), TextArgument(arguments, 0)));
}

TtsLibXmlDocument::TtsLibXmlDocument(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlDocument>(runtime::AccessAll);
    Publish<TtsLibXmlDocument>({
        {"Clear", &TtsLibXmlDocument::Clear},
        {"LoadFromFile", &TtsLibXmlDocument::LoadFromFile},
        {"LoadFile", &TtsLibXmlDocument::LoadFromFile},
        {"LoadFromString", &TtsLibXmlDocument::LoadFromString},
        {"LoadString", &TtsLibXmlDocument::LoadFromString},
        {"Locate", &TtsLibXmlDocument::Locate},
        {"Root", &TtsLibXmlDocument::Root},
        {"SaveToFile", &TtsLibXmlDocument::SaveToFile},
        {"ToFile", &TtsLibXmlDocument::SaveToFile},
        {"ToString", &TtsLibXmlDocument::ToString},
    });
}

void TtsLibXmlNode::GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                                TtsResult& context, std::string_view name) {
    if (address && dynamic_cast<TObj_Impl_XmlNode*>(object)) {
        SetText(out, IdentityText(object) + ":" + std::string(name));
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

void TtsLibXmlNode::Name(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    SetText(value, element->Name);
}

void TtsLibXmlNode::Value(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetValue(element->Value);
}

void TtsLibXmlNode::Index(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, element->Index());
}

void TtsLibXmlNode::Level(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, element->Level());
}

void TtsLibXmlNode::Path(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    SetText(value, element->Path());
}

void TtsLibXmlNode::Parent(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetObject(element->Parent());
}

void TtsLibXmlNode::Nodes(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetObject(&element->Nodes());
}

void TtsLibXmlNode::Props(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetObject(element->Props.Get());
}

void TtsLibXmlNode::Attrs(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    value.SetObject(element->Attrs.Get());
}

void TtsLibXmlNode::Find(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 1);
    value.SetObject(element->Find(TextArgument(arguments, 0)));
}

void TtsLibXmlNode::FindByProp(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 3, 2);
    value.SetObject(element->FindByProp(TextArgument(arguments, 0), TextArgument(arguments, 1),
                                        FlagArgument(arguments, 2, false)));
}

void TtsLibXmlNode::Delete(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 0, 0);
    element->Delete();
}

void TtsLibXmlNode::ToFile(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 2, 1);
    SaveXmlFileFrom(*element, TextArgument(arguments, 0), TextArgument(arguments, 1));
}

void TtsLibXmlNode::ToString(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 0);
    SetText(value, SaveXmlText(*element, TextArgument(arguments, 0)));
}

void TtsLibXmlNode::LoadFile(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 1);
    LoadXmlFileInto(*element, TextArgument(arguments, 0));
}

void TtsLibXmlNode::LoadString(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 1);
    LoadXmlText(*element, TextArgument(arguments, 0));
}

void TtsLibXmlNode::Copy(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 1);
    element->CopyFrom(ElementArgument(arguments, 0));
}

void TtsLibXmlNode::CopyValue(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto element = TakeReceiver<TObj_Impl_XmlNode>(value);
    CheckArguments(context, arguments, 1, 1);
    element->CopyValueFrom(ElementArgument(arguments, 0));
}

TtsLibXmlNode::TtsLibXmlNode(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlNode>(runtime::AccessAll);
    Publish<TtsLibXmlNode>({
        {"Name", &TtsLibXmlNode::Name},
        {"Value", &TtsLibXmlNode::Value},
        {"Index", &TtsLibXmlNode::Index},
        {"Level", &TtsLibXmlNode::Level},
        {"Path", &TtsLibXmlNode::Path},
        {"Parent", &TtsLibXmlNode::Parent},
        {"Nodes", &TtsLibXmlNode::Nodes},
        {"Props", &TtsLibXmlNode::Props},
        {"Attrs", &TtsLibXmlNode::Attrs},
        {"Find", &TtsLibXmlNode::Find},
        {"FindByProp", &TtsLibXmlNode::FindByProp},
        {"Delete", &TtsLibXmlNode::Delete},
        {"ToFile", &TtsLibXmlNode::ToFile},
        {"ToString", &TtsLibXmlNode::ToString},
        {"LoadFile", &TtsLibXmlNode::LoadFile},
        {"LoadString", &TtsLibXmlNode::LoadString},
        {"Copy", &TtsLibXmlNode::Copy},
        {"CopyValue", &TtsLibXmlNode::CopyValue},
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

void TtsLibXmlNodeList::Add(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_XmlNodeList>(value);
    CheckArguments(context, arguments, 2, 1);
    TObj_Impl_XmlNode& added = list->Add(TextArgument(arguments, 0));
    if (ArgumentCount(arguments) > 1) added.SetValue(TextArgument(arguments, 1));
    value.SetObject(&added);
}

void TtsLibXmlNodeList::Delete(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_XmlNodeList>(value);
    CheckArguments(context, arguments, 1, 1);
    list->Delete(IntegerArgument(arguments, 0));
}

void TtsLibXmlNodeList::Clear(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_XmlNodeList>(value);
    CheckArguments(context, arguments, 0, 0);
    list->Clear();
}

void TtsLibXmlNodeList::Count(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_XmlNodeList>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, list->Count());
}

TtsLibXmlNodeList::TtsLibXmlNodeList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_XmlNodeList>(runtime::AccessAll);
    Publish<TtsLibXmlNodeList>({
        {"Add", &TtsLibXmlNodeList::Add},
        {"Delete", &TtsLibXmlNodeList::Delete},
        {"Clear", &TtsLibXmlNodeList::Clear},
        {"Count", &TtsLibXmlNodeList::Count},
    });
}

} // namespace ozra::libs
