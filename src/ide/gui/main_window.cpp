// The main window: its parts, start-up and shut-down, the project's host
// and the editor area. The commands themselves are in
// main_window_commands.cpp.
#include "ide/gui/main_window.h"

#include "ide/core/environment_files.h"
#include "ide/gui/about_box.h"
#include "ide/gui/customize_dialog.h"
#include "ide/gui/output_window.h"
#include "ide/gui/product.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_dock.h"
#include "ide/gui/tool_icons.h"
#include "ide/gui/tool_window_factory.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <utility>

namespace ozra::ide::gui {

namespace {

constexpr int kCommandMilliseconds = 200;

} // namespace

TVeIdeForm::TVeIdeForm(Prompter& prompter, MainWindowOptions options)
    : prompter_(prompter), options_(std::move(options)),
      windows_([this](ToolWindowIndex index) { return ShowToolWindow(index); }) {
    setObjectName("MainWindow");
    project_ = std::make_unique<TVeProject>(
        ProjectServices{mainThread_, *this, prompter_,
                        [this](runtime::TGlobalData& global, const std::string& optionsFile) {
                            auto host = runHosts_.Make(global, optionsFile);
                            global.Gui.SetBridge(bridge_);
                            return host;
                        }});
    LoadConfiguration();
    splash_ = !options_.NoSplash && configuration_.File.ShowSplashScreen();

    editorArea_ = new QTabWidget(this);
    editorArea_->setObjectName("EditorArea");
    editorArea_->setDocumentMode(true);
    editorArea_->setTabsClosable(true);
    editorArea_->setMovable(true);
    setCentralWidget(editorArea_);
    connect(editorArea_, &QTabWidget::currentChanged, this, [this](int index) {
        auto* window = dynamic_cast<EditorWindow*>(editorArea_->widget(index));
        if (window && project_->CurrentUnit() != &window->Unit())
            project_->SetCurrentUnit(&window->Unit());
        if (window) ApplySwitches(*window);
    });
    connect(editorArea_, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (auto* window = dynamic_cast<EditorWindow*>(editorArea_->widget(index)))
            project_->CloseUnit(window->Unit());
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) return;
                for (int i = 0; i < editorArea_->count(); ++i)
                    if (auto* window = dynamic_cast<EditorWindow*>(editorArea_->widget(i)))
                        window->ApplicationDeactivated();
            });

    BuildActions();
    BuildMenusAndToolbar();
    ShowToolWindow(ToolWindowIndex::Files);
    setAcceptDrops(true);
    commandTimer_.setInterval(kCommandMilliseconds);
    connect(&commandTimer_, &QTimer::timeout, this, [this] {
        if (!QApplication::activePopupWidget()) UpdateCommands();
    });
    commandTimer_.start();
    UpdateCaption();
}

TVeIdeForm::~TVeIdeForm() {
    // The units own their editor windows, which live in the editor area:
    // they go first, while the area is still there, and the area no longer
    // reports its pages changing.
    editorArea_->disconnect(this);
    commandTimer_.stop();
    for (int index = 0; index < kToolWindowCount; ++index)
        ForgetToolWindow(static_cast<ToolWindowIndex>(index));
    project_.reset();
}

void TVeIdeForm::Start() {
    if (activated_) return;
    activated_ = true;
    UpdateCaption();
    LoadToolbarFile();
    OpenFiles(options_.Files);
    ApplyConfiguration();
    UpdateCommands();
}

// The splash screen runs an event loop of its own, in which the window may
// be activated again: it is shown once, and the start-up runs once.
bool TVeIdeForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        if (std::exchange(splash_, false)) ShowAbout(true);
        Start();
    }
    return QMainWindow::event(event);
}

void TVeIdeForm::closeEvent(QCloseEvent* event) {
    if (!project_->Close()) {
        event->ignore();
        return;
    }
    SaveToolbarFile();
    event->accept();
}

void TVeIdeForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TVeIdeForm::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(ToBytes(url.toLocalFile()));
    event->acceptProposedAction();
    OpenFiles(files);
}

// Loading and saving the toolbar customisation: the menus' and the
// toolbar's items and the recent files, each reading its own lines of the
// file. A missing or unreadable file leaves both built in; a failed save
// is not worth a box at exit.
void TVeIdeForm::LoadToolbarFile() {
    try {
        const std::string file = HomeFile(ToolbarFileName);
        if (platform::FileExists(file)) {
            const std::string text = platform::ReadWholeFile(file);
            recent_ = RecentFiles::FromText(text);
            SetBars(BarArrangement::FromText(text));
        }
    } catch (const std::exception&) {
        recent_ = RecentFiles();
        SetBars(BarArrangement::BuiltIn());
    }
    RebuildRecentMenu();
}

void TVeIdeForm::SaveToolbarFile() {
    try {
        const std::string file = HomeFile(ToolbarFileName);
        platform::CreateFolderOf(file);
        platform::ReplaceWholeFile(file, recent_.ToText() + Bars().ToText());
    } catch (const std::exception&) {
    }
}

void TVeIdeForm::UpdateCaption() {
    setWindowTitle(FromBytes(project_->Caption(kApplicationTitle)));
}

void TVeIdeForm::ShowAbout(bool splash) {
    AboutBox about(this, splash);
    about.exec();
}

// The project's host.

std::unique_ptr<UnitEditor> TVeIdeForm::CreateEditor(TVeUnit& unit) {
    EditorArea& area = *this;
    auto window = std::make_unique<EditorWindow>(unit, area, configuration_);
    ApplyEditorConfiguration(*window);
    return window;
}

void TVeIdeForm::Notify(ProjectEvent event, TVeUnit* unit) {
    if (event == ProjectEvent::CurrentUnitChanged) {
        if (TVeUnit* current = project_->CurrentUnit(); current && current->Editor())
            if (auto* window = dynamic_cast<EditorWindow*>(current->Editor());
                window && editorArea_->indexOf(window) >= 0)
                editorArea_->setCurrentWidget(window);
        UpdateCaption();
    }
    if (event == ProjectEvent::FilesChanged) {
        UpdateCaption();
        RefreshTabIcons();
    }
    if (event == ProjectEvent::RunStarted || event == ProjectEvent::Finished) {
        // The run starts once this notification has been handled.
        const bool debugging = event == ProjectEvent::RunStarted;
        for (const auto& each : project_->Units())
            if (auto* window = dynamic_cast<EditorWindow*>(each->Editor()))
                window->Editor().setReadOnly(debugging);
    }
    windows_.Notify(static_cast<int>(event));
    UpdateCommands();
}

void TVeIdeForm::PumpEvents() {
    QApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::msleep(1);
}

// The editor area.

// A page's icon tells the project file, the main file and the others apart.
void TVeIdeForm::RefreshTabIcons() {
    for (int index = 0; index < editorArea_->count(); ++index) {
        auto* window = dynamic_cast<EditorWindow*>(editorArea_->widget(index));
        if (!window) continue;
        editorArea_->setTabIcon(index, UnitIcon(window->Unit().Type()));
    }
}

void TVeIdeForm::ShowEditor(EditorWindow& window) {
    if (editorArea_->indexOf(&window) < 0) {
        editorArea_->addTab(&window, window.windowTitle());
        RefreshTabIcons();
    }
    editorArea_->setCurrentWidget(&window);
    window.setFocus();
}

bool TVeIdeForm::IsShowingEditor(const EditorWindow& window) const {
    return editorArea_->indexOf(const_cast<EditorWindow*>(&window)) >= 0;
}

void TVeIdeForm::SetEditorCaption(EditorWindow& window, const QString& caption) {
    window.setWindowTitle(caption);
    if (const int index = editorArea_->indexOf(&window); index >= 0)
        editorArea_->setTabText(index, caption);
}

void TVeIdeForm::EditorCaretMoved(EditorWindow&) {
    windows_.Notify(kCaretMoved);
}

EditorWindow* TVeIdeForm::CurrentEditor() const {
    TVeUnit* unit = project_->CurrentUnit();
    auto* window = unit ? dynamic_cast<EditorWindow*>(unit->Editor()) : nullptr;
    return window && IsShowingEditor(*window) ? window : nullptr;
}

// A tool window is made at its first show, docked in a widget of its own
// whose object name is the window's component name, so layouts can find it.

ToolWindow* TVeIdeForm::ShowToolWindow(ToolWindowIndex index) {
    QDockWidget*& dock = docks_[static_cast<std::size_t>(index)];
    if (!dock) {
        auto made_dock = std::make_unique<ToolDock>(
            index, [this, index] { ForgetToolWindow(index); }, this);
        MadeToolWindow made = MakeToolWindow(index, *this, made_dock.get());
        if (!made.Widget) return nullptr;
        made_dock->setWidget(made.Widget);
        dock = made_dock.release();
        addDockWidget(made.Area, dock);
        windows_.Register(*made.Window);
    }
    dock->show();
    dock->raise();
    return windows_.Window(index);
}

void TVeIdeForm::ForgetToolWindow(ToolWindowIndex index) {
    if (ToolWindow* window = windows_.Window(index)) windows_.Unregister(*window);
    docks_[static_cast<std::size_t>(index)] = nullptr;
}

OutputWindow* TVeIdeForm::Output() const noexcept {
    return dynamic_cast<OutputWindow*>(windows_.Window(ToolWindowIndex::Output));
}

std::string TVeIdeForm::RunOutputSoFar() {
    debugger::TVeDebugger& debugger = project_->Debugger();
    if (debugger.IsPaused())
        if (std::optional<std::string> output = debugger.OutputSoFar()) return *output;
    if (std::optional<debugger::TVeRunningData> run = debugger.RunningData(); run && run->Finished)
        return run->Output;
    return {};
}

} // namespace ozra::ide::gui
