// ozra-dap: a Debug Adapter Protocol server for Ozra scripts, for editors
// that speak the protocol. It talks to one client over standard input and
// output and debugs one script per session.
//
// The protocol has standard input and output to itself: they are moved to
// private descriptors at start, standard input then reads nothing and
// standard output goes to standard error, so nothing a script or a native
// library prints or reads can break a message.
#include "event_loop.h"
#include "framing.h"
#include "messages.h"
#include "session.h"

#include "platform/descriptor.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* kHelp =
    "usage: ozra-dap\n"
    "A Debug Adapter Protocol server for Ozra scripts: an editor starts it and\n"
    "talks to it over standard input and output. The launch request takes\n"
    "\"program\" (the script), \"cwd\" (the working folder), \"args\" (run options\n"
    "as ozra takes them, such as \"/Tout\"), \"stopOnEntry\" and \"noDebug\".\n";

// The protocol's descriptors, and the standard ones made harmless.
struct ProtocolStreams {
    ozra::platform::Descriptor Input;
    ozra::platform::Descriptor Output;
};

ProtocolStreams TakeStandardStreams() {
    ProtocolStreams streams{ozra::platform::Descriptor(::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3)),
                            ozra::platform::Descriptor(::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3))};
    ozra::platform::Descriptor nothing(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (nothing.IsOpen()) ::dup2(nothing.Get(), STDIN_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return streams;
}

int Fail(const char* message) {
    std::fprintf(stderr, "ozra-dap: %s\n", message);
    return 1;
}

int Serve() {
    std::signal(SIGPIPE, SIG_IGN);
    const ProtocolStreams streams = TakeStandardStreams();
    if (!streams.Input.IsOpen() || !streams.Output.IsOpen())
        return Fail("standard input and output must be open");
    ozra::dap::EventLoop loop(streams.Input.Get());
    ozra::dap::Outbox outbox([&streams](std::string_view frame) {
        if (const int error = ozra::platform::WriteAll(streams.Output.Get(), frame))
            throw ozra::dap::ClientGone(std::strerror(error));
    });
    ozra::dap::Session session(outbox, loop);
    ozra::dap::FrameDecoder decoder;
    try {
        while (!session.Ended()) {
            const std::optional<std::string> bytes = loop.Wait();
            if (!bytes) {
                if (decoder.Partial()) return Fail("the input ended inside a message");
                return 0;
            }
            decoder.Feed(*bytes);
            while (!session.Ended()) {
                const std::optional<std::string> body = decoder.Next();
                if (!body) break;
                session.Handle(*body);
            }
        }
    } catch (const ozra::dap::FramingError& error) {
        return Fail((std::string("cannot read a message: ") + error.what()).c_str());
    } catch (const ozra::dap::ClientGone& error) {
        return Fail((std::string("cannot write to the client: ") + error.what()).c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("ozra-dap %s\n", OZRA_VERSION);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "ozra-dap: unexpected argument \"%s\"\nusage: ozra-dap\n", argv[1]);
        return 2;
    }
    try {
        return Serve();
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}
