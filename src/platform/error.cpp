// The messages of file errors.
#include "platform/error.h"

namespace ozra::platform {

namespace {

std::string_view Verb(FileAction action) noexcept {
    switch (action) {
    case FileAction::Open:
        return "open";
    case FileAction::Create:
        return "create";
    case FileAction::Write:
        return "write";
    case FileAction::Execute:
        return "execute";
    }
    return "use";
}

} // namespace

Error FileError(FileAction action, std::string_view path, std::error_code reason) {
    std::string message = "Cannot ";
    message.append(Verb(action)).append(" file \"").append(path).append("\". ");
    message += reason.message();
    return Error(message);
}

Error FileError(FileAction action, std::string_view path, int errorNumber) {
    return FileError(action, path, std::error_code(errorNumber, std::generic_category()));
}

} // namespace ozra::platform
