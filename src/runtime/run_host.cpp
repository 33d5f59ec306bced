// The host of one run.
#include "runtime/run_host.h"

#include "runtime/global_data.h"

namespace ozra::runtime {

using namespace value;

Ref<TtsHost> AssembleRunHost(TGlobalData& global, const RunParameters& parameters,
                             const TLibRegister& libraries) {
    Ref<TtsHost> host = MakeRef<TtsHost>();
    host->SetVariable("Tables", TtsValue());
    host->SetVariable("Objects", TtsValue());
    host->SetVariable("NameSpace", TtsValue::FromText(parameters.NameSpace));
    host->SetVariable("SchemaName", TtsValue::FromText(parameters.SchemaName));
    host->SetVariable("TemplatePath", TtsValue::FromText(parameters.TemplateFolder));
    host->SetVariable("TargetPath", TtsValue::FromText(parameters.TargetFolder));
    libraries.ConstructAll(*host, global);
    return host;
}

} // namespace ozra::runtime
