// Every method a library publishes to scripts is described in
// docs/libraries.md: a library added, or a method added to one, without its
// description fails here. The libraries are those a run of the runner gets. Each library's section
// is marked with a comment naming the library's C++ class («<!-- ozra::libs::TtsLibString -->»),
// and a method is described by a table row that starts with its name («| `Left(count)` | ...»).
#include "platform/whole_file.h"
#include "run_libraries.h"
#include "runtime/global_data.h"
#include "runtime/host.h"
#include "runtime/lib_register.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <string>
#include <typeinfo>

namespace ozra::docs {
namespace {

std::string Demangled(const char* name) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
    return status == 0 ? readable.get() : name;
}

// The part of the page from the library's marker to the next marker.
std::string SectionOf(const std::string& page, const std::string& marker) {
    const std::size_t start = page.find(marker);
    if (start == std::string::npos) return {};
    const std::size_t end = page.find("<!-- ", start + marker.size());
    return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST(Documentation, EveryPublishedMethodIsDescribed) {
    runtime::TGlobalData global;
    auto host = value::MakeRef<runtime::TtsHost>();
    const runtime::TLibRegister libraries = app::Libraries();
    libraries.ConstructAll(*host, global);
    const std::string page =
        platform::ReadWholeFile(std::string(OZRA_SOURCE_DIR) + "/docs/libraries.md");
    for (const runtime::TtsLibBase* library : host->Libraries()) {
        const std::string name = Demangled(typeid(*library).name());
        const std::string marker = "<!-- " + name + " -->";
        const std::string section = SectionOf(page, marker);
        std::string missing;
        for (const runtime::PublishedMethod& method : library->PublishedMethods()) {
            const std::string row = "| `" + std::string(method.Name);
            if (section.find(row + "(") == std::string::npos &&
                section.find(row + "`") == std::string::npos)
                missing += " " + std::string(method.Name);
        }
        EXPECT_EQ(missing, "") << "docs/libraries.md does not describe these methods of " << name
                               << " in the section marked " << marker << ":" << missing;
    }
}

} // namespace
} // namespace ozra::docs
