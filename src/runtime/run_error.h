// The errors a run reports: `EvmErrorException` carries a message with the
// source position of the statement that failed, `EvmUserCanceled` stops a
// run the user cancelled from a dialog.
//
// The displayed message (`what()`) is made once, when the error is made:
//   line not positive       the bare message
//   with a file name        "%s @ %s %d:%d"  (message, file, line, column)
//   without a file name     "%s @ script %d:%d"
// It is an `EtsRuntime`, so a try statement of a calling script catches it
// like any other run-time error.
#pragma once

#include "value/errors.h"

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace ozra::front {
class TtsNode;
}

namespace ozra::runtime {

class TtsResult;

// Where a statement stands: its line, column and file (the entry of the
// run's file list its file index names, when a list is given). Line and
// column are -1 for a node that is no statement or has no position.
struct StatementPlace {
    std::string FileName;
    std::int32_t FileIndex = -1;
    std::int32_t Line = -1;
    std::int32_t Column = -1;
};
StatementPlace PlaceOf(const front::TtsNode* node, const std::vector<std::string>* fileList);

class EvmErrorException : public value::EtsRuntime {
  public:
    explicit EvmErrorException(std::string message, std::string fileName = {},
                               std::int32_t fileIndex = -1, std::int32_t line = -1,
                               std::int32_t column = -1);

    static std::string DisplayMessage(const std::string& message, const std::string& fileName,
                                      std::int32_t line, std::int32_t column);

    std::string BareMessage;
    std::string FileName;
    std::int32_t FileIndex;
    std::int32_t Line;
    std::int32_t Column;
};

class EvmUserCanceled : public std::runtime_error {
  public:
    EvmUserCanceled() : std::runtime_error("[User Canceled]") {}
};

// The error a run reports for an exception that escaped script code: a
// cancel stays a cancel; anything else becomes "Runtime error : " + its
// message, placed at the context's current statement, whose file index
// names an entry of `fileList` (when one is given).
[[noreturn]] void RaiseRunError(const std::exception& error, const TtsResult& context,
                                const std::vector<std::string>* fileList);
// The same, for an error that is already positioned by an inner run: it
// passes unchanged.
[[noreturn]] void RethrowAsRunError(const TtsResult& context,
                                    const std::vector<std::string>* fileList);
// The same, as an error leaves a script compiled during the run, whose
// nodes only its own `fileList` can name: the calls the error left inside
// it are placed now, followed by the caller's current statement.
[[noreturn]] void RethrowFromInnerScript(const TtsResult& inner,
                                         const std::vector<std::string>& fileList,
                                         const TtsResult& caller);

} // namespace ozra::runtime
