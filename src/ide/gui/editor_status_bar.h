// The status bar under an editor: the line count, the caret's line and
// column, the selection's start and length, the typing mode, the text
// highlighter's name (right-click opens the highlighter menu) and an empty
// panel.
#pragma once

#include <QStatusBar>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;

namespace ozra::ide::gui {

class ScriptEditor;

class EditorStatusBar : public QStatusBar {
  public:
    enum Panel { kLines, kCaret, kSelection, kMode, kHighlighter, kSpare, kPanelCount };

    explicit EditorStatusBar(QWidget* parent = nullptr);

    void Update(ScriptEditor& editor);
    void SetHighlighterName(const QString& name);
    QString PanelText(Panel panel) const;
    // Called with the global position of a right-click on the highlighter.
    std::function<void(const QPoint&)> HighlighterMenuRequested;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::array<QLabel*, kPanelCount> panels_{};
};

} // namespace ozra::ide::gui
