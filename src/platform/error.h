// The one error of the platform layer.
//
// Every failure of a file, folder or program operation below is raised as
// `platform::Error`, whatever reported it (an errno value or a
// std::filesystem error code), with one of the system's messages:
//
//   «Cannot open file "path". reason»     reading, or opening to add to
//   «Cannot create file "path". reason»   creating or replacing a file
//   «Cannot write file "path". reason»    writing to a file already open
//   «Cannot execute file "path". reason»  starting a program
//
// where the reason is the system's text for the error. The layer sits below
// the script runtime, which turns this error into a script error that a try
// statement catches.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace ozra::platform {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class FileAction { Open, Create, Write, Execute };

// The error of an action on a file, from an error code or an errno value.
Error FileError(FileAction action, std::string_view path, std::error_code reason);
Error FileError(FileAction action, std::string_view path, int errorNumber);

} // namespace ozra::platform
