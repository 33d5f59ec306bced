// A thread that runs Qt for a program that has no GUI thread of its own.
//
// The thread checks the display, makes the QApplication, reports that it
// is ready (or why it cannot start) and runs the application's event loop
// until it is destroyed. Closing the last dialog does not end the loop: the
// program may show another. Everything of Qt is made and destroyed on this
// thread, which Qt therefore takes for the application's main thread.
//
// The thread never ends before the process: Qt's plugin instances outlive
// the application and keep the data Qt attaches to this thread, which Qt
// frees when the thread ends, and Qt's own destructors at exit read it.
// After the application is gone the thread parks until the process exits.
#pragma once

#include <future>
#include <memory>
#include <string>
#include <thread>

class QApplication;

namespace ozra::bridge_qt {

class GuiThread {
  public:
    // Null, with the reason in `error`, when Qt cannot start.
    static std::unique_ptr<GuiThread> Start(std::string& error);
    // Ends the event loop and waits until the application is destroyed.
    ~GuiThread();
    GuiThread(const GuiThread&) = delete;
    GuiThread& operator=(const GuiThread&) = delete;

    std::thread::id Id() const noexcept { return id_; }

  private:
    GuiThread() = default;

    std::thread::id id_;
    std::future<void> finished_;
    QApplication* application_ = nullptr;
};

} // namespace ozra::bridge_qt
