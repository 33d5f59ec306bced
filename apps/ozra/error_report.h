// How the runner shows what went wrong, on standard error.
//
// An error with a place in a script is one line in the form editors and
// terminals turn into a link, «FILE:LINE:COLUMN: message», followed, for an
// error inside function calls, by one «FILE:LINE:COLUMN: called from here»
// line per call it left, innermost first. A very deep chain of calls (a
// runaway recursion) shows only its innermost and outermost calls (how
// many lie between depends on the machine's stack). An error without a
// place reads «ozra: message». An error caused by another (a damaged
// compiled file) is followed by its cause, indented. Files under the
// working folder are shown relative to it.
#pragma once

#include "runtime/run_error.h"

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::runtime {
class TtsResult;
}

namespace ozra::app {

// An error a run ended with: its message as the language words it (without
// the "Runtime error : " that other scripts see), where it happened, and
// the statements of the calls it left.
struct RunFailure {
    std::string Message;
    runtime::StatementPlace At;
    std::vector<runtime::StatementPlace> Callers;
};

// The failure the exception being handled stands for; called inside the
// handler. `fileList` names the files of the run's statements.
RunFailure CurrentFailure(const runtime::TtsResult& context,
                          const std::vector<std::string>& fileList);

// One line on standard error, as it is.
void ReportLine(std::string_view line);
// A path shown to the user: relative to the working folder when under it.
std::string DisplayPath(const std::string& fullPath);

void Report(const RunFailure& failure);
// A compile error with its place, or any other error.
void Report(const std::exception& error);
void ReportAt(const std::string& file, std::int32_t line, std::int32_t column,
              std::string_view message);
// An error of a file as a whole: «FILE: message».
void ReportInFile(const std::string& file, std::string_view message);
void ReportUnlocated(std::string_view message);

} // namespace ozra::app
