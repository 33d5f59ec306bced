// Runs script text with every standard library in a fresh host, inside a
// temporary folder of its own: the output text, or the message of the
// error that ended the run. "%T%" in a script stands for the folder (with a
// trailing "/").
#pragma once

#include "../support/temp_folder.h"
#include "front/parser.h"
#include "libs/standard_libraries.h"
#include "runtime/evaluator.h"
#include "runtime/global_data.h"
#include "runtime/host.h"
#include "runtime/result.h"
#include "runtime/run_host.h"
#include "value/errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <string_view>

namespace ozra::libs::testing {

struct ScriptRun {
    std::string Output;
    std::string Error; // empty when the run succeeded
};

using ozra::testing::TempFolder;

inline std::string WithFolder(std::string_view script, const std::string& folder) {
    std::string text(script);
    for (std::size_t at = text.find("%T%"); at != std::string::npos; at = text.find("%T%", at))
        text.replace(at, 3, folder);
    return text;
}

// `more` adds libraries beyond the standard ones; `prepare` sets up the run's
// data before the host is made (a desktop, the environment flag).
inline ScriptRun RunWithLibraries(std::string_view script, const std::string& folder,
                                  const AutomationClasses& classes = AutomationClasses::None(),
                                  void (*more)(runtime::TLibRegister&) = nullptr,
                                  const std::function<void(runtime::TGlobalData&)>& prepare = {}) {
    front::TtsParser parser;
    std::string parseErrors;
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        parseErrors += std::to_string(position) + ": " + message + "\n";
    };
    const std::string text = WithFolder(script, folder);
    value::Ref<front::TtsBlock> root = parser.Parse(text);
    ScriptRun run;
    if (!root || !parseErrors.empty()) {
        run.Error = "parse error " + parseErrors;
        return run;
    }
    runtime::TLibRegister libraries;
    AddStandardLibraries(libraries, classes);
    if (more) more(libraries);
    runtime::TGlobalData global;
    global.ScriptFolder = folder;
    if (prepare) prepare(global);
    runtime::RunParameters parameters;
    parameters.TemplateFolder = folder;
    parameters.TargetFolder = folder;
    auto host = runtime::AssembleRunHost(global, parameters, libraries);
    try {
        runtime::TtsResult context(host.Get());
        runtime::Run(*root, context);
        // "??" ends its line with CR LF; outputs are compared with LF.
        run.Output = context.Text;
        for (std::size_t at = run.Output.find("\r\n"); at != std::string::npos;
             at = run.Output.find("\r\n", at))
            run.Output.erase(at, 1);
    } catch (const std::exception& error) {
        run.Error = error.what();
    }
    return run;
}

inline ScriptRun RunWithLibraries(std::string_view script, const std::string& folder,
                                  const std::function<void(runtime::TGlobalData&)>& prepare) {
    return RunWithLibraries(script, folder, AutomationClasses::None(), nullptr, prepare);
}

// One script and what it must print, or the message it must fail with.
struct ScriptCase {
    std::string Script;
    std::string Output;
    std::string Error = "";
};

inline void ExpectScriptCases(const std::vector<ScriptCase>& cases,
                              const AutomationClasses& classes = AutomationClasses::None()) {
    for (const ScriptCase& c : cases) {
        TempFolder folder;
        const ScriptRun run = RunWithLibraries(c.Script, folder.Path, classes);
        EXPECT_EQ(run.Error, WithFolder(c.Error, folder.Path)) << c.Script;
        if (run.Error.empty()) {
            EXPECT_EQ(run.Output, WithFolder(c.Output, folder.Path)) << c.Script;
        }
    }
}

} // namespace ozra::libs::testing
