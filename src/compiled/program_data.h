// The data a packaged program carries inside itself.
//
// A packaged program is a copy of the `ozra` runner with a compiled project
// appended to its file: `cp ozra gen && cat gen.ozrabin >> gen`. The ELF
// loader maps only what the program headers name, so bytes after them are
// never loaded or run, yet stay with the file when it is copied or moved.
// The stream's trailer, the file's last bytes, leads back to its header,
// and the runner checks for one at every start (two small reads). Such a
// program runs its own project and ignores any script named on its command
// line; its script file, for the ".cfg" file and the default target folder,
// is the program itself. This is the design's resource "BIN"; its other
// embedded scripts ("UI", "DLG") belong to the UI library, which finds them
// in the "Library/" folder next to the program instead. Stripping the file
// (`strip`) removes the appended data: package after stripping.
#pragma once

#include "front/syntax_tree.h"

#include <optional>
#include <string>

namespace ozra::compiled {

// The compiled project appended to the running program's file, if any.
std::optional<std::string> EmbeddedProject();

// The tree of that project; a damaged one raises
// "The file [program] is damaged!".
value::Ref<front::TtsBlock> LoadEmbeddedProject(std::string stream);

} // namespace ozra::compiled
