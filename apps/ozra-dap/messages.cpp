// Reading requests and writing responses and events.
#include "messages.h"

#include "framing.h"

namespace ozra::dap {

Request ReadRequest(std::string_view body) {
    Request request;
    Json message;
    try {
        message = Json::parse(body);
    } catch (const Json::parse_error& error) {
        throw BadRequest(std::string("invalid JSON: ") + error.what(), request);
    }
    if (!message.is_object()) throw BadRequest("a message must be a JSON object", request);
    const auto seq = message.find("seq");
    if (seq != message.end() && seq->is_number_integer()) request.Seq = seq->get<std::int64_t>();
    const auto command = message.find("command");
    if (command != message.end() && command->is_string())
        request.Command = command->get<std::string>();
    const auto type = message.find("type");
    if (type == message.end() || *type != "request")
        throw BadRequest("only requests are accepted (\"type\": \"request\")", request);
    if (seq == message.end() || !seq->is_number_integer())
        throw BadRequest("a request needs an integer \"seq\"", request);
    if (request.Command.empty()) throw BadRequest("a request needs a \"command\"", request);
    const auto arguments = message.find("arguments");
    if (arguments != message.end() && !arguments->is_null()) {
        if (!arguments->is_object())
            throw BadRequest("the arguments of \"" + request.Command + "\" must be an object",
                             request);
        request.Arguments = std::move(*arguments);
    }
    return request;
}

void Outbox::Respond(const Request& request, Json body) {
    Json response = {{"type", "response"},
                     {"request_seq", request.Seq},
                     {"success", true},
                     {"command", request.Command}};
    if (!body.is_null()) response["body"] = std::move(body);
    Send(std::move(response));
}

void Outbox::Refuse(const Request& request, const std::string& message) {
    Send({{"type", "response"},
          {"request_seq", request.Seq},
          {"success", false},
          {"command", request.Command},
          {"message", message}});
}

void Outbox::Event(std::string_view name, Json body) {
    Json event = {{"type", "event"}, {"event", name}};
    if (!body.is_null()) event["body"] = std::move(body);
    Send(std::move(event));
}

void Outbox::Send(Json message) {
    message["seq"] = seq_++;
    sink_(EncodeFrame(message.dump(-1, ' ', false, Json::error_handler_t::replace)));
}

} // namespace ozra::dap
