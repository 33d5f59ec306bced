// The hosts of the environment's runs: every standard library, and the
// options a run reads from the project file or from the script run alone
// (its ".cfg" file), as a plain run of the same file would.
#pragma once

#include "runtime/global_data.h"
#include "runtime/host.h"
#include "runtime/lib_register.h"

#include <string>

namespace ozra::ide {

class StandardRunHosts {
  public:
    StandardRunHosts();
    // A run of an untitled file (empty `optionsFile`) has no options.
    value::Ref<runtime::TtsHost> Make(runtime::TGlobalData& global, const std::string& optionsFile);
    runtime::TLibRegister& Libraries() noexcept { return libraries_; }

  private:
    runtime::TLibRegister libraries_;
};

} // namespace ozra::ide
