// What the environment's widget tests share: one offscreen application for
// the whole suite, and waiting with the event loop running.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <functional>

namespace ozra::ide::gui::testing {

// Made once and never destroyed: tearing Qt down during static destruction,
// after the platform plugin is gone, is not supported.
inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "ide_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* made = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return made;
    }();
    return *application;
}

// Runs the event loop until `done` holds or `seconds` pass; answers `done`.
inline bool WaitUntil(const std::function<bool()>& done, int seconds = 20) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > seconds * 1000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for a while.
inline void Pump(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace ozra::ide::gui::testing
