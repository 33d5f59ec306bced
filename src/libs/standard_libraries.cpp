// One line a library: its factory, added in any order (the slot decides the
// construction order).
#include "libs/standard_libraries.h"

#include "libs/text_lib_support.h"
#include "libs/match_base_lib.h"
#include "libs/match_lib.h"
#include "libs/regex_lib.h"
#include "libs/string_lib.h"

namespace ozra::libs {

void AddStandardLibraries(runtime::TLibRegister& libraries) {
    using runtime::LibrarySlot;
    libraries.Add(LibrarySlot::DefaultLibrary, &text_support::MakeLibrary<TtsLibString>);
    libraries.Add(LibrarySlot::MatchBase, &text_support::MakeLibrary<raw::TtsLibMatch>);
    libraries.Add(LibrarySlot::Text, &text_support::MakeLibrary<TtsLibText>);
    libraries.Add(LibrarySlot::Group, &text_support::MakeLibrary<TtsLibGroup>);
    libraries.Add(LibrarySlot::Match, &text_support::MakeLibrary<TtsLibMatch>);
    libraries.Add(LibrarySlot::Regex, &text_support::MakeLibrary<TtsLibRegex>);
}

}  // namespace ozra::libs
