#include "ide/gui/output_window.h"

#include <QFontDatabase>
#include <QTextCursor>

namespace ozra::ide::gui {

namespace {

constexpr int kRunStarted = 8;
constexpr int kPaused = 9;
constexpr int kFinished = 10;

} // namespace

OutputWindow::OutputWindow(std::function<std::string()> runOutput, QWidget* parent)
    : QPlainTextEdit(parent), runOutput_(std::move(runOutput)) {
    setObjectName("Output");
    setReadOnly(true);
    setLineWrapMode(NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabStopDistance(8 * fontMetrics().horizontalAdvance(' '));
}

void OutputWindow::HandleEvent(int notification) {
    if (notification == kRunStarted) {
        clear();
        return;
    }
    if (notification != kPaused && notification != kFinished) return;
    const std::string text = runOutput_();
    setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QTextCursor caret = textCursor();
    caret.movePosition(QTextCursor::End);
    caret.movePosition(QTextCursor::StartOfBlock);
    setTextCursor(caret);
}

} // namespace ozra::ide::gui
