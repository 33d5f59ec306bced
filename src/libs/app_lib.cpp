// The application library.
#include "libs/app_lib.h"

#include "libs/lib_support.h"
#include "libs/path_helper.h"
#include "runtime/desktop.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/names.h"

namespace ozra::libs {

namespace {

std::string RunningProgram() {
    try {
        return ProgramFile();
    } catch (const value::EtsRuntime&) {
        return "";
    }
}

} // namespace

TSys_Impl_App::TSys_Impl_App(runtime::TGlobalData& global)
    : Global(global), Properties(value::MakeRef<runtime::TSettingList>()) {
    Properties->Add("Icon=");
    Properties->Add("Title=");
    Properties->Add("Executor=" + RunningProgram());
}

void TtsLibApp::GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                            runtime::TtsResult& context, std::string_view name) {
    auto* app = dynamic_cast<TSys_Impl_App*>(object);
    const int entry = app ? app->Properties->IndexOfName(name) : -1;
    if (entry < 0) return TtsLibBase::GetProperty(out, object, address, context, name);
    out.SetValue(TtsValue::FromText(app->Properties->ValueAt(entry)));
}

void TtsLibApp::SetProperty(value::TtsObject* object, std::string_view name,
                            const TtsValue& value, runtime::TtsResult& context) {
    auto* app = dynamic_cast<TSys_Impl_App*>(object);
    const int entry = app ? app->Properties->IndexOfName(name) : -1;
    if (entry < 0) throw value::EtsRuntime::NameNotFound(name);
    if (app->Global.StartedFromEnvironment) return;
    const std::string text = value::ToText(value);
    const std::string entryName(app->Properties->NameAt(entry));
    app->Properties->SetValue(entryName, text);
    if (value::NamesEqual(entryName, "Title")) app->Global.Gui.SetApplicationTitle(text);
    if (value::NamesEqual(entryName, "Icon")) app->Global.Gui.SetApplicationIcon(text);
}

void TtsLibApp::Run(LibCall&, TSys_Impl_App& app) {
    if (app.Global.WindowLoop) app.Global.WindowLoop();
}

TtsLibApp::TtsLibApp(runtime::TtsHost& host, runtime::TGlobalData& global) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_App>(runtime::AccessAll);
    RegisterGlobal("App", value::MakeRef<TSys_Impl_App>(global).Get());
    Publish({
        {"Run", Method<&TtsLibApp::Run>, 0, 0},
    });
}

} // namespace ozra::libs
