// `TVeUnit`: one file open in the environment.
//
// A unit knows its file (or the name it was created with while untitled),
// its role in the project, its editor when one is open, the debug data of
// its last compile, and the lines that carry breakpoints and bookmarks. Its
// text is the editor's when an editor is open, the file's otherwise; the
// project unit alone keeps text in memory (the project document as XML).
//
// Modifications and compiles are ordered by the project's stamps rather
// than by a clock, so "compiled after the last change" is exact even when
// both happen within one clock tick.
#pragma once

#include "debugger/debugger.h"
#include "ide/core/editor_host.h"
#include "ide/core/line_list.h"
#include "ide/core/unit_type.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ozra::ide {

class TVeProject;

class TVeUnit {
  public:
    TVeUnit(TVeProject& project, std::string fileName, std::string displayName, bool untitled,
            UnitType type, std::int64_t identity);
    TVeUnit(const TVeUnit&) = delete;
    TVeUnit& operator=(const TVeUnit&) = delete;
    ~TVeUnit();

    TVeProject& Project() const noexcept { return project_; }
    // The full path; empty while untitled.
    const std::string& FileName() const noexcept { return fileName_; }
    const std::string& DisplayName() const noexcept { return displayName_; }
    bool Untitled() const noexcept { return untitled_; }
    UnitType Type() const noexcept { return type_; }
    // The key the project sorts units by: the full path, or a decimal
    // identity for an untitled unit.
    std::string Key() const;
    // The name messages and debug data give the unit.
    const std::string& ShownName() const noexcept { return untitled_ ? displayName_ : fileName_; }

    UnitEditor* Editor() const noexcept { return editor_.get(); }
    // Creates the editor when missing, loads it, shows it and makes the unit
    // current.
    void OpenInEditor();
    // The editor's text, else the in-memory text of the project unit, else
    // the file's bytes.
    std::string Text() const;
    // Replaces the editor's or the in-memory text and marks the unit modified.
    void SetText(std::string_view text);

    bool Modified() const noexcept { return modified_; }
    void SetModified(bool modified);

    // Saves to the file, asking for a name when untitled or `saveAs`; false
    // when the user cancels. Write errors are raised and change nothing.
    bool Save(bool saveAs);
    // Asks to reload a file changed outside since the last load or save.
    void CheckOutsideChange();

    void ToggleBreakpoint(std::int32_t line);
    void ToggleBookmark(std::int32_t line, bool notify);
    // Remove every breakpoint (from the debug data and a run in progress
    // too) or every bookmark, and repaint the editor; nothing is notified.
    void ClearBreakpoints();
    void ClearBookmarks();
    const LineList& Breakpoints() const noexcept { return breakpoints_; }
    const LineList& Bookmarks() const noexcept { return bookmarks_; }
    LineList& MutableBookmarks() noexcept { return bookmarks_; }

    const std::shared_ptr<debugger::TVeDebugData>& DebugData() const noexcept { return debugData_; }
    // Compiled after the last modification.
    bool DebugDataUpToDate() const noexcept { return debugData_ && compileStamp_ > modifiedStamp_; }
    // Takes the data of a compile that started at `compileStamp`, applies the
    // breakpoints to it and notifies 5 (and 6 when it holds errors).
    void InstallDebugData(std::shared_ptr<debugger::TVeDebugData> data, std::uint64_t compileStamp);
    bool CheckRunning() const noexcept { return checkRunning_; }

    bool UsedInRun = false;
    std::string Syntax;
    // Results of the last find in files, in the order found.
    std::vector<debugger::TVeBookmark> SearchResults;

  private:
    friend class TVeProject;

    void Rename(std::string fileName);
    void RecordFileAge();
    void LoadEditorFromFile();
    std::string Caption() const;

    TVeProject& project_;
    std::string fileName_;
    std::string displayName_;
    bool untitled_;
    UnitType type_;
    std::int64_t identity_;
    bool modified_ = false;
    std::uint64_t modifiedStamp_ = 0;
    std::uint64_t compileStamp_ = 0;
    std::optional<std::filesystem::file_time_type> fileAge_;
    std::string memoryText_;
    LineList breakpoints_;
    LineList bookmarks_;
    std::shared_ptr<debugger::TVeDebugData> debugData_;
    bool checkRunning_ = false;
    debugger::BackgroundCheck check_;
    // Last, so that the window closes before the rest of the unit goes.
    std::unique_ptr<UnitEditor> editor_;
};

} // namespace ozra::ide
