// `TVeIdeForm`: the environment's main window.
//
// It owns the project and everything the project reports to: the editor
// area (a tab per open unit), the tool windows and their window manager,
// and the actions of every command, built from the command table with
// their menus and toolbar. It is the project's `EditorHost`; questions go
// to the `Prompter` it is given, so tests answer them from a script.
//
// Start-up: the configuration is read when the window is made; the first
// activation loads the toolbar customisation (the menus' and the toolbar's
// items and the recent files), opens the files given on the command line
// and applies the configuration. Closing closes the project (the user may
// cancel, and the window then stays) and saves the toolbar customisation.
#pragma once

#include "bridge_qt/qt_bridge.h"
#include "ide/core/config_file.h"
#include "ide/core/editor_host.h"
#include "ide/core/project.h"
#include "ide/core/run_hosts.h"
#include "ide/gui/bar_arrangement.h"
#include "ide/gui/command_enabling.h"
#include "ide/gui/commands.h"
#include "ide/gui/editor_window.h"
#include "ide/gui/recent_files.h"
#include "ide/gui/window_manager.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QDockWidget;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidgetAction;

namespace ozra::ide::gui {

class CustomizeDialog;
class OutputWindow;

// The desktop bridge as the debugger's main thread: posted work runs on the
// window's event loop.
class BridgeMainThread final : public debugger::MainThread {
  public:
    explicit BridgeMainThread(bridge_qt::QtDesktopBridge& bridge) : bridge_(bridge) {}
    void Post(std::function<void()> work) override { bridge_.Post(std::move(work)); }

  private:
    bridge_qt::QtDesktopBridge& bridge_;
};

struct MainWindowOptions {
    // The files to open at the first activation, as given.
    std::vector<std::string> Files;
    // No splash screen, whatever the configuration says.
    bool NoSplash = false;
};

class TVeIdeForm final : public QMainWindow, private EditorHost, private EditorArea {
  public:
    TVeIdeForm(Prompter& prompter, MainWindowOptions options);
    ~TVeIdeForm() override;

    TVeProject& Project() noexcept { return *project_; }
    QAction& Action(CommandId command) noexcept {
        return *actions_[static_cast<std::size_t>(command)];
    }
    QMenu* Menu(std::string_view category) const;
    // The menus in menu-bar order, and what they and the toolbar show.
    const std::vector<QMenu*>& Menus() const noexcept { return menus_; }
    QToolBar& Toolbar() const noexcept { return *toolbar_; }
    BarArrangement Bars() const;
    void SetBars(BarArrangement bars);
    const RecentFiles& Recent() const noexcept { return recent_; }
    TVeWindowManager& WindowManager() noexcept { return windows_; }
    ToolWindow* ShowToolWindow(ToolWindowIndex index);
    OutputWindow* Output() const noexcept;
    // The current or last run's output so far.
    std::string RunOutputSoFar();
    // The editor window of the current unit, when it is showing.
    EditorWindow* CurrentEditor() const;

    // Opens each file as the open dialog, the command line and drops do:
    // a project file as the project, any other file in an editor; a file
    // that does not exist is reported and skipped.
    void OpenFiles(const std::vector<std::string>& files);
    void OpenRecent(const std::string& file);
    // Applies the configuration file: shortcuts, then every editor's
    // settings.
    void ApplyConfiguration();
    // Sets every command's enabled state from the current state (the timer
    // does it every 200 ms).
    void UpdateCommands();
    CommandState CurrentState() const;
    // Carries out a command; an error is reported in a box.
    void Execute(CommandId command);
    // What the first activation does; later calls do nothing. Tests and
    // the screenshot option call it directly.
    void Start();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // EditorHost
    std::unique_ptr<UnitEditor> CreateEditor(TVeUnit& unit) override;
    void Notify(ProjectEvent event, TVeUnit* unit) override;
    void PumpEvents() override;
    // EditorArea
    void ShowEditor(EditorWindow& window) override;
    bool IsShowingEditor(const EditorWindow& window) const override;
    void SetEditorCaption(EditorWindow& window, const QString& caption) override;
    void EditorCaretMoved(EditorWindow& window) override;

    void BuildActions();
    void BuildMenusAndToolbar();
    void FillBar(QWidget& bar, const BarItems& items, bool toolbar);
    void ShowCustomizeDialog();
    void ExecuteUnguarded(CommandId command);
    void NewFile();
    void SaveAll();
    void RebuildRecentMenu();
    void LoadToolbarFile();
    void SaveToolbarFile();
    void LoadConfiguration();
    // Word wrap and special characters, the environment-wide switches.
    void ApplySwitches(EditorWindow& window);
    void ApplyEditorConfiguration(EditorWindow& window);
    void ShowError(std::string_view message) { prompter_.ShowError(message); }
    void OpenOne(const std::string& file);
    void ChooseFilesToOpen();
    void RunOptions();
    void OpenHelp(std::string_view file);
    void ShowAbout(bool splash);
    void UpdateCaption();
    void RefreshTabIcons();
    // Closing a window that is not kept destroys it: nothing reaches it
    // any more and its next show makes a new one.
    void ForgetToolWindow(ToolWindowIndex index);

    Prompter& prompter_;
    MainWindowOptions options_;
    bridge_qt::QtDesktopBridge bridge_;
    BridgeMainThread mainThread_{bridge_};
    StandardRunHosts runHosts_;
    std::unique_ptr<TVeProject> project_;
    std::array<QAction*, 64> actions_{};
    std::vector<QMenu*> menus_;
    QMenu* recentMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    // The open button with the recent files, as the toolbar shows it.
    QWidgetAction* openItem_ = nullptr;
    BarArrangement bars_;
    // Made at its first use and kept, hidden, when closed.
    std::unique_ptr<CustomizeDialog> customize_;
    QTabWidget* editorArea_ = nullptr;
    TVeWindowManager windows_;
    std::array<QDockWidget*, kToolWindowCount> docks_{};
    RecentFiles recent_;
    EditorConfiguration configuration_;
    QTimer commandTimer_;
    bool activated_ = false;
    bool splash_ = true;
};

} // namespace ozra::ide::gui
