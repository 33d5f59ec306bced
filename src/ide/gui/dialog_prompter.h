// The core's questions and messages answered with message boxes and Qt's
// own save dialog, titled with the application's name.
#pragma once

#include "ide/core/prompter.h"

class QWidget;

namespace ozra::ide::gui {

class DialogPrompter final : public Prompter {
  public:
    // Boxes are centred on `parent` when it is given.
    explicit DialogPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) noexcept { parent_ = parent; }

    Answer Ask(std::string_view question, Choices choices) override;
    void ShowError(std::string_view message) override;
    void ShowInfo(std::string_view message) override;
    std::optional<std::string> ChooseSaveName(const SaveRequest& request) override;

  private:
    QWidget* parent_;
};

} // namespace ozra::ide::gui
