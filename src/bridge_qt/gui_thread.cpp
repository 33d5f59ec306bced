// The module's own GUI thread.
#include "gui_thread.h"

#include "display_probe.h"

#include <QApplication>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <future>
#include <mutex>
#include <pthread.h>
#include <unistd.h>
#include <vector>

namespace ozra::bridge_qt {

namespace {

// A program that borrows Qt for its dialogs shows Qt's own complaints only
// when they are serious; its warnings (a missing runtime folder, a theme
// without an icon) would only mix with the program's own messages.
void SeriousMessagesOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Makes the application, tells `started`, and runs its event loop.
template <typename Started> void RunApplication(const DisplayChoice& choice, Started started) {
    // QApplication keeps references to these for its whole life.
    std::vector<std::string> words{"ozra"};
    if (!choice.Platform.empty()) words.insert(words.end(), {"-platform", choice.Platform});
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    QApplication application(argc, argv.data());
    QApplication::setQuitOnLastWindowClosed(false);
    started(application);
    QApplication::exec();
}

} // namespace

std::unique_ptr<GuiThread> GuiThread::Start(std::string& error) {
    std::unique_ptr<GuiThread> gui(new GuiThread);
    std::mutex mutex;
    std::condition_variable ready;
    bool started = false;
    std::promise<void> finished;
    gui->finished_ = finished.get_future();
    std::thread thread([&, self = gui.get(), finished = std::move(finished)]() mutable {
        qInstallMessageHandler(SeriousMessagesOnly);
        const DisplayChoice choice = ChooseDisplay();
        if (!choice.Problem.empty()) {
            std::lock_guard lock(mutex);
            error = choice.Problem;
            started = true;
            ready.notify_one();
            return;
        }
        RunApplication(choice, [&](QApplication& application) {
            std::lock_guard lock(mutex);
            self->application_ = &application;
            started = true;
            ready.notify_one();
        });
        finished.set_value();
        // Parked for good: signals go to the program's other threads.
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        for (;;)
            pause();
    });
    gui->id_ = thread.get_id();
    thread.detach();
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return started; });
    if (!gui->application_) return nullptr;
    return gui;
}

GuiThread::~GuiThread() {
    if (!application_) return;
    QMetaObject::invokeMethod(application_, &QCoreApplication::quit, Qt::QueuedConnection);
    finished_.wait();
}

} // namespace ozra::bridge_qt
