// `TtsCompiler`: the compiled form of a syntax tree, loaded and saved.
//
// A stream ends with its own start marker (the trailer), so it can be a file
// of its own (".ozrabin"), the tail of any other file it was appended to (an
// executable), or the program's own embedded data (see program_data.h).
// Loading reads only the stream: the trailer, then the header and blocks it
// points back to, however large the file in front of it is.
//
// Loading (stream_reader.h) links the tree as it reads it and checks its
// shape before it hands it out: a stream that fails, truncated, corrupted
// or made by hand, raises `EtsCompiler` with a clear message and leaves
// nothing behind.
#pragma once

#include "front/syntax_tree.h"

#include <optional>
#include <string>

namespace ozra::compiled {

class TtsCompiler {
  public:
    // The tree of the stream that ends `bytes`.
    static value::Ref<front::TtsBlock> Load(std::string bytes);
    // The tree of the stream at the end of a file.
    static value::Ref<front::TtsBlock> LoadFile(const std::string& fileName);
    // The stream of a tree; scrambled own parts keep its texts from being
    // read at a glance.
    static std::string Save(const front::TtsBlock& root, bool scrambled = true);
};

// The bytes of the stream at the end of a file, from its header to its
// trailer; raises when the file cannot be read or ends with no stream.
std::string ReadStreamAtEnd(const std::string& fileName);
// The same, or nothing when the file does not end with a stream header and
// trailer (the program's own file, which usually carries none).
std::optional<std::string> FindStreamAtEnd(const std::string& fileName);

} // namespace ozra::compiled
