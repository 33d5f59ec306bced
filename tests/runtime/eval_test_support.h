// Runs script text through the parser and the evaluator for the evaluator's
// tests: the output text, or the message of the error that ended the run.
#pragma once

#include "front/parser.h"
#include "runtime/evaluator.h"
#include "runtime/host.h"
#include "value/errors.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace ozra::runtime::testing {

struct ScriptRun {
    std::string Output;
    std::string Error; // empty when the run succeeded
};

inline value::Ref<front::TtsBlock> ParseScript(std::string_view text) {
    front::TtsParser parser;
    std::vector<std::string> errors;
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        errors.push_back(std::to_string(position) + ": " +
                         (message.empty() ? std::string("Syntax error") : message));
    };
    value::Ref<front::TtsBlock> root = parser.Parse(text);
    for (const std::string& error : errors)
        ADD_FAILURE() << "parse error " << error;
    return root;
}

// Runs the script `times` times on one tree (state stays in the nodes).
inline ScriptRun RunScript(std::string_view text, int times = 1) {
    value::Ref<front::TtsBlock> root = ParseScript(text);
    auto host = value::MakeRef<TtsHost>();
    ScriptRun run;
    if (!root) return run;
    try {
        for (int i = 0; i < times; ++i) {
            TtsResult context(host.Get());
            Run(*root, context);
            run.Output += context.Text;
        }
    } catch (const value::EtsException& error) {
        run.Error = error.what();
    }
    return run;
}

} // namespace ozra::runtime::testing
