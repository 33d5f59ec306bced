// The application library, reached as «System.App»: the running program's
// title, icon and file, and the UI library's window loop.
//
// The implementation object holds a property list with the entries "Icon",
// "Title" and "Executor" (the running program's full file name), in that
// order. Reading one of them answers its text; reading any other name calls
// the published method of that name, so an unknown name fails as an unknown
// function. Writing "Title" or "Icon" sets the entry and hands it to the
// run's desktop (runtime/desktop.h), which starts nothing for it: a title
// set before any dialog is shown waits for the first one. An icon file that
// cannot be loaded is ignored. Writing "Executor" sets the entry only, and
// writing another name fails with the name + " not found.". Inside the
// development environment the program's title and icon belong to the
// environment: writes of the three entries change nothing and raise nothing.
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"
#include "runtime/setting_list.h"

namespace ozra::libs {

class TSys_Impl_App final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_App(runtime::TGlobalData& global);

    std::string_view ClassName() const override { return "TSys_Impl_App"; }

    runtime::TGlobalData& Global;
    value::Ref<runtime::TSettingList> Properties;
};

class TtsLibApp final : public runtime::TtsLibBase {
  public:
    TtsLibApp(runtime::TtsHost& host, runtime::TGlobalData& global);

    void GetProperty(front::TtsExpression& out, value::TtsObject* object, bool& address,
                     runtime::TtsResult& context, std::string_view name) override;
    void SetProperty(value::TtsObject* object, std::string_view name, const value::TtsValue& value,
                     runtime::TtsResult& context) override;

  private:
    void Run(runtime::LibCall& call, TSys_Impl_App& app);
};

} // namespace ozra::libs
