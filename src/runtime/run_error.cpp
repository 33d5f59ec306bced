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

StatementPlace PlaceOf(const front::TtsNode* node, const std::vector<std::string>* fileList) {
    StatementPlace place;
    if (const auto* statement = front::NodeCast<front::TtsStatement>(node)) {
        place.Line = statement->Line;
        place.Column = statement->Column;
        place.FileIndex = statement->FileIndex;
        const auto index = static_cast<std::size_t>(place.FileIndex);
        if (fileList && place.FileIndex >= 0 && index < fileList->size())
            place.FileName = (*fileList)[index];
    }
    return place;
}

void RaiseRunError(const std::exception& error, const TtsResult& context,
                   const std::vector<std::string>* fileList) {
    if (dynamic_cast<const EvmUserCanceled*>(&error)) throw EvmUserCanceled();
    StatementPlace place = PlaceOf(context.CurrentNode, fileList);
    throw EvmErrorException("Runtime error : " + std::string(error.what()),
                            std::move(place.FileName), place.FileIndex, place.Line, place.Column);
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

void RethrowFromInnerScript(const TtsResult& inner, const std::vector<std::string>& fileList,
                            const TtsResult& caller) {
    CallGuard& guard = *inner.Guard;
    std::vector<StatementPlace> placed;
    if (guard.TracedError == std::current_exception()) {
        placed = std::move(guard.PlacedCallSites);
        // The call into the script was made at the caller's statement,
        // which the caller's files name (below), not the script's.
        for (const front::TtsNode* call : guard.CallSites)
            if (call != caller.CurrentNode) placed.push_back(PlaceOf(call, &fileList));
    }
    try {
        RethrowAsRunError(inner, &fileList);
    } catch (...) {
        guard.TracedError = std::current_exception();
        guard.PlacedCallSites = std::move(placed);
        guard.CallSites.assign(1, caller.CurrentNode);
        throw;
    }
}

} // namespace ozra::runtime
