// The automation interface: objects that scripts drive late-bound, by
// member name, as automation values (kind 9).
//
// An `AutomationObject` maps member names to dispatch ids and performs a
// member by id as a method call, a property read or a property write
// (runtime::DispatchKind). Arguments come in script order, first first; a
// property write has the new value as its only argument. Dispatch id 0
// (`DispatchValue`) is an object's default member by convention: the member
// a holder calls when it has an object to "invoke" without a name, as a
// document calls the handler assigned to one of its event properties.
//
// Objects that fire events have connection points, one per event
// interface, identified by a GUID. A handler connected to a point (an
// automation object itself) receives each event as a method call of the
// event's dispatch id. Like every use of counted objects, firing belongs on
// the thread that runs the script; the script's handlers refuse events
// from any other thread.
//
// Members report failures as exceptions with short messages; the
// automation library adds «Unknown name: x» for a name an object does not
// map, and the class registry (automation_classes.h) the messages for
// classes.
#pragma once

#include "runtime/lib_base.h"
#include "value/object.h"
#include "value/value.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

// A 128-bit class or interface id, written "{xxxxxxxx-xxxx-xxxx-xxxx-
// xxxxxxxxxxxx}" in hexadecimal digits of either case.
struct Guid {
    std::array<std::uint8_t, 16> Bytes{};

    // Nothing unless the text is exactly one braced GUID.
    static std::optional<Guid> Parse(std::string_view text);
    // The braced form in upper case.
    std::string Text() const;

    friend bool operator==(const Guid&, const Guid&) = default;
};

// The default member.
inline constexpr std::int32_t DispatchValue = 0;
// What `DispatchIdOf` answers for a name the object does not know.
inline constexpr std::int32_t DispatchUnknown = -1;

class ConnectionPoint;

class AutomationObject : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "AutomationObject"; }

    // The dispatch id of a member (letter case ignored), or DispatchUnknown.
    virtual std::int32_t DispatchIdOf(std::string_view name) = 0;
    // Performs a member; the result is Empty when it answers nothing.
    virtual value::TtsValue Invoke(std::int32_t dispatchId, runtime::DispatchKind kind,
                                   std::span<const value::TtsValue> arguments) = 0;
    // The connection point of an event interface, or nullptr.
    virtual ConnectionPoint* FindConnectionPoint(const Guid& eventInterface);
};

// The handlers connected to one event interface of an object.
class ConnectionPoint {
  public:
    explicit ConnectionPoint(const Guid& eventInterface) noexcept : interface_(eventInterface) {}

    const Guid& EventInterface() const noexcept { return interface_; }
    // Connects a handler; the answer (never 0) disconnects it again.
    std::uint32_t Advise(value::Ref<AutomationObject> handler);
    void Unadvise(std::uint32_t cookie) noexcept;
    // Calls every connected handler with the event, in connection order; a
    // handler connected or disconnected meanwhile counts from the next
    // event.
    void Fire(std::int32_t dispatchId, std::span<const value::TtsValue> arguments);

  private:
    struct Connection {
        std::uint32_t Cookie;
        value::Ref<AutomationObject> Handler;
    };

    Guid interface_;
    std::vector<Connection> connections_;
    std::uint32_t nextCookie_ = 1;
};

// «Unknown name: » + name: a member an object does not know.
value::EtsRuntime UnknownName(std::string_view name);

} // namespace ozra::libs
