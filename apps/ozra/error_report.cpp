// The runner's error lines.
#include "error_report.h"

#include "front/compile_driver.h"
#include "runtime/result.h"

#include <cstdio>
#include <filesystem>

namespace ozra::app {

namespace {

// A chain of calls longer than this shows only its ends.
constexpr std::size_t kCallerLinesShown = 20;

void ReportCaller(const runtime::StatementPlace& call) {
    if (call.Line > 0) ReportAt(call.FileName, call.Line, call.Column, "called from here");
}

void ReportCauses(const std::exception& error) {
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception& cause) {
        ReportLine("  " + std::string(cause.what()));
        ReportCauses(cause);
    }
}

} // namespace

void ReportLine(std::string_view line) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

std::string DisplayPath(const std::string& fullPath) {
    std::error_code ignored;
    const std::string cwd = std::filesystem::current_path(ignored).string() + "/";
    if (fullPath.size() > cwd.size() && fullPath.compare(0, cwd.size(), cwd) == 0)
        return fullPath.substr(cwd.size());
    return fullPath;
}

RunFailure CurrentFailure(const runtime::TtsResult& context,
                          const std::vector<std::string>& fileList) {
    RunFailure failure;
    const std::exception_ptr current = std::current_exception();
    try {
        throw;
    } catch (const runtime::EvmErrorException& located) {
        // An inner run (System.Runtime) words its errors for scripts.
        constexpr std::string_view kForScripts = "Runtime error : ";
        failure.Message = located.BareMessage.starts_with(kForScripts)
                              ? located.BareMessage.substr(kForScripts.size())
                              : located.BareMessage;
        failure.At = {located.FileName, located.FileIndex, located.Line, located.Column};
    } catch (const runtime::EvmUserCanceled& canceled) {
        failure.Message = canceled.what();
    } catch (const std::exception& error) {
        failure.Message = error.what();
        failure.At = runtime::PlaceOf(context.CurrentNode, &fileList);
    } catch (...) {
        failure.Message = "unknown error";
    }
    if (context.Guard->TracedError == current) {
        failure.Callers = context.Guard->PlacedCallSites;
        for (const front::TtsNode* call : context.Guard->CallSites)
            failure.Callers.push_back(runtime::PlaceOf(call, &fileList));
    }
    return failure;
}

void ReportAt(const std::string& file, std::int32_t line, std::int32_t column,
              std::string_view message) {
    ReportLine(DisplayPath(file) + ":" + std::to_string(line) + ":" + std::to_string(column) +
               ": " + std::string(message));
}

void ReportInFile(const std::string& file, std::string_view message) {
    ReportLine(DisplayPath(file) + ": " + std::string(message));
}

void ReportUnlocated(std::string_view message) {
    ReportLine("ozra: " + std::string(message));
}

void Report(const RunFailure& failure) {
    if (failure.At.Line <= 0) {
        ReportUnlocated(failure.Message);
        return;
    }
    ReportAt(failure.At.FileName, failure.At.Line, failure.At.Column, failure.Message);
    const std::vector<runtime::StatementPlace>& calls = failure.Callers;
    if (calls.size() <= kCallerLinesShown) {
        for (const auto& call : calls)
            ReportCaller(call);
        return;
    }
    const std::size_t end = kCallerLinesShown / 2;
    for (std::size_t i = 0; i < end; ++i)
        ReportCaller(calls[i]);
    ReportLine("ozra: ... more calls ...");
    for (std::size_t i = calls.size() - end; i < calls.size(); ++i)
        ReportCaller(calls[i]);
}

void Report(const std::exception& error) {
    if (const auto* located = dynamic_cast<const front::CompileError*>(&error)) {
        ReportAt(located->FileName, located->Line, located->Column, located->Detail);
    } else if (const auto* located = dynamic_cast<const runtime::EvmErrorException*>(&error);
               located && located->Line > 0) {
        ReportAt(located->FileName, located->Line, located->Column, located->BareMessage);
    } else {
        ReportUnlocated(error.what());
    }
    ReportCauses(error);
}

} // namespace ozra::app
