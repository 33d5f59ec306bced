// The bridge over a QApplication on the main thread, with the script on a
// run thread of its own: the arrangement of the development environment.
// The main thread keeps its event loop running while the run goes on and
// never waits for it.
#include "../bridge_qt/dialog_answerer.h"
#include "../libs/script_support.h"

#include "bridge_qt/qt_bridge.h"

#include <QClipboard>
#include <QColorDialog>

#include <atomic>
#include <thread>

namespace ozra::testing {
namespace {

TEST(HostedBridge, AScriptOnARunThreadUsesTheMainThreadsDialogsAndClipboard) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "hosted";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    // The environment's main window outlives every dialog; here the colour
    // dialog is the only window, and closing it must not end the loop
    // while the run still needs the clipboard.
    QApplication::setQuitOnLastWindowClosed(false);
    bridge_qt::QtDesktopBridge bridge;

    DialogAnswerer answerer(bridge, {On<QColorDialog>([](QColorDialog& d) {
                                d.setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
                                d.accept();
                            })});
    libs::testing::ScriptRun run;
    std::atomic<bool> done = false;
    std::thread runThread([&] {
        run = libs::testing::RunWithLibraries(
            "<.= System.Dialog.ColorDialog(\"\").><.System.Utility.CopyToClipboard(\"\xC3\xA9t\xC3\xA9\")"
            ".><.= \"|\" ~ System.Utility.GetClipboardText().>",
            "/tmp/", [&](runtime::TGlobalData& global) { global.Gui.SetBridge(bridge); });
        done = true;
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QApplication::exec();
    runThread.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, "#ABCDEF|\xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(answerer.Finished());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
}

} // namespace
} // namespace ozra::testing
