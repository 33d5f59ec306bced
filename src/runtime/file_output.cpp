// Statements that run their body into a child context: "file" blocks,
// output capture ("assign"), and the legacy copy and execute statements.
//
// The child is always closed again, also when the body fails; its current
// statement and pending exit then pass to the enclosing context, so an
// «exit function» inside a file block still leaves the function. A failing
// body writes nothing to its target.
#include "runtime/evaluator.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/processes.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/errors.h"

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace {

std::string TextOf(const TtsVariable* variable) {
    return variable ? ToText(variable->Value()) : std::string();
}

std::string ResolveAgainst(TtsResult& context, std::string_view pathVariable,
                           std::string_view name) {
    if (!context.Host) return platform::CheckedPath(name);
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

// Copies a file or folder as the file library's `Copy` does; like the shell
// copy it stands for, the outcome is not reported to the script.
void ExecuteOldCopy(TtsOldCopy& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    platform::CopyFiles(ResolveAgainst(context, "TemplatePath", node.SourcePath),
                        ResolveAgainst(context, "TargetPath", TextOf(node.TargetVariable)),
                        node.Overwrite);
}

// Starts the program in its own folder with the text of "parameter" as its
// arguments, and waits for it when the overwrite flag is set. A program
// that cannot be started is an error the script can catch.
void ExecuteOldExecute(TtsOldExecute& node, TtsResult& context) {
    ChildContext child(context, true);
    ExecuteBlock(*node.Body, child.Get());
    const int process = platform::StartProgram(platform::CheckedPath(node.ProgramPath),
                                               TextOf(node.ParameterVariable));
    if (node.Overwrite) {
        platform::WaitForProgram(process);
    } else {
        platform::DetachProgram(process);
    }
}

} // namespace detail

} // namespace ozra::runtime
