// Opening, closing, saving and listing the units of a project.
#include "ide/core/project.h"

#include "ide/core/project_file.h"
#include "libs/path_helper.h"
#include "libs/xml/xml_document.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::ide {

class TVeProject::BusyScope {
  public:
    explicit BusyScope(TVeProject& project) : project_(project) { ++project_.busy_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { --project_.busy_; }

  private:
    TVeProject& project_;
};

TVeProject::TVeProject(ProjectServices services)
    : services_(std::move(services)), document_(NewProjectDocument()),
      debugger_(services_.MainThread, *this) {}

TVeProject::~TVeProject() {
    // Units report their end to the project, which must still be whole.
    units_.clear();
}

std::string TVeProject::ProjectFolder() const {
    if (!projectUnit_ || projectUnit_->Untitled()) return {};
    return std::string(platform::FolderPart(projectUnit_->FileName()));
}

std::string TVeProject::Caption(std::string_view appTitle) const {
    std::string caption(appTitle);
    if (projectUnit_) caption += " - " + projectUnit_->DisplayName();
    return caption;
}

bool TVeProject::IsCompiling() const noexcept {
    return compiling_ > 0 || std::any_of(units_.begin(), units_.end(),
                                         [](const auto& unit) { return unit->CheckRunning(); });
}

TVeUnit* TVeProject::FindUnit(std::string_view key) const {
    for (const auto& unit : units_)
        if (unit->Key() == key) return unit.get();
    return nullptr;
}

TVeUnit* TVeProject::UnitNamed(std::string_view shownName) const {
    for (const auto& unit : units_)
        if (unit->ShownName() == shownName) return unit.get();
    return nullptr;
}

void TVeProject::SetCurrentUnit(TVeUnit* unit) {
    if (currentUnit_ == unit) return;
    currentUnit_ = unit;
    Notify(ProjectEvent::CurrentUnitChanged, unit);
}

void TVeProject::Sort() {
    std::stable_sort(units_.begin(), units_.end(), [](const auto& a, const auto& b) {
        const std::string left = a->Key();
        const std::string right = b->Key();
        const int order = value::CompareNames(left, right);
        return order != 0 ? order < 0 : left < right;
    });
}

TVeUnit& TVeProject::AddUnit(std::unique_ptr<TVeUnit> unit) {
    TVeUnit& added = *unit;
    units_.push_back(std::move(unit));
    Sort();
    return added;
}

void TVeProject::RemoveUnit(TVeUnit& unit) {
    const auto at = std::find_if(units_.begin(), units_.end(),
                                 [&](const auto& each) { return each.get() == &unit; });
    if (at != units_.end()) units_.erase(at);
}

void TVeProject::UnitDestroyed(TVeUnit& unit) noexcept {
    for (TVeUnit** link : {&projectUnit_, &mainUnit_, &currentUnit_, &runUnit_, &pausedUnit_})
        if (*link == &unit) *link = nullptr;
}

void TVeProject::Renamed(TVeUnit& unit) {
    Sort();
    if (IsMemberType(unit.Type())) RegenerateText();
}

// A name is taken relative to the project file's folder unless it is
// absolute. A drive name («C:\lib\b.ozra») names nothing here and is kept as
// written, so that it is reported as not found.
TVeUnit* TVeProject::OpenFile(const std::string& name, bool asNew, UnitType type) {
    std::string fullName;
    if (platform::HasDrive(name) || platform::IsNetworkPath(name)) {
        fullName = name;
    } else if (!name.empty()) {
        const std::string slashed = platform::SlashPath(name);
        fullName = libs::ExpandFileName(
            platform::IsAbsolutePath(slashed) ? slashed : ProjectFolder() + slashed);
    }
    if (!asNew) {
        if (fullName.empty()) return nullptr;
        if (TVeUnit* open = FindUnit(fullName)) return open;
        if (!platform::FileExists(fullName)) return nullptr;
    }
    if (type != UnitType::Project && !projectUnit_) type = UnitType::Other;
    const bool untitled = fullName.empty();
    std::string displayName = untitled ? "Noname" + std::to_string(++nextUntitled_) +
                                             (type == UnitType::Project ? ".ozraproj" : ".ozra")
                                       : std::string(platform::NamePart(fullName));
    TVeUnit& unit = AddUnit(std::make_unique<TVeUnit>(*this, fullName, std::move(displayName),
                                                      untitled, type, ++nextIdentity_));
    if (IsMemberType(type)) RegenerateText();
    return &unit;
}

bool TVeProject::New() {
    if (!Close()) return false;
    BusyScope busy(*this);
    projectUnit_ = OpenFile({}, true, UnitType::Project);
    TVeUnit* main = OpenFile({}, true, UnitType::Main);
    main->displayName_ = "main.ozra";
    mainUnit_ = main;
    projectUnit_->OpenInEditor();
    main->OpenInEditor();
    RegenerateText();
    Notify(ProjectEvent::FilesChanged);
    return true;
}

void TVeProject::LoadDocument(const std::string& fileName) {
    const std::string text = platform::ReadWholeFile(fileName);
    document_ = xml::ParseXml(text);
    projectUnit_ = OpenFile(fileName, false, UnitType::Project);
    projectUnit_->memoryText_ = text;
}

bool TVeProject::Open(const std::string& fileName) {
    if (!Close()) return false;
    BusyScope busy(*this);
    loading_ = true;
    try {
        LoadDocument(fileName);
        projectUnit_->OpenInEditor();
        for (const ProjectFileEntry& entry : ReadFileEntries(document_)) {
            TVeUnit* unit = OpenFile(entry.Path, false, entry.Type);
            if (!unit) {
                Ask().ShowError("File not found: " + entry.Path);
                continue;
            }
            unit->Syntax = entry.Syntax;
            if (unit->Type() == UnitType::Main) mainUnit_ = unit;
        }
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
    Notify(ProjectEvent::FilesChanged);
    return true;
}

// The main thread keeps serving the window and the debugger meanwhile, so
// the run's end and the checks' results can arrive.
void TVeProject::WaitForQuiet(bool runStopped) {
    while ((runStopped && IsDebugging()) || IsCompiling())
        Host().PumpEvents();
}

bool TVeProject::CloseUnit(TVeUnit& unit) {
    BusyScope busy(*this);
    bool runStopped = false;
    if (IsProjectType(unit.Type()) && unit.UsedInRun && IsDebugging()) {
        if (Ask().Ask("Debug in progress, terminate?", Choices::YesCancel) != Answer::Yes)
            return false;
        debugger_.Run(debugger::RunMode::Stop);
        runStopped = true;
    }
    bool discard = false;
    if (unit.Modified()) {
        switch (
            Ask().Ask("Save changes to file " + unit.DisplayName() + " ?", Choices::YesNoCancel)) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            if (!unit.Save(false)) return false;
            break;
        case Answer::No:
            discard = true;
            break;
        }
    }
    WaitForQuiet(runStopped);
    // The project document lives on in memory when its editor goes.
    if (unit.Type() == UnitType::Project && unit.Editor() && !discard)
        unit.memoryText_ = unit.Editor()->Text();
    unit.editor_.reset();
    if (discard) unit.SetModified(false);
    if (currentUnit_ == &unit) currentUnit_ = nullptr;
    if (!IsProjectType(unit.Type()) || unit.Untitled()) RemoveUnit(unit);
    Notify(ProjectEvent::CurrentUnitChanged, currentUnit_);
    return true;
}

bool TVeProject::CloseAll() {
    BusyScope busy(*this);
    std::vector<TVeUnit*> others;
    for (const auto& unit : units_)
        if (unit.get() != projectUnit_) others.push_back(unit.get());
    for (TVeUnit* unit : others) {
        const bool untitledMember = unit->Untitled() && IsMemberType(unit->Type());
        SetCurrentUnit(unit);
        if (!CloseUnit(*unit)) return false;
        if (untitledMember) RegenerateText();
    }
    if (projectUnit_ && !CloseUnit(*projectUnit_)) return false;
    return true;
}

bool TVeProject::Close() {
    if (!CloseAll()) return false;
    units_.clear();
    document_ = NewProjectDocument();
    errors_.clear();
    Notify(ProjectEvent::FilesChanged);
    Notify(ProjectEvent::CurrentUnitChanged);
    return true;
}

void TVeProject::SetAsMain(TVeUnit& unit) {
    if (!projectUnit_ || &unit == projectUnit_) return;
    if (mainUnit_ && mainUnit_ != &unit) mainUnit_->type_ = UnitType::Code;
    unit.type_ = UnitType::Main;
    mainUnit_ = &unit;
    RegenerateText();
    Notify(ProjectEvent::FilesChanged);
}

void TVeProject::AddToProject(TVeUnit& unit) {
    if (!projectUnit_ || &unit == projectUnit_) return;
    if (mainUnit_ == &unit) mainUnit_ = nullptr;
    unit.type_ = UnitType::Code;
    RegenerateText();
    Notify(ProjectEvent::FilesChanged);
}

void TVeProject::RemoveFromProject(TVeUnit& unit) {
    if (&unit == projectUnit_) return;
    if (mainUnit_ == &unit) mainUnit_ = nullptr;
    unit.type_ = UnitType::Other;
    RegenerateText();
    if (!unit.Editor()) RemoveUnit(unit);
    Notify(ProjectEvent::FilesChanged);
}

// Untitled members have no path yet; they join the list when saved.
void TVeProject::RegenerateText() {
    if (loading_ || !projectUnit_) return;
    if (projectUnit_->Editor()) {
        try {
            document_ = xml::ParseXml(projectUnit_->Editor()->Text());
        } catch (const std::exception& error) {
            // Rewriting text the user is still editing would lose it.
            Ask().ShowError(error.what());
            return;
        }
    }
    const std::string folder = ProjectFolder();
    std::vector<ProjectFileEntry> entries;
    for (const auto& unit : units_)
        if (IsMemberType(unit->Type()) && !unit->Untitled())
            entries.push_back({StoredPath(unit->FileName(), folder), unit->Type(), {}});
    WriteFileEntries(document_, entries);
    // Unchanged text does not mark the project unit modified.
    const std::string text = ProjectText(document_);
    if (text != projectUnit_->Text()) projectUnit_->SetText(text);
}

bool TVeProject::SaveCurrent(bool saveAs) {
    return currentUnit_ && currentUnit_->Save(saveAs);
}

// A unit saved under its first name changes its key and the list reorders,
// so the pass starts again. A cancelled dialog ends the whole save: asking
// again for the same file would never end.
bool TVeProject::SaveAll() {
    int passes = 0;
    for (bool again = true; again;) {
        again = false;
        ++passes;
        for (std::size_t index = 0; index < units_.size(); ++index) {
            TVeUnit& unit = *units_[index];
            if (!unit.Modified()) continue;
            const bool untitled = unit.Untitled();
            if (!unit.Save(false)) return false;
            if (untitled) {
                again = true;
                break;
            }
        }
    }
    if (passes > 1 && projectUnit_) {
        RegenerateText();
        return projectUnit_->Save(false);
    }
    return true;
}

} // namespace ozra::ide
