// Statements that run their body into a child context: "file" blocks,
// output capture ("assign"), and the legacy copy and execute statements.
//
// The child is always closed again, also when the body fails; its current
// statement and pending exit then pass to the enclosing context, so an
// «exit function» inside a file block still leaves the function. A failing
// body writes nothing to its target.
#include "runtime/evaluator.h"

#include "runtime/host.h"
#include "value/conversions.h"
#include "value/errors.h"

#include <cerrno>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace {

std::string TextOf(const TtsVariable* variable) {
    return variable ? ToText(variable->Value()) : std::string();
}

std::string ResolveAgainst(TtsResult& context, std::string_view pathVariable,
                           std::string_view name) {
    if (!context.Host) return std::string(name);
    TtsHost& host = context.Host->Host();
    return TtsHost::ResolvePath(ToText(host.Variable(pathVariable)), name);
}

} // namespace

namespace detail {

void ExecuteFile(TtsFileNode& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    const std::string fileName = TextOf(node.FileNameVariable);
    if (!fileName.empty()) child.Get().AppendTemplateFile(fileName);
    context.Output(child.Get().Text, TextOf(node.TargetVariable), node.Overwrite);
}

void ExecuteCapture(TtsAssignNode& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    Assign(*node.Target, child.Get(), TtsValue::FromText(child.Get().Text));
}

// Copies a file or folder; like the shell copy it stands for, the outcome is
// not reported to the script.
void ExecuteOldCopy(TtsOldCopy& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    namespace fs = std::filesystem;
    const fs::path target = ResolveAgainst(context, "TargetPath", TextOf(node.TargetVariable));
    const fs::path source = ResolveAgainst(context, "TemplatePath", node.SourcePath);
    std::error_code ignored;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ignored);
    auto options = fs::copy_options::recursive;
    options |=
        node.Overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::skip_existing;
    fs::copy(source, target, options, ignored);
}

// Starts the program in its own folder with the text of "parameter" split
// into words (no shell expansion), and waits for it when the overwrite flag
// is set.
void ExecuteOldExecute(TtsOldExecute& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    const std::string program = std::filesystem::absolute(node.ProgramPath).string();
    const std::string parameters = TextOf(node.ParameterVariable);
    const std::string folder = std::filesystem::path(program).parent_path().string();
    const char* script = "set -f; cd \"$1\" || exit 127; p=$0; shift; exec \"$p\" $1";
    std::string scriptCopy = script;
    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string programCopy = program;
    std::string folderCopy = folder;
    std::string parametersCopy = parameters;
    char* argv[] = {shell.data(),
                    dashC.data(),
                    scriptCopy.data(),
                    programCopy.data(),
                    folderCopy.data(),
                    parametersCopy.data(),
                    nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return;
    if (!node.Overwrite) return;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace detail

} // namespace ozra::runtime
