// Answers the modal dialogs a script opens, as a person would, from a timer
// on the GUI thread. Each step recognises the dialog it expects among the
// active modal widgets and answers it (sets values, accepts or rejects);
// until its dialog is up, it waits. A dialog left unanswered for 10 seconds
// is rejected, so a broken test fails instead of hanging.
//
// Answers run as events of their own, not inside the timer's tick: Qt does
// not fire a timer again while its handler runs, and an answer often opens
// the next dialog inside itself (an overwrite question, a colour dialog
// from a font dialog), which the timer must still see.
#pragma once

#include "runtime/desktop_bridge.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace ozra::testing {

class DialogAnswerer {
  public:
    struct Step {
        std::function<bool(QWidget& modal)> Matches;
        std::function<void(QWidget& modal)> Answer;
    };

    DialogAnswerer(runtime::DesktopBridge& bridge, std::vector<Step> steps)
        : state_(std::make_shared<State>()) {
        state_->Steps.assign(steps.begin(), steps.end());
        bridge.Post([state = state_] { Start(state); });
    }

    // Every step was taken, and no dialog had to be forced shut.
    bool Finished() const {
        std::lock_guard lock(state_->Mutex);
        return state_->Steps.empty() && !state_->TimedOut;
    }

  private:
    struct State {
        std::mutex Mutex;
        std::deque<Step> Steps;
        bool TimedOut = false;
        bool Answering = false; // an answer is queued and has not begun
    };

    static void Start(const std::shared_ptr<State>& state) {
        auto* timer = new QTimer(QCoreApplication::instance());
        auto waiting = std::make_shared<QElapsedTimer>();
        waiting->start();
        QObject::connect(timer, &QTimer::timeout, timer, [state, timer, waiting] {
            std::lock_guard lock(state->Mutex);
            if (state->Steps.empty()) {
                timer->deleteLater();
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || state->Answering) return;
            if (state->Steps.front().Matches(*modal)) {
                state->Answering = true;
                waiting->restart();
                QMetaObject::invokeMethod(
                    timer,
                    [state, answer = std::move(state->Steps.front().Answer),
                     target = QPointer<QWidget>(modal)] {
                        {
                            std::lock_guard lock(state->Mutex);
                            state->Answering = false;
                        }
                        if (target) answer(*target);
                    },
                    Qt::QueuedConnection);
                state->Steps.pop_front();
            } else if (waiting->elapsed() > 10000) {
                state->TimedOut = true;
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
                waiting->restart();
            }
        });
        timer->start(10);
    }

    std::shared_ptr<State> state_;
};

// A step for a dialog of class T.
template <class T> DialogAnswerer::Step On(std::function<void(T&)> answer) {
    return {[](QWidget& modal) { return qobject_cast<T*>(&modal) != nullptr; },
            [answer = std::move(answer)](QWidget& modal) { answer(*qobject_cast<T*>(&modal)); }};
}

// A step that rejects whatever dialog is open (the user cancels).
inline DialogAnswerer::Step Cancel() {
    return On<QDialog>([](QDialog& dialog) { dialog.reject(); });
}

} // namespace ozra::testing

namespace ozra::testing {

// A step for one of our own dialogs, known by a child of that object name.
inline DialogAnswerer::Step OnDialogWith(const char* childName,
                                         std::function<void(QDialog&)> answer) {
    return {[childName](QWidget& modal) {
                auto* dialog = qobject_cast<QDialog*>(&modal);
                return dialog && dialog->findChild<QObject*>(childName);
            },
            [answer = std::move(answer)](QWidget& modal) { answer(*qobject_cast<QDialog*>(&modal)); }};
}

// The child of that name and class; fails the test when there is none.
template <class T> T& Child(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) throw std::runtime_error(std::string("no child ") + name);
    return *child;
}

} // namespace ozra::testing
