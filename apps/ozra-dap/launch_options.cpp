// Reading and checking the launch request's arguments.
#include "launch_options.h"

namespace ozra::dap {

namespace {

// The argument's value, when present and not null, if it is of the type.
template <typename Test>
const Json* Argument(const Json& arguments, const char* name, Test isOfType, const char* typeName) {
    const auto found = arguments.find(name);
    if (found == arguments.end() || found->is_null()) return nullptr;
    if (!(found.value().*isOfType)())
        throw std::invalid_argument(std::string("launch: \"") + name + "\" must be " + typeName);
    return &*found;
}

} // namespace

LaunchOptions ReadLaunchOptions(const Json& arguments) {
    LaunchOptions options;
    const Json* program = Argument(arguments, "program", &Json::is_string, "a string");
    if (!program || program->get_ref<const std::string&>().empty())
        throw std::invalid_argument("launch: \"program\" must name the script to debug");
    options.Program = program->get<std::string>();
    if (const Json* folder = Argument(arguments, "cwd", &Json::is_string, "a string"))
        options.WorkingFolder = folder->get<std::string>();
    if (const Json* words = Argument(arguments, "args", &Json::is_array, "a list of strings")) {
        for (const Json& word : *words) {
            if (!word.is_string())
                throw std::invalid_argument("launch: \"args\" must be a list of strings");
            options.Words.push_back(word.get<std::string>());
        }
    }
    if (const Json* stop = Argument(arguments, "stopOnEntry", &Json::is_boolean, "true or false"))
        options.StopOnEntry = stop->get<bool>();
    if (const Json* plain = Argument(arguments, "noDebug", &Json::is_boolean, "true or false"))
        options.NoDebug = plain->get<bool>();
    return options;
}

} // namespace ozra::dap
