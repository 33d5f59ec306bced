// The desktop bridge: what scripts need of the window system (standard
// dialogs, the clipboard, the application's title and icon), behind one
// small interface, so that the runtime and the `ozra` program link no
// toolkit.
//
// The Qt Widgets implementation lives in a module of its own
// (src/bridge_qt). A program without a window system of its own, such as
// `ozra`, loads it with dlopen on the first call that needs it
// (desktop_module.h); the module then runs Qt on a GUI thread of its own.
// The environment links the implementation directly and makes it over the
// application it already runs on its main thread.
//
// Every operation except `Post` and `OnGuiThread` must be called on the GUI
// thread, the thread of the widgets' event loop; dialogs are modal and
// return when the user closes them. The run thread reaches them through
// `Desktop` (desktop.h), which posts the work and waits for it.
//
// The module exports one C function, `OzraOpenDesktopBridge`, whose shape
// is `OpenDesktopBridgeFunction`. The interface is header-only, so the
// module needs nothing of the runtime's libraries; `DesktopBridgeAbi`
// changes whenever this file changes shape, and a module built against
// another version refuses to open.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ozra::runtime {

// One entry of a file dialog's type list: "Text files" with "*.txt" and
// "*.log".
struct FileFilter {
    std::string Description;
    std::vector<std::string> Patterns;
};

// A font as the font dialog starts from and answers it.
struct FontChoice {
    std::string Name;
    int Size = 9;
    std::uint32_t Color = 0; // 0xRRGGBB
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

// What the connection-string editor starts from.
struct ConnectionEditorRequest {
    std::string Initial;
    // The folder of the user's data link files, with a trailing "/".
    std::string DataLinkFolder;
    // The connection string of a data link file, and a new data link file
    // for a connection string; both raise `std::exception` with the reason.
    std::function<std::string(const std::string& path)> ReadDataLink;
    std::function<void(const std::string& path, const std::string& connection)> WriteDataLink;
};

class DesktopBridge {
  public:
    virtual ~DesktopBridge() = default;

    // Queues work for the GUI thread and returns at once; false when the GUI
    // thread has shut down and will run nothing more. Work that never runs
    // is destroyed unrun.
    virtual bool Post(std::function<void()> work) = 0;
    virtual bool OnGuiThread() const noexcept = 0;

    // The chosen colour as 0xRRGGBB, or none when cancelled. Without an
    // initial colour the dialog starts at its own default.
    virtual std::optional<std::uint32_t> ChooseColor(std::optional<std::uint32_t> initial) = 0;
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
    // The chosen file's full path, or "" when cancelled. `fileName` is
    // proposed; an empty filter list shows every file.
    virtual std::string ChooseOpenFile(const std::vector<FileFilter>& filters,
                                       const std::string& fileName) = 0;
    // Asks before an existing file is overwritten; `defaultSuffix` (without
    // a dot) is added to a name typed without one.
    virtual std::string ChooseSaveFile(const std::vector<FileFilter>& filters,
                                       const std::string& defaultSuffix,
                                       const std::string& fileName) = 0;
    // A folder browser over the tree under `root` (every folder when empty),
    // with `folder` selected when it exists.
    virtual std::string ChooseFolder(const std::string& title, const std::string& root,
                                     const std::string& folder) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // "" when the clipboard holds no text.
    virtual std::string ClipboardText() = 0;
    virtual void SetApplicationTitle(const std::string& title) = 0;
    // False when the file holds no image the toolkit can read.
    virtual bool SetApplicationIcon(const std::string& file) = 0;
    // The edited connection string when the user confirmed, none when
    // cancelled.
    virtual std::optional<std::string> EditConnectionString(
        const ConnectionEditorRequest& request) = 0;
};

inline constexpr int DesktopBridgeAbi = 1;
inline constexpr const char* OpenDesktopBridgeSymbol = "OzraOpenDesktopBridge";

// Starts the toolkit on a GUI thread of the module's own and answers a
// bridge over it (the caller owns it and deletes it through the interface).
// On failure answers null with the reason in `error`: another ABI version,
// or a display the toolkit cannot use.
using OpenDesktopBridgeFunction = DesktopBridge* (*)(int abi, std::string* error);

} // namespace ozra::runtime
