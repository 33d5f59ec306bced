// `TVeDebugCompiler`: parses one unit's text into a syntax tree while
// filling its `TVeDebugData`: a record per statement, the end marker of
// every control, the line map, the line ends and the syntax errors.
//
// Every statement also gets its line, column and file index, as any compile
// gives them, so run-time errors and the libraries locate statements alike
// in debugged and plain runs. Syntax errors become bookmarks and the parse
// goes on; past `MaxErrors` the parse stops with a last "Too many errors."
// bookmark. An exception that escapes the parse becomes one bookmark
// without a place: a memory error or one of the system's own errors (an
// unreadable included file) with its message, anything else as "Internal
// error " + the decimal CRC-32 of its message. The tree, however far the
// parse got, becomes the data's `Block`.
//
// A compile shares nothing but read-only tables with other compiles, so
// several may run at once on different threads, each with its own data.
#pragma once

#include "debugger/debug_data.h"
#include "front/syntax_tree.h"

#include <string_view>

namespace ozra::debugger {

class TVeDebugCompiler {
  public:
    static constexpr int MaxErrors = 1000;

    // Parses `text` into `data` (into `parentBlock` when one is given,
    // otherwise into a new root block) and answers the block. `include`
    // compiles the files that "using" and "file" heads name; it may be
    // empty, and then included files stay empty.
    static value::Ref<front::TtsBlock> Parse(std::string_view text, TVeDebugData& data,
                                             const front::FileLoader& include,
                                             value::Ref<front::TtsBlock> parentBlock = {});
};

// "Internal error " + the decimal CRC-32 of the message.
std::string InternalErrorMessage(std::string_view message);

} // namespace ozra::debugger
