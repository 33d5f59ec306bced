// Every question the environment's core asks the user, and every message
// box it shows, goes through a `Prompter`: the window layer answers with
// dialogs, tests answer from a script, so no core operation ever blocks on
// a box nobody can see.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ozra::ide {

enum class Answer { Yes, No, Cancel };

// The buttons a question offers.
enum class Choices { YesNo, YesCancel, YesNoCancel };

// What a save dialog proposes.
struct SaveRequest {
    // A name without folder for an untitled file, the full name for a save-as.
    std::string ProposedName;
    // Without the dot; empty for none.
    std::string DefaultExtension;
    // «Caption (pattern)|pattern|...».
    std::string Filter;
};

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual Answer Ask(std::string_view question, Choices choices) = 0;
    virtual void ShowError(std::string_view message) = 0;
    virtual void ShowInfo(std::string_view message) = 0;
    // The chosen full file name, or none when the user cancels.
    virtual std::optional<std::string> ChooseSaveName(const SaveRequest& request) = 0;
};

} // namespace ozra::ide
