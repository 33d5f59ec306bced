// The headless runner: the command-line face of the system.
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage = "usage: ozra [options] SCRIPT\n";

void PrintHelp() {
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "Runs an Ozra template script and writes its output.\n"
               "\n"
               "  --help      show this help and exit\n"
               "  --version   show the version and exit\n",
               stdout);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("ozra %s\n", OZRA_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            PrintHelp();
            return 0;
        }
    }
    std::fputs(kUsage, stderr);
    return 2;
}
