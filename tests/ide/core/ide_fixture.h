// A project driven the way the window layer drives it, headless: editors
// are byte buffers, questions are answered from a script, notifications
// are recorded, and debugger work runs from a queue.
#pragma once

#include "../../support/temp_folder.h"
#include "debugger/main_thread.h"
#include "ide/core/project.h"
#include "ide/core/run_hosts.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace ozra::ide::testing {

class MemoryEditor final : public UnitEditor {
  public:
    std::string Text() const override { return text_; }
    void SetText(std::string_view text) override { text_ = text; }
    std::int32_t SelectionStart() const override { return start_; }
    std::int32_t SelectionLength() const override { return length_; }
    void Select(std::int32_t start, std::int32_t length) override {
        start_ = start;
        length_ = length;
    }
    void ReplaceSelection(std::string_view text) override {
        text_.replace(static_cast<std::size_t>(start_), static_cast<std::size_t>(length_), text);
        start_ += static_cast<std::int32_t>(text.size());
        length_ = 0;
    }
    void Load(std::string_view text) override {
        text_ = text;
        start_ = length_ = 0;
    }
    void SetCaption(std::string_view caption) override { Caption = caption; }
    void SetHighlighter(std::string_view name) override { Highlighter = name; }
    void Show() override { Showing = true; }
    bool IsShowing() const override { return Showing; }
    void MarkExecutionLine(std::int32_t line) override { ExecutionLine = line; }
    void ClearExecutionLine() override { ExecutionLine = -1; }
    void ShowLine(std::int32_t line) override { ShownLine = line; }
    void Repaint() override {}

    std::string Caption;
    std::string Highlighter;
    bool Showing = false;
    std::int32_t ExecutionLine = -1;
    std::int32_t ShownLine = 0;

  private:
    std::string text_;
    std::int32_t start_ = 0;
    std::int32_t length_ = 0;
};

// Answers questions in the order scripted; an unexpected question fails
// the test and is answered Cancel.
class ScriptedPrompter final : public Prompter {
  public:
    Answer Ask(std::string_view question, Choices) override {
        Asked.emplace_back(question);
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question;
            return Answer::Cancel;
        }
        const Answer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowError(std::string_view message) override { Errors.emplace_back(message); }
    void ShowInfo(std::string_view message) override { Infos.emplace_back(message); }
    std::optional<std::string> ChooseSaveName(const SaveRequest& request) override {
        Requests.push_back(request);
        if (SaveNames.empty()) return std::nullopt;
        std::string name = SaveNames.front();
        SaveNames.pop_front();
        return name;
    }

    std::deque<Answer> Answers;
    // An empty deque cancels the dialog.
    std::deque<std::string> SaveNames;
    std::vector<std::string> Asked;
    std::vector<std::string> Errors;
    std::vector<std::string> Infos;
    std::vector<SaveRequest> Requests;
};

class RecordingHost final : public EditorHost {
  public:
    explicit RecordingHost(debugger::WorkQueue& queue) : queue_(queue) {}
    std::unique_ptr<UnitEditor> CreateEditor(TVeUnit&) override {
        return std::make_unique<MemoryEditor>();
    }
    void Notify(ProjectEvent event, TVeUnit*) override {
        Events.push_back(static_cast<int>(event));
    }
    void PumpEvents() override { queue_.WaitAndRun(std::chrono::milliseconds(1)); }

    std::vector<int> Events;

  private:
    debugger::WorkQueue& queue_;
};

class ProjectTest : public ::testing::Test {
  protected:
    static MemoryEditor& EditorOf(const TVeUnit& unit) {
        return *static_cast<MemoryEditor*>(unit.Editor());
    }
    // Runs queued debugger work until `done` holds (or ten seconds pass).
    template <class Done> bool PumpUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline)
            Queue.WaitAndRun(std::chrono::milliseconds(5));
        return done();
    }
    bool Saw(ProjectEvent event) const {
        return std::find(Host.Events.begin(), Host.Events.end(), static_cast<int>(event)) !=
               Host.Events.end();
    }

    ozra::testing::TempFolder Folder;
    debugger::WorkQueue Queue;
    RecordingHost Host{Queue};
    ScriptedPrompter Prompts;
    StandardRunHosts Hosts;
    TVeProject Project{ProjectServices{
        Queue, Host, Prompts, [this](runtime::TGlobalData& global, const std::string& options) {
            return Hosts.Make(global, options);
        }}};
};

} // namespace ozra::ide::testing
