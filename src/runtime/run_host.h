// Assembly of a run's host: the host block with its system variables, the
// code-generation variables of the run's parameters, and every library of
// the registrar.
//
// "Tables" and "Objects" start Empty; the data library, when it is linked,
// loads the run's schema (`TGlobalData::SchemaFile`) and fills them.
#pragma once

#include "runtime/command_parser.h"
#include "runtime/host.h"
#include "runtime/lib_register.h"

namespace ozra::runtime {

class TGlobalData;

value::Ref<TtsHost> AssembleRunHost(TGlobalData& global, const RunParameters& parameters,
                                    const TLibRegister& libraries);

} // namespace ozra::runtime
