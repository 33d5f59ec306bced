// The about box: the product's name and the program's version. Shown as a
// splash screen at start-up it fades in over 25 steps of 20 ms, stays two
// seconds, fades out over 26 steps and closes by itself, ignoring clicks
// and keys meanwhile.
#pragma once

#include <QDialog>
#include <QTimer>

namespace ozra::ide::gui {

class AboutBox final : public QDialog {
  public:
    AboutBox(QWidget* parent, bool splash);

    // The opacity of each fade step, 0 to 255, in order: in, then out.
    static std::vector<int> FadeSteps();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void reject() override;

  private:
    void Step();

    bool splash_;
    QTimer timer_;
    std::vector<int> steps_;
    std::size_t step_ = 0;
};

} // namespace ozra::ide::gui
