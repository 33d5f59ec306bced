// The connection-string editor's entry point.
#include "data/scripting/connection_editor.h"

#include "data/data_link_file.h"
#include "platform/file_system.h"
#include "platform/user_folder.h"
#include "runtime/desktop.h"

namespace ozra::data::scripting {

std::string DataLinkFolder() {
    const std::string folder = platform::UserConfigFolder() + "data-links/";
    platform::CreateFolders(folder);
    return folder;
}

std::string BuildConnectionString(runtime::TGlobalData& global, std::string_view initial) {
    runtime::ConnectionEditorRequest request;
    request.Initial = std::string(initial);
    request.DataLinkFolder = DataLinkFolder();
    request.ReadDataLink = [](const std::string& path) { return ReadDataLinkFile(path); };
    request.WriteDataLink = [](const std::string& path, const std::string& connection) {
        WriteDataLinkFile(path, connection);
    };
    const std::optional<std::string> edited =
        global.Gui.Call("Data", [&](runtime::DesktopBridge& bridge) {
            return bridge.EditConnectionString(request);
        });
    return edited && *edited != initial ? *edited : "";
}

} // namespace ozra::data::scripting
