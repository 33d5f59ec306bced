// Feeds arbitrary bytes to the loader as a compiled stream: every input must
// end in a tree or in a clear error, never in a crash, a hang or a leak. A
// tree that loads is written and loaded again, and must come back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

#include "compiled/tts_compiler.h"
#include "front/tree_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using ozra::compiled::TtsCompiler;
    ozra::value::Ref<ozra::front::TtsBlock> root;
    try {
        root = TtsCompiler::Load(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        return 0;
    }
    const std::string dump = ozra::front::DumpTree(*root);
    const auto again = TtsCompiler::Load(TtsCompiler::Save(*root, false));
    if (ozra::front::DumpTree(*again) != dump) std::abort();
    return 0;
}
