// Finding and loading the project a packaged program carries.
#include "compiled/program_data.h"

#include "compiled/tts_compiler.h"
#include "libs/path_helper.h"
#include "runtime/run_error.h"

#include <exception>

namespace ozra::compiled {

std::optional<std::string> EmbeddedProject() {
    try {
        return FindStreamAtEnd(libs::ProgramFile());
    } catch (const std::exception&) {
        // A program that cannot read itself carries nothing it could run.
        return std::nullopt;
    }
}

value::Ref<front::TtsBlock> LoadEmbeddedProject(std::string stream) {
    try {
        return TtsCompiler::Load(std::move(stream));
    } catch (...) {
        std::throw_with_nested(
            runtime::EvmErrorException("The file [" + libs::ProgramFile() + "] is damaged!"));
    }
}

} // namespace ozra::compiled
