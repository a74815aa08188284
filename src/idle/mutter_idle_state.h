#pragma once
// What the GNOME idle source makes of the messages it reads off the session bus, without the bus:
// the sd-bus side (mutter_idle_source.cpp) reads each message into a BusMessage, hands it here and
// carries out the calls asked for. Kept apart so that unit tests and a fuzzer can drive it with
// any sequence of messages, forged ones included.
//
// - Mutter's idle watch fires after each idle stretch of the armed length; mutter knows nothing
//   of inhibitors, so the session manager is asked (IsInhibited, flag 8 = idle) before `Idle`.
//   No session manager (an error reply) means nothing inhibits.
// - While inhibited: wait for InhibitorRemoved (or the manager leaving the bus), ask again, and
//   report `Idle` only if mutter's idle time still covers the armed length; otherwise the idle
//   watch fires again after the next stretch.
// - After `Idle`: a one-shot user-active watch gives `Active`. The idle watch firing again first
//   means the user was active in between (mutter re-arms it only on input): `Active` then.
// - Mutter's name lost (replaced: gnome-shell --replace, Alt+F2 r) is `lost()`: the bus side looks
//   for the name's next owner and hands it to follow(), or gives up with a closed bus.
// - The bus closed: `Gone`, and nothing after it.
// - Signals count only from the current owner of the name that sends them (unique names cannot be
//   forged on the bus), on the right path and interface, with the right signature.
#include <cstdint>
#include <string>
#include <string_view>

#include "idle/idle_source.h"

namespace smokedrift::idle {

// The calls the state asks for; their replies come back as BusMessage with `call` set.
enum class MutterCall : std::uint8_t { None, AddUserActiveWatch, IsInhibited, GetIdletime, RemoveWatch };

struct BusMessage {
    enum class Type : std::uint8_t { Signal, Reply, Error, Closed };
    Type type = Type::Signal;
    MutterCall call = MutterCall::None;  // for Reply and Error: the call answered
    std::string_view sender, path, interface, member, signature;
    // The arguments, read by the bus side for the signatures "u", "t", "b" (number) and "o",
    // "sss" (text); left empty for any other signature.
    std::uint64_t number = 0;
    std::string_view text[3];

    static BusMessage closed() {
        BusMessage m;
        m.type = Type::Closed;
        return m;
    }
};

struct MutterRequest {
    MutterCall call = MutterCall::None;
    std::uint32_t watch = 0;  // for RemoveWatch
};

// What one message leads to: events for the watcher, calls for the bus side, in order.
struct MutterReaction {
    IdleEvent events[2] = {IdleEvent::None, IdleEvent::None};
    int eventCount = 0;
    MutterRequest requests[2];
    int requestCount = 0;
};

inline constexpr std::string_view MUTTER_IDLE_NAME = "org.gnome.Mutter.IdleMonitor";
inline constexpr std::string_view MUTTER_IDLE_PATH = "/org/gnome/Mutter/IdleMonitor/Core";
inline constexpr std::string_view SESSION_MANAGER_NAME = "org.gnome.SessionManager";
inline constexpr std::string_view SESSION_MANAGER_PATH = "/org/gnome/SessionManager";
inline constexpr std::string_view BUS_NAME = "org.freedesktop.DBus";
inline constexpr std::uint32_t INHIBIT_IDLE = 8;

class MutterIdleState {
public:
    // mutterOwner and managerOwner: the unique names owning the two names when the idle watch
    // `idleWatch` (armed for `milliseconds`) was added; managerOwner is empty without a manager.
    MutterIdleState(std::string mutterOwner, std::string managerOwner, std::uint32_t milliseconds,
                    std::uint32_t idleWatch);

    MutterReaction receive(const BusMessage& message);

    // The watches to remove when the source closes (none once the bus is gone).
    int watchesToRemove(std::uint32_t (&watches)[2]) const;

    bool gone() const { return phase_ == Phase::Gone; }
    bool lost() const { return lost_; }

    // Mutter's successor (`mutterOwner`) and the idle watch added there. What the old owner was
    // asked no longer counts; a reported `Idle` stands until the new owner's user-active watch.
    MutterReaction follow(std::string mutterOwner, std::uint32_t idleWatch);

private:
    enum class Phase : std::uint8_t {
        Waiting,          // for the idle watch
        AskingInhibited,  // IsInhibited sent
        Inhibited,        // for an inhibitor to go
        AskingIdletime,   // GetIdletime sent, after an inhibition ended
        Idle,             // reported; for the user-active watch
        Gone,
    };

    void onWatchFired(std::uint32_t id, MutterReaction& out);
    void onInhibitedAnswer(bool inhibited, MutterReaction& out);
    void onManagerOwner(std::string_view owner, MutterReaction& out);
    void askInhibited(MutterReaction& out);
    void reportIdle(MutterReaction& out);
    void leaveIdle(MutterReaction& out);

    std::string mutterOwner_;
    std::string managerOwner_;
    std::uint32_t milliseconds_;
    std::uint32_t idleWatch_;
    std::uint32_t activeWatch_ = 0;  // 0 while unknown or not armed
    // AddUserActiveWatch calls without a reply yet, and how many of the first of them add a
    // watch no longer wanted (mutter answers in order).
    int activeCallsPending_ = 0;
    int activeCallsStale_ = 0;
    bool waitedForInhibitor_ = false;
    bool lost_ = false;
    // Idle when mutter was replaced: the new idle watch's first firing is no sign of input (it
    // fires at once on a session already idle).
    bool freshIdleWatch_ = false;
    Phase phase_ = Phase::Waiting;
};

}  // namespace smokedrift::idle
