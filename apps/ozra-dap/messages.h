// The protocol's messages as JSON: requests read from a body, responses and
// events written with the sequence numbers the protocol asks for.
//
// A body that is not a well-formed request raises `BadRequest`, carrying as
// much of the request (its sequence number and command) as could be read,
// so that the client still gets an error response it can match.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ozra::dap {

using Json = nlohmann::json;

struct Request {
    std::int64_t Seq = 0;
    std::string Command;
    // Always an object; empty when the request had none.
    Json Arguments = Json::object();
};

class BadRequest : public std::runtime_error {
  public:
    BadRequest(const std::string& message, Request partial)
        : std::runtime_error(message), Partial(std::move(partial)) {}

    Request Partial;
};

Request ReadRequest(std::string_view body);

// Raised by an outbox's sink when the client cannot be written to; it ends
// the session.
class ClientGone : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes responses and events, numbering them. Text that is not valid
// UTF-8 (a script's output may hold any bytes) is sent with replacement
// characters rather than refused.
class Outbox {
  public:
    // Takes every framed message; raises `ClientGone` when the client
    // cannot be written to.
    using Sink = std::function<void(std::string_view frame)>;

    explicit Outbox(Sink sink) : sink_(std::move(sink)) {}

    void Respond(const Request& request, Json body = nullptr);
    // An error response: `success` false with the message, which editors
    // show to the user.
    void Refuse(const Request& request, const std::string& message);
    void Event(std::string_view name, Json body = nullptr);

  private:
    void Send(Json message);

    Sink sink_;
    std::int64_t seq_ = 1;
};

} // namespace ozra::dap
