// Whole-file reads and writes: the way every part of the system reads a
// file it needs whole and writes a file it makes whole (script and template
// files, generated targets, saved lists, XML documents, and later compiled
// scripts, projects and layouts).
//
// `ReplaceWholeFile` writes the new content to a temporary file beside the
// target, forces it to disk and renames it over the target, so a crash or a
// full disk leaves either the old file or the whole new one, never a
// truncated mix, and no temporary behind. The new file keeps the mode of the
// one it replaces; a file that did not exist gets 0666 less the umask. When
// the target is a symbolic link, the file it names is replaced and the link
// stays. A hard link to the old file keeps the old content.
//
// Failures raise `platform::Error` naming the path as given: «Cannot open
// file» for reads, «Cannot create file» for a replacement, «Cannot write
// file» for an addition.
#pragma once

#include <string>
#include <string_view>

namespace ozra::platform {

// All bytes of the file ("" for an empty one).
std::string ReadWholeFile(const std::string& path);
void ReplaceWholeFile(const std::string& path, std::string_view bytes);
// Adds the bytes at the end of the file, creating it; an addition that
// fails part-way is taken back (see output_file.h).
void AppendToFile(const std::string& path, std::string_view bytes);

} // namespace ozra::platform
