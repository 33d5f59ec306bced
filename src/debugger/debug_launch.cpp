// Compiling a debugged program and making its runs' hosts.
#include "debugger/debug_launch.h"

#include "compiled/project_compiler.h"
#include "runtime/command_parser.h"
#include "runtime/run_host.h"

#include <memory>

namespace ozra::debugger {

DebugProgram CompileDebugProgram(const std::string& scriptFile, const UnitNamer& unitName) {
    DebugProgram program;
    compiled::TvmProjectCompiler compiler(scriptFile);
    compiler.ParseUnit = [&program, &unitName](const compiled::UnitSource& unit) {
        auto data = std::make_shared<TVeDebugData>(unitName(unit.FullPath), unit.FileIndex);
        program.Units.push_back(data);
        return TVeDebugCompiler::Parse(unit.Text, *data, unit.Include, unit.Target);
    };
    program.Node = compiler.Compile();
    return program;
}

HostFactory HostFromOptions(std::string script, std::vector<std::string> words,
                            const runtime::TLibRegister& libraries) {
    return [script = std::move(script), words = std::move(words),
            &libraries](runtime::TGlobalData& global) {
        runtime::TCommandParser options(global);
        const runtime::RunParameters parameters = options.ReadParameters(script, words);
        return runtime::AssembleRunHost(global, parameters, libraries);
    };
}

} // namespace ozra::debugger
