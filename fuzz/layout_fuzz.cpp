// Feeds arbitrary bytes to the layout reader. Whatever it makes of them must
// write back out and read again to the same layout: no input may crash,
// hang, allocate beyond its own size or read into something the writer
// cannot reproduce.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ide/core/layout_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ozra::ide::LayoutFile layout = ozra::ide::ReadLayout(bytes);
    layout.Damaged = false;
    const ozra::ide::LayoutFile again = ozra::ide::ReadLayout(ozra::ide::WriteLayout(layout));
    if (!(again == layout)) std::abort();
    return 0;
}
