// Compiling one text of a project with positions and located errors.
#include "compiled/file_compiler.h"

#include "front/line_map.h"
#include "front/parser.h"
#include "libs/path_helper.h"
#include "runtime/run_error.h"

#include <new>

namespace ozra::compiled {

using runtime::EvmErrorException;

value::Ref<front::TtsBlock> TvmFileCompiler::Compile() {
    const front::LineMap lines(Data.Source);
    front::LocatedErrors errors(Data.FileName, lines, collectedErrors_, "Syntax Error");
    front::TtsParser parser;
    parser.OnNode = [&](front::TtsStatement& statement) {
        const front::LineColumn at = lines.Locate(statement.Position);
        statement.Line = at.Line;
        statement.Column = at.Column;
        statement.FileIndex = Data.FileIndex;
    };
    parser.OnNodeEnd = [&](front::TtsControl& control) {
        const front::LineColumn at = lines.Locate(control.EndPosition);
        control.EndLine = at.Line;
        control.EndColumn = at.Column;
        control.EndFileIndex = Data.FileIndex;
    };
    parser.OnError = [&](std::int32_t position, std::int32_t, const std::string& message) {
        errors.Report(position, message);
    };
    parser.OnLoadFile = Data.UnitLoader;
    if (Data.OnCall) {
        parser.OnCall = [&](front::TtsVarRef& callee, std::int32_t position) {
            Data.OnCall(callee, Data.FileName, lines.Locate(position));
        };
    }
    try {
        return parser.Parse(Data.Source, Data.Target);
    } catch (const EvmErrorException&) {
        throw;
    } catch (const front::CompileError& error) {
        throw EvmErrorException(error.Detail, Data.FileName, Data.FileIndex, error.Line,
                                error.Column);
    } catch (const std::bad_alloc& error) {
        throw EvmErrorException(error.what(), Data.FileName, Data.FileIndex);
    } catch (const value::EtsException& error) {
        throw EvmErrorException(error.what(), Data.FileName, Data.FileIndex);
    } catch (const std::exception& error) {
        const auto checksum = static_cast<std::int32_t>(libs::StringChecksum(error.what(), false));
        throw EvmErrorException("Internal error " + std::to_string(checksum), Data.FileName,
                                Data.FileIndex);
    }
}

} // namespace ozra::compiled
