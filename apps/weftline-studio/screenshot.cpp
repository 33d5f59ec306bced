#include "screenshot.h"

#include "ide/gui/command_window.h"
#include "ide/gui/customize_dialog.h"
#include "ide/gui/main_window.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <sstream>

namespace ozra::app {

namespace {

using ozra::ide::gui::CommandId;
using ozra::ide::gui::TVeIdeForm;

void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

// Gives a run command and waits until the run pauses or ends.
void RunCommand(TVeIdeForm& window, CommandId command) {
    window.Execute(command);
    QElapsedTimer timer;
    timer.start();
    auto& debugger = window.Project().Debugger();
    while (debugger.IsRunning() && !debugger.IsPaused() && timer.elapsed() < 20000)
        Settle(20);
    Settle(300);
}

// Types into the Command window, showing it first, as a user would.
void TypeCommand(TVeIdeForm& window, const std::string& text) {
    window.Execute(CommandId::ViewCommand);
    auto* command = dynamic_cast<ozra::ide::gui::TVeCommandWin*>(
        window.WindowManager().Window(ozra::ide::gui::ToolWindowIndex::Command));
    if (!command) return;
    QWidget& editor = command->Editor();
    for (const QChar character : QString::fromStdString(text)) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&editor, &key);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&editor, &enter);
}

bool ShowPage(ozra::ide::gui::CustomizeDialog& dialog, const std::string& title) {
    for (int page = 0; page < dialog.Pages().count(); ++page)
        if (dialog.Pages().tabText(page).toStdString() == title) {
            dialog.Pages().setCurrentIndex(page);
            return true;
        }
    return false;
}

bool ShowCategory(ozra::ide::gui::CustomizeDialog& dialog, const std::string& name) {
    const auto found =
        dialog.Categories().findItems(QString::fromStdString(name), Qt::MatchExactly);
    if (found.isEmpty()) return false;
    dialog.Categories().setCurrentItem(found.first());
    return true;
}

// False, with a message, for a step it does not know.
bool DoStep(TVeIdeForm& window, const std::string& step) {
    const std::size_t equals = step.find('=');
    const std::string name = step.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : step.substr(equals + 1);
    const int line = std::atoi(value.c_str());
    auto* editor = window.CurrentEditor();
    if ((name == "caret" || name == "break" || name == "bookmark") && !editor) {
        std::fprintf(stderr, "weftline-studio: %s needs an open file\n", step.c_str());
        return false;
    }
    if (name == "caret")
        editor->ShowLine(line);
    else if (name == "break")
        editor->Unit().ToggleBreakpoint(line);
    else if (name == "bookmark")
        editor->Unit().ToggleBookmark(line, true);
    else if (name == "run")
        RunCommand(window, CommandId::Run);
    else if (name == "step")
        RunCommand(window, CommandId::DebugStep);
    else if (name == "into")
        RunCommand(window, CommandId::DebugInto);
    else if (name == "return")
        RunCommand(window, CommandId::DebugReturn);
    else if (name == "stop")
        RunCommand(window, CommandId::ProjectStop);
    else if (name == "check")
        window.Execute(CommandId::SyntaxCheck);
    else if (name == "output")
        window.Execute(CommandId::ViewOutput);
    else if (name == "find")
        window.Execute(CommandId::SearchFind);
    else if (name == "replace")
        window.Execute(CommandId::SearchReplace);
    else if (name == "tick" || name == "click") {
        auto* button = window.findChild<QAbstractButton*>(QString::fromStdString(value));
        if (!button) {
            std::fprintf(stderr, "weftline-studio: no button %s\n", value.c_str());
            return false;
        }
        if (name == "click")
            button->click();
        else
            button->setChecked(true);
    } else if (name == "view") {
        const auto index = ozra::ide::gui::ToolWindowNamed(value);
        ozra::ide::gui::ToolWindow* shown = index ? window.ShowToolWindow(*index) : nullptr;
        if (!shown) {
            std::fprintf(stderr, "weftline-studio: no tool window %s\n", value.c_str());
            return false;
        }
        shown->FocusContent();
    } else if (name == "command")
        TypeCommand(window, value);
    else if (name == "menu") {
        QMenu* menu = window.Menu(value);
        if (!menu) {
            std::fprintf(stderr, "weftline-studio: no menu %s\n", value.c_str());
            return false;
        }
        window.menuBar()->setActiveAction(menu->menuAction());
    } else if (name == "customize" || name == "category") {
        if (name == "customize") window.Execute(CommandId::Customize);
        auto* dialog = window.findChild<ozra::ide::gui::CustomizeDialog*>();
        if (!dialog ||
            !(name == "customize" ? ShowPage(*dialog, value) : ShowCategory(*dialog, value))) {
            std::fprintf(stderr, "weftline-studio: no %s %s\n", name.c_str(), value.c_str());
            return false;
        }
    } else {
        std::fprintf(stderr, "weftline-studio: unknown scene step %s\n", step.c_str());
        return false;
    }
    Settle(200);
    return true;
}

void TakeScreenshot(TVeIdeForm& window, const std::string& scene, const std::string& file) {
    window.Start();
    Settle(1500);
    std::istringstream steps(scene);
    for (std::string step; std::getline(steps, step, ',');) {
        if (step.empty()) continue;
        if (!DoStep(window, step)) {
            QApplication::exit(2);
            return;
        }
    }
    Settle(500);
    // The whole screen shows open menus too; offscreen there is only the
    // window itself.
    QPixmap picture = window.screen()->grabWindow(0);
    if (picture.isNull() || QApplication::platformName() == "offscreen") picture = window.grab();
    if (!picture.save(QString::fromStdString(file), "PNG")) {
        std::fprintf(stderr, "weftline-studio: cannot write %s\n", file.c_str());
        QApplication::exit(1);
        return;
    }
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QApplication::exit(0);
}

} // namespace

void TakeScreenshotLater(TVeIdeForm& window, const std::string& scene, const std::string& file) {
    QTimer::singleShot(0, &window, [&window, scene, file] { TakeScreenshot(window, scene, file); });
}

} // namespace ozra::app
