// Where this system keeps each user's own files (data link files, the
// environment's configuration, layouts and histories): $WEFTLINE_HOME when
// set, else "weftline-studio" in $XDG_CONFIG_HOME, else in ~/.config. A
// program installed in a folder its users cannot write needs a folder of
// their own, so nothing is kept beside the program.
#pragma once

#include <string>

namespace ozra::platform {

// The folder with a trailing "/"; it may not exist yet.
std::string UserConfigFolder();

} // namespace ozra::platform
