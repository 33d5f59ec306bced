// The main window's commands: actions, menus and toolbar made from the
// command table, their enabling, and what each command does.
#include "bridge_qt/file_dialog_setup.h"
#include "ide/core/environment_files.h"
#include "ide/gui/main_window.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/rich_copy.h"
#include "ide/gui/tool_window.h"
#include "libs/dialog_lib.h"
#include "platform/file_system.h"
#include "value/names.h"

#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileDialog>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

#include <filesystem>

namespace ozra::ide::gui {

namespace {

using enum CommandId;

constexpr const char* kOpenFilter =
    "All Ozra Files "
    "(*.ozra;*.ozraproj;*.ozraexec;*.ozracode)|*.ozra;*.ozraproj;*.ozraexec;*.ozracode|"
    "Ozra Project (*.ozraproj)|*.ozraproj|Ozra Executable (*.ozraexec)|*.ozraexec|"
    "Ozra CodeGenerator (*.ozracode)|*.ozracode|All Files (*.*)|*.*";
constexpr const char* kHomepage = "https://www.velkor.example/";

QStyle::StandardPixmap IconOf(CommandId command) {
    switch (command) {
    case FileNew:
        return QStyle::SP_FileIcon;
    case FileOpen:
        return QStyle::SP_DialogOpenButton;
    case FileSave:
        return QStyle::SP_DialogSaveButton;
    case FileSaveAll:
        return QStyle::SP_DriveFDIcon;
    case EditUndo:
        return QStyle::SP_ArrowBack;
    case EditRedo:
        return QStyle::SP_ArrowForward;
    case EditCut:
        return QStyle::SP_DialogDiscardButton;
    case EditCopy:
        return QStyle::SP_FileDialogDetailedView;
    case EditPaste:
        return QStyle::SP_FileDialogContentsView;
    case SearchFind:
        return QStyle::SP_FileDialogContentsView;
    case ToggleBreakpoint:
        return QStyle::SP_DialogNoButton;
    case Run:
        return QStyle::SP_MediaPlay;
    case ProjectPause:
        return QStyle::SP_MediaPause;
    case ProjectStop:
        return QStyle::SP_MediaStop;
    case DebugStep:
        return QStyle::SP_MediaSkipForward;
    case DebugInto:
        return QStyle::SP_ArrowDown;
    case DebugReturn:
        return QStyle::SP_ArrowUp;
    case HelpAbout:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_CustomBase;
    }
}

ToolWindowIndex ViewedWindow(CommandId command) {
    return static_cast<ToolWindowIndex>(static_cast<int>(command) -
                                        static_cast<int>(ViewStructure));
}

// The stand-alone `ozra` program: beside this one when installed, in its
// own build folder in a build tree, else on the PATH.
QString FindOzraProgram() {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {here + "/ozra", here + "/../ozra/ozra"})
        if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
    return QStandardPaths::findExecutable("ozra");
}

} // namespace

void TVeIdeForm::BuildActions() {
    auto* scopes = new QActionGroup(this);
    for (const Command& command : Commands()) {
        auto* action = new QAction(FromBytes(command.Caption), this);
        action->setObjectName(FromBytes(command.Name));
        const std::string_view hint = command.Hint;
        const std::size_t bar = hint.find('|');
        action->setToolTip(FromBytes(hint.substr(0, bar)));
        action->setStatusTip(
            FromBytes(bar == std::string_view::npos ? hint : hint.substr(bar + 1)));
        action->setShortcut(QKeySequence(FromBytes(command.Shortcut)));
        if (IconOf(command.Id) != QStyle::SP_CustomBase)
            action->setIcon(style()->standardIcon(IconOf(command.Id)));
        if (command.Flags & kToggle) action->setCheckable(true);
        if (command.Flags & kRunScope) {
            action->setCheckable(true);
            scopes->addAction(action);
        }
        action->setVisible(!(command.Flags & kHidden));
        addAction(action); // shortcuts work while the menu bar is hidden too
        connect(action, &QAction::triggered, this, [this, id = command.Id] { Execute(id); });
        actions_[static_cast<std::size_t>(command.Id)] = action;
    }
    Action(RunProject).setChecked(true);
}

QMenu* TVeIdeForm::Menu(std::string_view category) const {
    for (QMenu* menu : menus_)
        if (ToBytes(menu->objectName()) == category) return menu;
    return nullptr;
}

void TVeIdeForm::RebuildRecentMenu() {
    recentMenu_->clear();
    for (const std::string& file : recent_.Entries()) {
        QAction* entry = recentMenu_->addAction(FromBytes(file));
        connect(entry, &QAction::triggered, this, [this, file] { OpenRecent(file); });
    }
}

CommandState TVeIdeForm::CurrentState() const {
    CommandState state;
    const TVeProject& project = *project_;
    state.Busy = project.IsBusy();
    state.Compiling = project.IsCompiling();
    state.HasMainUnit = project.MainUnit() != nullptr;
    state.HasUnits = !project.Units().empty();
    for (const auto& unit : project.Units())
        state.AnyUnitModified |= unit->Modified();
    if (EditorWindow* current = CurrentEditor()) {
        state.CurrentEditorShowing = true;
        state.CurrentModified = current->Unit().Modified();
        const TVeUnit& unit = current->Unit();
        state.NodeAtCaret = unit.DebugDataUpToDate() &&
                            unit.DebugData()->FunctionAt(current->SelectionStart()) != nullptr;
    }
    if (auto* focused = qobject_cast<ScriptEditor*>(QApplication::focusWidget())) {
        state.FocusIsEditor = true;
        state.FocusHasSelection = focused->hasSelectedText();
        state.FocusWritable = !focused->isReadOnly();
        state.FocusCanUndo = focused->CanUndo();
        state.FocusCanRedo = focused->isRedoAvailable();
    }
    state.Debugging = project_->IsDebugging();
    state.Paused = project_->Debugger().IsPaused();
    state.Scope = static_cast<RunScopeChoice>(project.Scope);
    return state;
}

void TVeIdeForm::UpdateCommands() {
    const CommandState state = CurrentState();
    for (const Command& command : Commands())
        Action(command.Id).setEnabled(IsEnabled(command.Id, state));
}

void TVeIdeForm::ApplySwitches(EditorWindow& window) {
    ScriptEditor& editor = window.Editor();
    const bool special = Action(ShowSpecialChars).isChecked();
    editor.setWhitespaceVisibility(special ? QsciScintilla::WsVisible : QsciScintilla::WsInvisible);
    editor.setEolVisibility(special);
    editor.setWrapMode(Action(EditLineWrap).isChecked() ? QsciScintilla::WrapWord
                                                        : QsciScintilla::WrapNone);
}

void TVeIdeForm::Execute(CommandId command) {
    try {
        ExecuteUnguarded(command);
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
    UpdateCommands();
}

void TVeIdeForm::ExecuteUnguarded(CommandId command) {
    TVeProject& project = *project_;
    EditorWindow* current = CurrentEditor();
    auto* focused = qobject_cast<ScriptEditor*>(QApplication::focusWidget());
    switch (command) {
    case NewProject:
        project.New();
        break;
    case FileNew:
        NewFile();
        break;
    case FileOpen:
        ChooseFilesToOpen();
        break;
    case FileSave:
        if (project.SaveCurrent(false) && current) current->Editor().Saved();
        break;
    case FileSaveAs:
        if (project.SaveCurrent(true) && current) current->Editor().Saved();
        break;
    case FileSaveAll:
        SaveAll();
        break;
    case FileClose:
        if (current) project.CloseUnit(current->Unit());
        break;
    case FileCloseAll:
        project.Close();
        break;
    case FileExit:
        close();
        break;
    case EditUndo:
        if (focused) focused->undo();
        break;
    case EditRedo:
        if (focused) focused->redo();
        break;
    case EditCopy:
        if (focused) CopyWithFormats(*focused);
        break;
    case EditCut:
        if (focused) {
            CopyWithFormats(*focused);
            focused->removeSelectedText();
        }
        break;
    case EditPaste:
        if (focused) focused->paste();
        break;
    case EditDelete:
        if (focused) focused->SendScintilla(QsciScintillaBase::SCI_CLEAR);
        break;
    case EditSelectAll:
        if (focused) focused->selectAll();
        break;
    case ShowSpecialChars:
    case EditLineWrap:
        if (current) ApplySwitches(*current);
        break;
    case ToggleBookmark:
        if (current) current->Unit().ToggleBookmark(current->Editor().CaretLine(), true);
        break;
    case ToggleBreakpoint:
        if (current) current->Unit().ToggleBreakpoint(current->Editor().CaretLine());
        break;
    case ViewStructure:
    case ViewFiles:
    case ViewOutput:
    case ViewWarning:
    case ViewError:
    case ViewBookmark:
    case ViewBreakpoint:
    case ViewCommand:
    case ViewSearchResult:
    case ViewLayoutManager:
        if (ToolWindow* window = ShowToolWindow(ViewedWindow(command))) window->FocusContent();
        break;
    case Run:
        project.Run(debugger::RunMode::Run);
        break;
    case ProjectPause:
        project.Run(debugger::RunMode::Pause);
        break;
    case ProjectStop:
        project.Run(debugger::RunMode::Stop);
        break;
    case DebugStep:
        project.Run(debugger::RunMode::StepOver);
        break;
    case DebugInto:
        project.Run(debugger::RunMode::TraceInto);
        break;
    case DebugReturn:
        project.Run(debugger::RunMode::RunUntilReturn);
        break;
    case RunProject:
        project.Scope = RunScope::Project;
        break;
    case RunFile:
        project.Scope = RunScope::CurrentFile;
        break;
    case RunFromCursor:
        project.Scope = RunScope::AtCaret;
        break;
    case SyntaxCheck:
        project.CheckAll();
        break;
    case ToolsOptions:
        RunOptions();
        break;
    case HelpContents:
        OpenHelp("Velkor Weftline Studio Manual.chm");
        break;
    case HelpOzra:
        OpenHelp("Ozra Manual.chm");
        break;
    case HelpOzraApi:
        OpenHelp("Ozra API.chm");
        break;
    case HelpVisitHome:
        QDesktopServices::openUrl(QUrl(kHomepage));
        break;
    case HelpAbout:
        ShowAbout(false);
        break;
    case Customize:
        ShowCustomizeDialog();
        break;
    // Searching belongs to a window of its own; Run to Cursor is hidden
    // and does nothing.
    case SearchFind:
    case SearchReplace:
    case SearchFindNext:
    case FindPrev:
    case DebugCursor:
        break;
    }
}

// The project makes it "other" while no project file is open.
void TVeIdeForm::NewFile() {
    if (TVeUnit* unit = project_->OpenFile({}, true, UnitType::Code)) unit->OpenInEditor();
}

// Only the editors whose files were written forget their undo history.
void TVeIdeForm::SaveAll() {
    std::vector<EditorWindow*> modified;
    for (const auto& unit : project_->Units())
        if (auto* window = dynamic_cast<EditorWindow*>(unit->Editor()); window && unit->Modified())
            modified.push_back(window);
    project_->SaveAll();
    for (EditorWindow* window : modified)
        if (!window->Unit().Modified()) window->Editor().Saved();
}

void TVeIdeForm::OpenFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        try {
            OpenOne(file);
        } catch (const std::exception& error) {
            ShowError(error.what());
        }
    }
}

void TVeIdeForm::OpenOne(const std::string& file) {
    if (!platform::FileExists(file)) {
        ShowError("File " + file + " not exists");
        return;
    }
    const std::string full = std::filesystem::absolute(file).lexically_normal().string();
    constexpr std::string_view kProjectExtension = ".ozraproj";
    if (full.size() >= kProjectExtension.size() &&
        value::NamesEqual(std::string_view(full).substr(full.size() - kProjectExtension.size()),
                          kProjectExtension)) {
        project_->Open(full);
    } else if (TVeUnit* unit = project_->OpenFile(full, false, UnitType::Other)) {
        unit->OpenInEditor();
    }
    recent_.Add(full);
    RebuildRecentMenu();
}

void TVeIdeForm::OpenRecent(const std::string& file) {
    if (!platform::FileExists(file)) {
        ShowError("File " + file + " not exists");
        recent_.Remove(file);
        RebuildRecentMenu();
        return;
    }
    OpenFiles({file});
}

void TVeIdeForm::ChooseFilesToOpen() {
    QFileDialog dialog(this, QFileDialog::tr("Open"));
    bridge_qt::SetUpFileDialog(dialog, libs::ParseFileFilter(kOpenFilter), {});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDefaultSuffix("ozra");
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles())
        files.push_back(ToBytes(file));
    OpenFiles(files);
}

// The options dialog is an Ozra project run by the stand-alone program,
// which edits the configuration file; the window stays painted meanwhile
// and applies the file when the program ends.
void TVeIdeForm::RunOptions() {
    const QString program = FindOzraProgram();
    if (program.isEmpty()) {
        ShowError("Velkor Ozra Virtual Machine not found!");
        return;
    }
    QProcess options;
    options.start(program, {FromBytes(DataFolder() + std::string(OptionsProjectName)),
                            FromBytes("/PConfigFile=" + HomeFile(ConfigFileName))});
    if (!options.waitForStarted()) {
        ShowError("Velkor Ozra Virtual Machine not found!");
        return;
    }
    while (!options.waitForFinished(10))
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ApplyConfiguration();
}

void TVeIdeForm::OpenHelp(std::string_view file) {
    const std::string path = DataFolder() + std::string(file);
    if (!platform::FileExists(path)) {
        ShowError("File " + path + " not exists");
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromBytes(path)));
}

} // namespace ozra::ide::gui
