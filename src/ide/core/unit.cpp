// Units: text, saving, marks and debug data of one open file.
#include "ide/core/unit.h"

#include "ide/core/project.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

namespace ozra::ide {

namespace {

constexpr const char* ScriptFilter =
    "Ozra Files (*.ozra)|*.ozra|Ozra Executable (*.ozraexec)|*.ozraexec|"
    "Ozra CodeGenerator (*.ozracode)|*.ozracode|All Files (*.*)|*.*";
constexpr const char* ProjectFilter = "Ozra Project (*.ozraproj)|*.ozraproj";

std::optional<std::filesystem::file_time_type> AgeOf(const std::string& fileName) {
    std::error_code error;
    const auto age = std::filesystem::last_write_time(fileName, error);
    if (error) return std::nullopt;
    return age;
}

std::string ExtensionOf(std::string_view fileName) {
    const std::string_view name = platform::NamePart(fileName);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

} // namespace

TVeUnit::TVeUnit(TVeProject& project, std::string fileName, std::string displayName, bool untitled,
                 UnitType type, std::int64_t identity)
    : project_(project), fileName_(std::move(fileName)), displayName_(std::move(displayName)),
      untitled_(untitled), type_(type), identity_(identity) {}

TVeUnit::~TVeUnit() {
    project_.UnitDestroyed(*this);
}

std::string TVeUnit::Key() const {
    return untitled_ ? std::to_string(identity_) : fileName_;
}

std::string TVeUnit::Caption() const {
    return displayName_ + (modified_ ? " *" : "");
}

void TVeUnit::OpenInEditor() {
    if (!editor_) {
        editor_ = project_.Host().CreateEditor(*this);
        if (type_ == UnitType::Project) {
            editor_->SetHighlighter("xml");
            editor_->Load(memoryText_);
        } else {
            editor_->SetHighlighter(Syntax);
            if (!untitled_) LoadEditorFromFile();
        }
        editor_->SetCaption(Caption());
    }
    RecordFileAge();
    editor_->Show();
    project_.SetCurrentUnit(this);
}

void TVeUnit::LoadEditorFromFile() {
    editor_->Load(platform::ReadWholeFile(fileName_));
}

std::string TVeUnit::Text() const {
    if (editor_) return editor_->Text();
    if (type_ == UnitType::Project || untitled_) return memoryText_;
    return platform::ReadWholeFile(fileName_);
}

void TVeUnit::SetText(std::string_view text) {
    if (editor_)
        editor_->SetText(text);
    else
        memoryText_ = text;
    SetModified(true);
}

void TVeUnit::SetModified(bool modified) {
    modified_ = modified;
    if (modified) modifiedStamp_ = project_.NextStamp();
    if (editor_) editor_->SetCaption(Caption());
}

bool TVeUnit::Save(bool saveAs) {
    const bool isProject = type_ == UnitType::Project;
    if (untitled_ || saveAs) {
        SaveRequest request;
        request.Filter = isProject ? ProjectFilter : ScriptFilter;
        if (untitled_) {
            request.ProposedName = displayName_;
            request.DefaultExtension = isProject ? "ozraproj" : "ozra";
        } else {
            request.ProposedName = fileName_;
            request.DefaultExtension = ExtensionOf(fileName_);
        }
        const std::optional<std::string> chosen = project_.Ask().ChooseSaveName(request);
        if (!chosen) return false;
        // The file is written first, so a failed write leaves the unit as it was.
        platform::ReplaceWholeFile(*chosen, Text());
        Rename(*chosen);
    } else {
        platform::ReplaceWholeFile(fileName_, Text());
    }
    RecordFileAge();
    SetModified(false);
    return true;
}

void TVeUnit::Rename(std::string fileName) {
    fileName_ = std::move(fileName);
    displayName_ = std::string(platform::NamePart(fileName_));
    untitled_ = false;
    project_.Renamed(*this);
}

void TVeUnit::RecordFileAge() {
    if (!untitled_) fileAge_ = AgeOf(fileName_);
}

void TVeUnit::CheckOutsideChange() {
    if (untitled_ || project_.IsBusy()) return;
    const auto age = AgeOf(fileName_);
    if (!age || age == fileAge_) return;
    fileAge_ = age;
    const std::string question = "File " + fileName_ + "'s time/date changed. Reload?";
    if (project_.Ask().Ask(question, Choices::YesNo) != Answer::Yes) return;
    try {
        if (editor_) LoadEditorFromFile();
        SetModified(false);
    } catch (const std::exception&) {
        // A file that vanished in between keeps the text shown.
    }
}

void TVeUnit::ToggleBreakpoint(std::int32_t line) {
    const bool on = breakpoints_.Toggle(line);
    if (DebugDataUpToDate()) debugData_->SetBreakpoint(line, on);
    // A run in progress has its own compile of the unit.
    if (project_.IsDebugging()) project_.Debugger().Program().SetBreakpoint(ShownName(), line, on);
    if (editor_) editor_->Repaint();
    project_.Notify(ProjectEvent::BreakpointsChanged, this);
}

void TVeUnit::ToggleBookmark(std::int32_t line, bool notify) {
    bookmarks_.Toggle(line);
    if (editor_) editor_->Repaint();
    if (notify) project_.Notify(ProjectEvent::BookmarksChanged, this);
}

void TVeUnit::ClearBreakpoints() {
    for (const std::int32_t line : breakpoints_.Lines()) {
        if (DebugDataUpToDate()) debugData_->SetBreakpoint(line, false);
        if (project_.IsDebugging())
            project_.Debugger().Program().SetBreakpoint(ShownName(), line, false);
    }
    breakpoints_.Clear();
    if (editor_) editor_->Repaint();
}

void TVeUnit::ClearBookmarks() {
    bookmarks_.Clear();
    if (editor_) editor_->Repaint();
}

void TVeUnit::InstallDebugData(std::shared_ptr<debugger::TVeDebugData> data,
                               std::uint64_t compileStamp) {
    debugData_ = std::move(data);
    compileStamp_ = compileStamp;
    for (const std::int32_t line : breakpoints_.Lines())
        debugData_->SetBreakpoint(line, true);
    if (editor_) editor_->Repaint();
    project_.Notify(ProjectEvent::DebugData, this);
    if (!debugData_->Bookmarks.empty()) project_.Notify(ProjectEvent::DebugDataErrors, this);
}

} // namespace ozra::ide
