// weftline-studio: the desktop environment.
//
//   weftline-studio [FILE...]            open the files (a project file as
//                                        the project)
//   weftline-studio --version            print the version
//   weftline-studio [FILE...] --screenshot PNG [--scene NAME]
//                                        start, set up a scene, save a
//                                        picture of the screen and quit
//
// Everything but the options runs the environment's usual start-up.
#include "screenshot.h"

#include "ide/gui/dialog_prompter.h"
#include "ide/gui/main_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: weftline-studio [FILE...] [--screenshot PNG [--scene NAME]]\n"
    "       weftline-studio --version\n";

struct Arguments {
    std::vector<std::string> Files;
    std::string Screenshot;
    std::string Scene;
    bool Version = false;
};

// False, with a message, for a word that cannot be read.
bool ReadArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "weftline-studio: %s needs a value\n%s", word.c_str(), kUsage);
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (word == "--version")
            arguments.Version = true;
        else if (word == "--screenshot") {
            if (!value(arguments.Screenshot)) return false;
        } else if (word == "--scene") {
            if (!value(arguments.Scene)) return false;
        } else if (word == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (word.starts_with("--")) {
            std::fprintf(stderr, "weftline-studio: unknown option %s\n%s", word.c_str(), kUsage);
            return false;
        } else
            arguments.Files.push_back(word);
    }
    if (!arguments.Scene.empty() && arguments.Screenshot.empty()) {
        std::fprintf(stderr, "weftline-studio: --scene needs --screenshot\n%s", kUsage);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!ReadArguments(argc, argv, arguments)) return 2;
    if (arguments.Version) {
        std::printf("weftline-studio %s\n", OZRA_VERSION);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("weftline-studio");
    QApplication::setApplicationVersion(OZRA_VERSION);

    ozra::ide::gui::DialogPrompter prompter;
    ozra::ide::gui::MainWindowOptions options;
    options.Files = arguments.Files;
    options.NoSplash = !arguments.Screenshot.empty();
    ozra::ide::gui::TVeIdeForm window(prompter, options);
    prompter.SetParent(&window);
    window.showMaximized();
    if (!arguments.Screenshot.empty())
        ozra::app::TakeScreenshotLater(window, arguments.Scene, arguments.Screenshot);
    return QApplication::exec();
}
