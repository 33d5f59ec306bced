// Run hosts with the standard libraries.
#include "ide/core/run_hosts.h"

#include "libs/standard_libraries.h"
#include "runtime/command_parser.h"
#include "runtime/run_host.h"

namespace ozra::ide {

StandardRunHosts::StandardRunHosts() {
    libs::AddStandardLibraries(libraries_);
}

value::Ref<runtime::TtsHost> StandardRunHosts::Make(runtime::TGlobalData& global,
                                                    const std::string& optionsFile) {
    runtime::RunParameters parameters;
    if (!optionsFile.empty())
        parameters = runtime::TCommandParser(global).ReadParameters(optionsFile, {});
    return runtime::AssembleRunHost(global, parameters, libraries_);
}

} // namespace ozra::ide
