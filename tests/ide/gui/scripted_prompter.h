// A prompter that answers from a script and records what it was shown, so
// that no test ever waits on a box.
#pragma once

#include "ide/core/prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace ozra::ide::gui::testing {

class ScriptedPrompter final : public Prompter {
  public:
    Answer Ask(std::string_view question, Choices) override {
        Questions.emplace_back(question);
        if (Answers.empty()) return Answer::Cancel;
        const Answer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void ShowError(std::string_view message) override { Errors.emplace_back(message); }
    void ShowInfo(std::string_view message) override { Infos.emplace_back(message); }
    std::optional<std::string> ChooseSaveName(const SaveRequest&) override {
        if (SaveNames.empty()) return std::nullopt;
        std::string name = SaveNames.front();
        SaveNames.pop_front();
        return name;
    }

    std::deque<Answer> Answers;
    std::deque<std::string> SaveNames;
    std::vector<std::string> Questions;
    std::vector<std::string> Errors;
    std::vector<std::string> Infos;
};

} // namespace ozra::ide::gui::testing
