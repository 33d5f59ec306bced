// Whole-file reads and replacements with data errors.
#include "data/data_file.h"

#include "data/data_error.h"
#include "platform/error.h"
#include "platform/whole_file.h"

namespace ozra::data {

std::string ReadDataFile(const std::string& path) {
    try {
        return platform::ReadWholeFile(path);
    } catch (const platform::Error& error) {
        throw EDataError(error.what());
    }
}

void ReplaceDataFile(const std::string& path, std::string_view bytes) {
    try {
        platform::ReplaceWholeFile(path, bytes);
    } catch (const platform::Error& error) {
        throw EDataError(error.what());
    }
}

} // namespace ozra::data
