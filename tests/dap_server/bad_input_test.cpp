// Bad protocol input, end to end: each row feeds ozra-dap a whole input
// and checks every response it wrote, how it ended and what it said on
// standard error. The only acceptable outcomes are an error response that
// says what is wrong, or a clean exit with a message; never a crash or a
// hang (the server runs under a time limit).
#include "../support/run_program.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ozra::dap {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string Frame(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

std::string Request(int seq, const std::string& command, const Json& arguments = nullptr) {
    Json request = {{"seq", seq}, {"type", "request"}, {"command", command}};
    if (!arguments.is_null()) request["arguments"] = arguments;
    return Frame(request.dump());
}

const std::string kInitialize = Request(1, "initialize", {{"adapterID", "ozra"}});
const std::string kLaunch = Request(2, "launch", {{"program", "good.ozra"}});

struct Answer {
    std::string Command;
    bool Success;
    // Part of the error message; empty for a success.
    std::string Message;
};

struct BadInputCase {
    BadInputCase(const char* name, std::string input, std::vector<Answer> answers,
                 int exitStatus = 0, std::string error = {})
        : Name(name), Input(std::move(input)), Answers(std::move(answers)), ExitStatus(exitStatus),
          Error(std::move(error)) {}

    const char* Name;
    std::string Input;
    // Every response, in order; events are not listed.
    std::vector<Answer> Answers;
    int ExitStatus;
    // Part of what standard error says; empty when it must say nothing.
    std::string Error;
};

const BadInputCase kCases[] = {
    {"no input", "", {}},
    {"invalid JSON", Frame("{\"seq\": 1,"), {{"", false, "invalid JSON"}}},
    {"bytes that are not text", Frame("\xff\xfe{}"), {{"", false, "invalid JSON"}}},
    {"a JSON list", Frame("[1, 2]"), {{"", false, "must be a JSON object"}}},
    {"an event instead of a request",
     Frame(R"({"seq": 1, "type": "event", "event": "stopped"})"),
     {{"", false, "only requests are accepted"}}},
    {"a request without seq",
     Frame(R"({"type": "request", "command": "initialize"})"),
     {{"initialize", false, "integer \"seq\""}}},
    {"arguments that are not an object",
     Request(1, "initialize", 5),
     {{"initialize", false, "arguments of \"initialize\" must be an object"}}},
    {"an unknown command",
     kInitialize + Request(2, "fly"),
     {{"initialize", true, ""}, {"fly", false, "unknown command \"fly\""}}},
    {"a request before initialize", kLaunch, {{"launch", false, "\"initialize\" comes first"}}},
    {"initialize twice",
     kInitialize + kInitialize,
     {{"initialize", true, ""}, {"initialize", false, "begun already"}}},
    {"a step before launch",
     kInitialize + Request(2, "next", {{"threadId", 1}}),
     {{"initialize", true, ""}, {"next", false, "\"launch\" comes first"}}},
    {"a step while nothing runs",
     kInitialize + kLaunch + Request(3, "next", {{"threadId", 1}}),
     {{"initialize", true, ""}, {"launch", true, ""}, {"next", false, "not paused"}}},
    {"evaluate while nothing runs",
     kInitialize + kLaunch + Request(3, "evaluate", {{"expression", "x"}}),
     {{"initialize", true, ""}, {"launch", true, ""}, {"evaluate", false, "not paused"}}},
    {"pause while nothing runs",
     kInitialize + kLaunch + Request(3, "pause", {{"threadId", 1}}),
     {{"initialize", true, ""}, {"launch", true, ""}, {"pause", false, "not running"}}},
    {"launch twice",
     kInitialize + kLaunch + kLaunch,
     {{"initialize", true, ""}, {"launch", true, ""}, {"launch", false, "launched already"}}},
    {"breakpoints without a source",
     kInitialize + kLaunch + Request(3, "setBreakpoints", Json::object()),
     {{"initialize", true, ""},
      {"launch", true, ""},
      {"setBreakpoints", false, "\"source\" must be an object"}}},
    {"breakpoints on lines that are not numbers",
     kInitialize + kLaunch +
         Request(3, "setBreakpoints",
                 {{"source", {{"path", "good.ozra"}}}, {"breakpoints", {{{"line", "2"}}}}}),
     {{"initialize", true, ""},
      {"launch", true, ""},
      {"setBreakpoints", false, "\"line\" must be an integer"}}},
    {"configurationDone twice",
     kInitialize + kLaunch + Request(3, "configurationDone") + Request(4, "configurationDone"),
     {{"initialize", true, ""},
      {"launch", true, ""},
      {"configurationDone", true, ""},
      {"configurationDone", false, "started already"}}},
    {"a script with syntax errors",
     kInitialize + Request(2, "launch", {{"program", "broken.ozra"}}),
     {{"initialize", true, ""}, {"launch", false, "broken.ozra:2:4: Syntax error"}}},
    {"a working folder that does not exist",
     kInitialize + Request(2, "launch", {{"program", "good.ozra"}, {"cwd", "/nowhere/at/all"}}),
     {{"initialize", true, ""},
      {"launch", false, "cannot use the working folder \"/nowhere/at/all\""}}},
    {"a bad message between good ones",
     kInitialize + Frame("{]") + Request(2, "threads"),
     {{"initialize", true, ""}, {"", false, "invalid JSON"}, {"threads", true, ""}}},
    {"input that ends while a script loops",
     kInitialize + Request(2, "launch", {{"program", "endless.ozra"}}) +
         Request(3, "configurationDone"),
     {{"initialize", true, ""}, {"launch", true, ""}, {"configurationDone", true, ""}}},
    {"what follows disconnect is not read",
     kInitialize + Request(2, "disconnect") + "garbage\r\n\r\n",
     {{"initialize", true, ""}, {"disconnect", true, ""}}},
    {"a length that is not a number", "Content-Length: ten\r\n\r\n{}", {}, 1, "not a number"},
    {"a length past every number",
     "Content-Length: 99999999999999999999999\r\n\r\n",
     {},
     1,
     "not a number"},
    {"a header line without a colon", "Content-Length 2\r\n\r\n{}", {}, 1, "malformed header line"},
    {"a header without a length",
     "Content-Type: text/json\r\n\r\n{}",
     {},
     1,
     "header without Content-Length"},
    {"header lines ended by LF alone", "Content-Length: 2\n\n{}", {}, 1, "must end with CR LF"},
    {"a body cut short",
     "Content-Length: 100\r\n\r\n{}",
     {},
     1,
     "the input ended inside a message"},
    {"a body too long to accept", "Content-Length: 9999999999\r\n\r\n", {}, 1, "longer than"},
    {"a header that never ends", std::string(5000, 'x'), {}, 1, "header longer than"},
    {"a good message, then a broken header",
     kInitialize + "Content-Length: -1\r\n\r\n",
     {{"initialize", true, ""}},
     1,
     "not a number"},
};

void PrintTo(const BadInputCase& row, std::ostream* out) {
    *out << row.Name;
}

// The responses among the frames the server wrote.
std::vector<Json> Responses(std::string_view out) {
    std::vector<Json> responses;
    constexpr std::string_view kHeader = "Content-Length: ";
    while (!out.empty()) {
        EXPECT_TRUE(out.starts_with(kHeader)) << out;
        if (!out.starts_with(kHeader)) break;
        const std::size_t end = out.find("\r\n\r\n");
        const std::size_t length = std::stoul(std::string(out.substr(kHeader.size(), end)));
        const Json message = Json::parse(out.substr(end + 4, length));
        if (message["type"] == "response") responses.push_back(message);
        out.remove_prefix(end + 4 + length);
    }
    return responses;
}

class BadInput : public ::testing::TestWithParam<BadInputCase> {
  protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("ozra-dap-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        std::ofstream(folder_ / "good.ozra") << "<.\n?? 1\n.>\n";
        std::ofstream(folder_ / "broken.ozra") << "<.\n?? (\n.>\n";
        std::ofstream(folder_ / "endless.ozra") << "<.\nwhile (true)\nend while\n.>\n";
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static fs::path folder_;
};

fs::path BadInput::folder_;

TEST_P(BadInput, IsAnsweredOrEndsCleanly) {
    const BadInputCase& row = GetParam();
    const testing::ProgramRun run =
        testing::RunProgram("/usr/bin/timeout", {"60", OZRA_DAP}, folder_.string(),
                            testing::StandardOutput::Captured, {}, row.Input);
    EXPECT_EQ(run.ExitStatus, row.ExitStatus) << run.Err;
    if (row.Error.empty())
        EXPECT_EQ(run.Err, "");
    else
        EXPECT_NE(run.Err.find("ozra-dap: "), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(row.Error), std::string::npos) << run.Err;

    const std::vector<Json> responses = Responses(run.Out);
    ASSERT_EQ(responses.size(), row.Answers.size()) << run.Out;
    for (std::size_t i = 0; i < responses.size(); ++i) {
        const Answer& expected = row.Answers[i];
        const Json& response = responses[i];
        EXPECT_EQ(response["command"], expected.Command) << response;
        EXPECT_EQ(response["success"], expected.Success) << response;
        if (!expected.Success) {
            EXPECT_NE(response["message"].get<std::string>().find(expected.Message),
                      std::string::npos)
                << response;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BadInputCase>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.Name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
} // namespace ozra::dap
