// Positioned run errors and the conversion of escaping errors into them.
#include "runtime/run_error.h"

#include "front/syntax_tree.h"
#include "runtime/result.h"

namespace ozra::runtime {

using namespace value;

EvmErrorException::EvmErrorException(std::string message, std::string fileName,
                                     std::int32_t fileIndex, std::int32_t line, std::int32_t column)
    : EtsRuntime(DisplayMessage(message, fileName, line, column)), BareMessage(std::move(message)),
      FileName(std::move(fileName)), FileIndex(fileIndex), Line(line), Column(column) {}

std::string EvmErrorException::DisplayMessage(const std::string& message,
                                              const std::string& fileName, std::int32_t line,
                                              std::int32_t column) {
    if (line <= 0) return message;
    const std::string position = std::to_string(line) + ":" + std::to_string(column);
    if (!fileName.empty()) return message + " @ " + fileName + " " + position;
    return message + " @ script " + position;
}

void RaiseRunError(const std::exception& error, const TtsResult& context,
                   const std::vector<std::string>* fileList) {
    if (dynamic_cast<const EvmUserCanceled*>(&error)) throw EvmUserCanceled();
    std::int32_t line = -1;
    std::int32_t column = -1;
    std::int32_t fileIndex = -1;
    std::string fileName;
    if (const auto* statement = front::NodeCast<front::TtsStatement>(context.CurrentNode)) {
        line = statement->Line;
        column = statement->Column;
        fileIndex = statement->FileIndex;
        if (fileList && fileIndex >= 0 && static_cast<std::size_t>(fileIndex) < fileList->size())
            fileName = (*fileList)[static_cast<std::size_t>(fileIndex)];
    }
    throw EvmErrorException("Runtime error : " + std::string(error.what()), std::move(fileName),
                            fileIndex, line, column);
}

void RethrowAsRunError(const TtsResult& context, const std::vector<std::string>* fileList) {
    try {
        throw;
    } catch (const EvmErrorException&) {
        throw;
    } catch (const std::exception& error) {
        RaiseRunError(error, context, fileList);
    }
}

} // namespace ozra::runtime
