// Run-wide data and the operations libraries use to cooperate with the
// thread that runs the script.
#include "runtime/global_data.h"

#include "runtime/script_helper.h"
#include "value/errors.h"

namespace ozra::runtime {

using namespace value;

TGlobalData::TGlobalData(TRunningThreadBase* runner)
    : Runner(runner), ScriptCall(*this), configuration_(MakeRef<TSettingList>()) {}

TGlobalData::~TGlobalData() = default;

void TGlobalData::Yield(const front::TtsStatement* statement) {
    if (Runner) Runner->Yield(statement);
}

void TGlobalData::RunOnMainThread(const std::function<void()>& callback) {
    if (Gui.Offered()) {
        Gui.Call("Desktop", [&](DesktopBridge&) { callback(); });
    } else {
        callback();
    }
}

bool TGlobalData::Terminated() const noexcept {
    return Runner && Runner->StopRequested();
}

std::unique_ptr<TOzraExecutor> TGlobalData::MakeExecutor(front::TtsObjectNode& object,
                                                         std::string_view dottedMethod) {
    if (!RootContext) throw EtsRuntime("no script is running.");
    return std::make_unique<TOzraExecutor>(*RootContext, object, std::string(dottedMethod));
}

} // namespace ozra::runtime
