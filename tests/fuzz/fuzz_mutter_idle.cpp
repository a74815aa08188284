// The GNOME idle source's reading of bus messages, driven with any sequence of signals, replies and
// errors, from the right peers and from others. Checks that events keep their order (Idle, Active,
// Idle, ..., and nothing after Gone), that Idle follows only an answer saying nothing inhibits,
// that only the owners of the names move the state, and that calls go out one at a time.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "idle/mutter_idle_state.h"

using namespace smokedrift::idle;

namespace {

constexpr std::string_view MUTTER = ":1.0";
constexpr std::uint32_t MS = 300000;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    std::uint64_t number() {
        // Mostly the small ids mutter hands out, now and then anything.
        const std::uint8_t kind = byte();
        std::uint64_t n = 0;
        for (int i = 0; i < 8; ++i) n = n << 8 | byte();
        if (kind % 4 == 0) return n;
        if (kind % 4 == 1) return MS + n % 3 - 1;
        return n % 8;
    }
    template <std::size_t N>
    std::string_view pick(const std::string_view (&choices)[N]) {
        return choices[byte() % N];
    }
};

const std::string_view SENDERS[] = {MUTTER, ":1.2", BUS_NAME, ":1.7", ""};
const std::string_view SIGNATURES[] = {"u", "t", "b", "o", "sss", "", "?"};
const std::string_view NAMES[] = {MUTTER_IDLE_NAME, SESSION_MANAGER_NAME, "org.example.Other"};
const std::string_view OWNERS[] = {"", MUTTER, ":1.2", ":1.9"};
const std::string_view MEMBERS[] = {"WatchFired", "InhibitorRemoved", "NameOwnerChanged", "InhibitorAdded"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    MutterIdleState state{std::string(MUTTER), ":1.2", MS, 1};
    std::string_view manager = ":1.2";   // the manager's owner as far as the state was told
    std::string_view mutter = MUTTER;    // mutter's owner, :1.7 once it replaced the first
    IdleEvent last = IdleEvent::Active;  // before the first Idle, as after an Active
    bool asking[5] = {};                 // per MutterCall: a call out without an answer
    while (in.size > 0) {
        BusMessage m;
        const std::uint8_t kind = in.byte();
        const bool exact = (kind & 0x80) == 0;  // right path and interface for the member
        m.type = static_cast<BusMessage::Type>(kind % 4);
        m.call = static_cast<MutterCall>(in.byte() % 5);
        m.sender = in.pick(SENDERS);
        m.member = in.pick(MEMBERS);
        m.signature = in.pick(SIGNATURES);
        m.number = in.number();
        m.text[0] = in.pick(NAMES);
        m.text[1] = in.pick(OWNERS);
        m.text[2] = in.pick(OWNERS);
        if (exact && m.member == "WatchFired") {
            m.path = MUTTER_IDLE_PATH;
            m.interface = MUTTER_IDLE_NAME;
        } else if (exact && m.member == "NameOwnerChanged") {
            m.path = "/org/freedesktop/DBus";
            m.interface = BUS_NAME;
        } else if (exact) {
            m.path = SESSION_MANAGER_PATH;
            m.interface = SESSION_MANAGER_NAME;
        }
        const bool wasGone = state.gone();
        const MutterReaction r = state.receive(m);
        if (wasGone && r.eventCount + r.requestCount != 0) __builtin_trap();

        const bool signal = m.type == BusMessage::Type::Signal;
        const bool trusted = m.sender == BUS_NAME || m.sender == mutter || (!manager.empty() && m.sender == manager);
        if (signal && !trusted && r.eventCount + r.requestCount != 0) __builtin_trap();
        if (signal && exact && m.sender == BUS_NAME && m.member == "NameOwnerChanged" && m.signature == "sss" &&
            m.text[0] == SESSION_MANAGER_NAME && !wasGone) {
            manager = m.text[2];
        }
        const bool answer = m.type == BusMessage::Type::Reply || m.type == BusMessage::Type::Error;
        const bool answered = answer && asking[static_cast<int>(m.call)];
        if (answered) asking[static_cast<int>(m.call)] = false;

        for (int i = 0; i < r.eventCount; ++i) {
            const IdleEvent e = r.events[i];
            if (e == IdleEvent::None || last == IdleEvent::Gone) __builtin_trap();
            if (e == IdleEvent::Idle) {
                if (last != IdleEvent::Active || !answered) __builtin_trap();
                const bool reply = m.type == BusMessage::Type::Reply;
                if (m.call == MutterCall::IsInhibited && reply && m.signature == "b" && m.number != 0) __builtin_trap();
                if (m.call == MutterCall::GetIdletime && !(reply && m.signature == "t" && m.number >= MS)) {
                    __builtin_trap();
                }
                if (m.call != MutterCall::IsInhibited && m.call != MutterCall::GetIdletime) __builtin_trap();
            }
            if (e == IdleEvent::Active && last != IdleEvent::Idle) __builtin_trap();
            last = e;
        }
        for (int i = 0; i < r.requestCount; ++i) {
            const MutterRequest& q = r.requests[i];
            if (q.call == MutterCall::None || (q.call == MutterCall::RemoveWatch && q.watch == 0)) __builtin_trap();
            if (q.call == MutterCall::IsInhibited || q.call == MutterCall::GetIdletime) {
                if (asking[static_cast<int>(q.call)]) __builtin_trap();
                asking[static_cast<int>(q.call)] = true;
            }
        }
        // Mutter replaced: the bus side hands the state its successor at once, with idle watch 2.
        if (state.lost()) {
            const MutterReaction f = state.follow(":1.7", 2);
            mutter = ":1.7";
            asking[static_cast<int>(MutterCall::GetIdletime)] = false;  // asked of the old owner
            if (state.lost() || f.eventCount != 0) __builtin_trap();
            if (f.requestCount > 1 || (f.requestCount == 1 && f.requests[0].call != MutterCall::AddUserActiveWatch)) {
                __builtin_trap();
            }
        }
    }
    std::uint32_t watches[2];
    const int count = state.watchesToRemove(watches);
    for (int i = 0; i < count; ++i) {
        if (watches[i] == 0) __builtin_trap();
    }
    if (state.gone() != (last == IdleEvent::Gone) || (state.gone() && count != 0)) __builtin_trap();
    return 0;
}
