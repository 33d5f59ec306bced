// Feeds arbitrary bytes to the XML loader of the simplified tree, and
// writes every tree it accepts back out and loads that again: each input
// must end in a tree or in a clear error, never in a crash, a hang or a
// leak, and a written tree must always read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "libs/xml/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ozra::xml::XmlElement element;
    try {
        element = ozra::xml::ParseXml(text);
    } catch (const ozra::xml::XmlError&) {
        return 0;
    }
    std::string written;
    try {
        written = ozra::xml::WriteXml(element, {});
    } catch (const ozra::xml::XmlError&) {
        // Names the parser accepts but the writer refuses (it is stricter).
        return 0;
    }
    if (!element.IsEmpty()) (void)ozra::xml::ParseXml(written);
    return 0;
}
