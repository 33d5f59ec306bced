// The run-wide data that libraries consult: the configuration, the script's
// folder, the thread the script runs on, the schema options of the run, the
// root context, and the ways host code calls back into script objects.
//
// One `TGlobalData` exists per run, owned by whoever starts the run. When a
// run has no runner thread (the `ozra` program runs scripts on its main
// thread), yielding does nothing and the run is never asked to stop.
// Callbacks meant for the main thread go to the GUI thread of the run's
// desktop (desktop.h) when the program offers one, and run directly
// otherwise.
#pragma once

#include "runtime/desktop.h"
#include "runtime/script_helper.h"
#include "runtime/setting_list.h"
#include "value/object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::front {
class TtsObjectNode;
class TtsStatement;
} // namespace ozra::front

namespace ozra::runtime {

class TOzraExecutor;
class TtsResult;

// The thread a debugged run goes on; the debugger implements it.
class TRunningThreadBase {
  public:
    virtual ~TRunningThreadBase() = default;
    // Honours a stop or pause request at that statement.
    virtual void Yield(const front::TtsStatement* statement) = 0;
    virtual bool StopRequested() const noexcept = 0;
};

class TGlobalData {
  public:
    // Shows a statement's unit at its position and answers the text
    // "\r\n\r\nFile: %s @ %d,%d".
    using LocateCallback = std::function<std::string(const front::TtsStatement& statement)>;

    explicit TGlobalData(TRunningThreadBase* runner = nullptr);
    TGlobalData(const TGlobalData&) = delete;
    TGlobalData& operator=(const TGlobalData&) = delete;
    ~TGlobalData();

    void Yield(const front::TtsStatement* statement);
    void RunOnMainThread(const std::function<void()>& callback);
    bool Terminated() const noexcept;
    // A deferred call of a script object's method, made on the root context.
    std::unique_ptr<TOzraExecutor> MakeExecutor(front::TtsObjectNode& object,
                                                std::string_view dottedMethod);

    TSettingList& Configuration() noexcept { return *configuration_; }
    const TSettingList& Configuration() const noexcept { return *configuration_; }

    TRunningThreadBase* Runner;
    TScriptHelper ScriptCall;
    // The folder of the main script file, with a trailing "/".
    std::string ScriptFolder;
    // The full paths of the files of the script whose code runs now, which
    // its statements' `FileIndex` indexes; none for a tree loaded from its
    // compiled form, which has no positions. A script object that runs
    // points it at its own files for as long as it runs.
    const std::vector<std::string>* FileList = nullptr;
    // Set by the debugger: the application library then leaves the program's
    // own title and icon alone.
    bool StartedFromEnvironment = false;
    LocateCallback Locate;
    // The window system, when the program offers one.
    Desktop Gui;
    // The UI library's window loop (`App.Run`), when that library is linked.
    std::function<void()> WindowLoop;
    TtsResult* RootContext = nullptr;
    // Options /X and /D.
    std::string SchemaFile;
    std::string SchemaOption;

  private:
    value::Ref<TSettingList> configuration_;
};

} // namespace ozra::runtime
