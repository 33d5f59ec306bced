// `TvmProjectCompiler`: the one way a project becomes a syntax tree. The
// runner, the run-time library and the tools compile through it, so they
// all resolve included files, cache units and report errors alike.
//
// Given a main file (or main source text), it yields one tree in which
// every used unit is attached, parsing each source file once and keeping
// the result by full path, or it loads the compiled tree when the main file
// is one (a ".ozrabin" file, or an executable with a stream appended: an
// ".exe" file or, on this system, any ELF file).
//
// Included names resolve against the folder of the file that names them
// (see `TPathHelper::ExpandPath`: «:name» is under the program's folder). A
// unit used by several "using" statements is one shared block; "file" heads
// compile their file anew into their own body. A file that includes
// itself, directly or through others, is refused at the statement that
// names it with "Circular file reference : " + the name as written, and so
// is an included file that cannot be read, with its open error.
//
// `FileList` holds the full path of every source file read, in first-use
// order; a statement's `FileIndex` is its file's position there.
#pragma once

#include "compiled/file_compiler.h"
#include "front/compile_driver.h"
#include "front/syntax_tree.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ozra::compiled {

// One source unit to parse: what a `UnitParser` is given.
struct UnitSource {
    const std::string& Text;
    const std::string& FullPath;
    std::int32_t FileIndex;
    // Compiles a unit the text includes, through this compiler.
    front::FileLoader Include;
    // The block to parse into; none for a shared unit.
    value::Ref<front::TtsBlock> Target;
};
using UnitParser = std::function<value::Ref<front::TtsBlock>(const UnitSource& unit)>;

// A compiled script: its tree and the files it was read from.
struct CompiledScript {
    value::Ref<front::TtsBlock> Root;
    std::vector<std::string> FileList;
};

class TvmProjectCompiler {
  public:
    // Exactly one is used: the text when the file name is empty.
    TvmProjectCompiler(std::string mainFile, std::string mainText = {});

    // The project's root block. Errors are `EvmErrorException`s; a second
    // call raises "Can only compile once!".
    value::Ref<front::TtsBlock> Compile();
    // Compiles a file into `target`, or into a new block when none is given
    // (a shared unit), and answers the block; the parser's `OnLoadFile`.
    value::Ref<front::TtsBlock> LoadUnit(const std::string& fileName,
                                         value::Ref<front::TtsBlock> target);

    const std::vector<std::string>& FileList() const noexcept { return fileList_; }

    // The run-time library's operations: a fresh compiler each. Relative
    // names of a text resolve against `baseFolder`.
    static CompiledScript CompileFile(const std::string& fileName);
    static CompiledScript CompileText(const std::string& source, const std::string& baseFolder);

    std::string MainFile;
    std::string MainText;
    // When set, the text of the main file, which is then not read (a script
    // from standard input has a name but no file).
    std::optional<std::string> MainFileText;
    // The folder the main unit's relative names resolve against; when
    // empty, the main file's folder.
    std::string BaseFolder;
    // Called with the full path of each file that joins `FileList`.
    std::function<void(const std::string& fullPath)> OnNewFile;
    // When set, errors are collected here and compiling goes on.
    std::vector<front::CompileError>* CollectedErrors = nullptr;
    // When set, parses every source unit in place of the file compiler: the
    // debugger's compile, which keeps its own data for each unit.
    UnitParser ParseUnit;
    // When set, told of every call of a plain name in the sources compiled.
    CallObserver OnCall;

  private:
    bool IsTextForm() const noexcept { return MainFile.empty(); }
    std::int32_t FileIndex(const std::string& fullPath);
    value::Ref<front::TtsBlock> LoadCompiled(const std::string& fullPath);
    std::string ReadSource(const std::string& fullPath) const;
    // The main unit's text when it is not read from its file.
    const std::string& SourceGiven() const;

    int compileCount_ = 0;
    bool compiledForm_ = false;
    // Full paths of the units being compiled, innermost last.
    std::vector<std::string> unitStack_;
    // Full path -> shared unit; none while that unit is being compiled.
    std::unordered_map<std::string, value::Ref<front::TtsBlock>> units_;
    std::vector<std::string> fileList_;
};

// Whether a main file is a compiled form rather than a source.
bool IsCompiledForm(const std::string& fileName);

} // namespace ozra::compiled
