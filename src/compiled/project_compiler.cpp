// Resolving, reading, caching and compiling the units of a project.
#include "compiled/project_compiler.h"

#include "compiled/file_compiler.h"
#include "compiled/tts_compiler.h"
#include "front/text_file.h"
#include "libs/path_helper.h"
#include "libs/path_text.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "runtime/run_error.h"
#include "value/names.h"

#include <algorithm>
#include <exception>
#include <fstream>

namespace ozra::compiled {

using runtime::EvmErrorException;
using value::Ref;

namespace {

// Pops the innermost unit when its compilation ends, however it ends.
class UnitScope {
  public:
    UnitScope(std::vector<std::string>& stack, std::string fullPath) : stack_(stack) {
        stack_.push_back(std::move(fullPath));
    }
    UnitScope(const UnitScope&) = delete;
    UnitScope& operator=(const UnitScope&) = delete;
    ~UnitScope() { stack_.pop_back(); }

  private:
    std::vector<std::string>& stack_;
};

} // namespace

bool IsCompiledForm(const std::string& fileName) {
    const std::string extension = libs::ExtractFileExt(fileName);
    if (value::NamesEqual(extension, ".ozrabin") || value::NamesEqual(extension, ".exe"))
        return true;
    // Executables have no extension here: an ELF file is one.
    char magic[4] = {};
    std::ifstream file(fileName, std::ios::binary);
    return file.read(magic, sizeof magic) && std::string_view(magic, 4) == "\x7f"
                                                                           "ELF";
}

TvmProjectCompiler::TvmProjectCompiler(std::string mainFile, std::string mainText)
    : MainFile(std::move(mainFile)), MainText(std::move(mainText)) {}

Ref<front::TtsBlock> TvmProjectCompiler::Compile() {
    if (compileCount_ > 0) throw EvmErrorException("Can only compile once!");
    ++compileCount_;
    // A relative main file is the working folder's, as on any command line,
    // not the program's.
    if (!IsTextForm() && MainFile.front() != ':' && !platform::IsAbsolutePath(MainFile))
        MainFile = libs::ExpandFileName(MainFile);
    compiledForm_ = !IsTextForm() && !MainFileText && IsCompiledForm(MainFile);
    return LoadUnit(MainFile, nullptr);
}

std::int32_t TvmProjectCompiler::FileIndex(const std::string& fullPath) {
    const auto known = std::find(fileList_.begin(), fileList_.end(), fullPath);
    if (known != fileList_.end()) return static_cast<std::int32_t>(known - fileList_.begin());
    fileList_.push_back(fullPath);
    if (OnNewFile) OnNewFile(fullPath);
    return static_cast<std::int32_t>(fileList_.size() - 1);
}

Ref<front::TtsBlock> TvmProjectCompiler::LoadCompiled(const std::string& fullPath) {
    try {
        return TtsCompiler::LoadFile(fullPath);
    } catch (...) {
        std::throw_with_nested(EvmErrorException("The file [" + fullPath + "] is damaged!"));
    }
}

const std::string& TvmProjectCompiler::SourceGiven() const {
    return MainFileText ? *MainFileText : MainText;
}

std::string TvmProjectCompiler::ReadSource(const std::string& fullPath) const {
    try {
        return front::TTextFile::ReadFile(fullPath);
    } catch (const platform::Error& error) {
        // An included file is refused where it is named.
        if (unitStack_.size() > 1) throw front::IncludeRefused(error.what());
        throw;
    }
}

Ref<front::TtsBlock> TvmProjectCompiler::LoadUnit(const std::string& fileName,
                                                  Ref<front::TtsBlock> target) {
    const bool mainText = IsTextForm() && unitStack_.empty();
    const bool givenText = mainText || (unitStack_.empty() && MainFileText);
    std::string base;
    if (!unitStack_.empty()) {
        base = libs::ExtractFilePath(unitStack_.back());
    } else {
        base = BaseFolder.empty() ? libs::ExtractFilePath(MainFile) : BaseFolder;
    }
    std::string fullPath;
    try {
        fullPath = libs::TPathHelper::ExpandPath(base, mainText ? std::string() : fileName);
    } catch (const platform::Error& error) {
        if (unitStack_.empty()) throw;
        throw front::IncludeRefused(error.what());
    } catch (const value::EtsException& error) {
        if (unitStack_.empty()) throw;
        throw front::IncludeRefused(error.what());
    }
    if (std::find(unitStack_.begin(), unitStack_.end(), fullPath) != unitStack_.end())
        throw front::IncludeRefused("Circular file reference : " + fileName);
    const bool sharedUnit = !target && !mainText;
    if (sharedUnit) {
        const auto cached = units_.find(fullPath);
        if (cached != units_.end()) return cached->second;
    }

    const UnitScope unit(unitStack_, fullPath);
    const std::int32_t fileIndex = mainText ? -1 : FileIndex(fullPath);
    if (compiledForm_) return LoadCompiled(fullPath);
    front::FileLoader include = [this](const std::string& name, Ref<front::TtsBlock> into) {
        return LoadUnit(name, std::move(into));
    };
    if (ParseUnit) {
        const std::string text = givenText ? SourceGiven() : ReadSource(fullPath);
        Ref<front::TtsBlock> block =
            ParseUnit(UnitSource{text, fullPath, fileIndex, std::move(include), std::move(target)});
        if (sharedUnit) units_[fullPath] = block;
        return block;
    }
    TvmCompileData data;
    data.Source = givenText ? SourceGiven() : ReadSource(fullPath);
    data.FileName = mainText ? std::string() : fullPath;
    data.FileIndex = fileIndex;
    data.Target = std::move(target);
    data.UnitLoader = std::move(include);
    data.OnCall = OnCall;
    Ref<front::TtsBlock> block = TvmFileCompiler(std::move(data), CollectedErrors).Compile();
    if (sharedUnit) units_[fullPath] = block;
    return block;
}

CompiledScript TvmProjectCompiler::CompileFile(const std::string& fileName) {
    TvmProjectCompiler compiler(fileName);
    Ref<front::TtsBlock> root = compiler.Compile();
    return CompiledScript{std::move(root), compiler.FileList()};
}

CompiledScript TvmProjectCompiler::CompileText(const std::string& source,
                                               const std::string& baseFolder) {
    TvmProjectCompiler compiler(std::string(), source);
    compiler.BaseFolder = baseFolder;
    Ref<front::TtsBlock> root = compiler.Compile();
    return CompiledScript{std::move(root), compiler.FileList()};
}

} // namespace ozra::compiled
