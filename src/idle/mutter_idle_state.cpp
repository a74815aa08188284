#include "idle/mutter_idle_state.h"

#include <utility>

namespace smokedrift::idle {

namespace {

constexpr std::uint64_t MAX_WATCH = 0xFFFFFFFFu;

void addEvent(MutterReaction& out, IdleEvent event) { out.events[out.eventCount++] = event; }

void addRequest(MutterReaction& out, MutterCall call, std::uint32_t watch = 0) {
    out.requests[out.requestCount++] = MutterRequest{call, watch};
}

bool isSignal(const BusMessage& m, std::string_view sender, std::string_view path, std::string_view interface,
              std::string_view member, std::string_view signature) {
    return !sender.empty() && m.sender == sender && m.path == path && m.interface == interface && m.member == member &&
           m.signature == signature;
}

}  // namespace

MutterIdleState::MutterIdleState(std::string mutterOwner, std::string managerOwner, std::uint32_t milliseconds,
                                 std::uint32_t idleWatch)
    : mutterOwner_(std::move(mutterOwner)),
      managerOwner_(std::move(managerOwner)),
      milliseconds_(milliseconds),
      idleWatch_(idleWatch) {}

MutterReaction MutterIdleState::receive(const BusMessage& m) {
    MutterReaction out;
    if (phase_ == Phase::Gone || (lost_ && m.type != BusMessage::Type::Closed)) return out;
    switch (m.type) {
    case BusMessage::Type::Closed:
        phase_ = Phase::Gone;
        addEvent(out, IdleEvent::Gone);
        break;
    case BusMessage::Type::Reply:
    case BusMessage::Type::Error: {
        const bool reply = m.type == BusMessage::Type::Reply;
        if (m.call == MutterCall::AddUserActiveWatch && activeCallsPending_ > 0) {
            --activeCallsPending_;
            const bool valid = reply && m.signature == "u" && m.number != 0 && m.number <= MAX_WATCH;
            const bool wanted = activeCallsStale_ == 0 && phase_ == Phase::Idle;
            if (activeCallsStale_ > 0) --activeCallsStale_;
            if (valid && wanted) {
                activeWatch_ = static_cast<std::uint32_t>(m.number);
            } else if (valid) {
                addRequest(out, MutterCall::RemoveWatch, static_cast<std::uint32_t>(m.number));
            }
        } else if (m.call == MutterCall::IsInhibited && phase_ == Phase::AskingInhibited) {
            // An error (no session manager, or one without the method) inhibits nothing.
            onInhibitedAnswer(reply && m.signature == "b" && m.number != 0, out);
        } else if (m.call == MutterCall::GetIdletime && phase_ == Phase::AskingIdletime) {
            if (reply && m.signature == "t" && m.number >= milliseconds_) {
                reportIdle(out);
            } else {
                // The user was active meanwhile: the idle watch fires after the next stretch.
                phase_ = Phase::Waiting;
            }
        }
        break;
    }
    case BusMessage::Type::Signal:
        if (isSignal(m, mutterOwner_, MUTTER_IDLE_PATH, MUTTER_IDLE_NAME, "WatchFired", "u")) {
            if (m.number <= MAX_WATCH) onWatchFired(static_cast<std::uint32_t>(m.number), out);
        } else if (isSignal(m, managerOwner_, SESSION_MANAGER_PATH, SESSION_MANAGER_NAME, "InhibitorRemoved", "o")) {
            if (phase_ == Phase::Inhibited) askInhibited(out);
        } else if (isSignal(m, BUS_NAME, "/org/freedesktop/DBus", BUS_NAME, "NameOwnerChanged", "sss")) {
            if (m.text[0] == MUTTER_IDLE_NAME && m.text[1] == mutterOwner_ && m.text[2] != mutterOwner_) {
                lost_ = true;
            } else if (m.text[0] == SESSION_MANAGER_NAME) {
                onManagerOwner(m.text[2], out);
            }
        }
        break;
    }
    return out;
}

void MutterIdleState::onWatchFired(std::uint32_t id, MutterReaction& out) {
    if (id == idleWatch_) {
        if (phase_ == Phase::Idle && freshIdleWatch_) {
            freshIdleWatch_ = false;
        } else if (phase_ == Phase::Waiting) {
            waitedForInhibitor_ = false;
            askInhibited(out);
        } else if (phase_ == Phase::Idle) {
            leaveIdle(out);
            waitedForInhibitor_ = false;
            askInhibited(out);
        }
        // Asking or inhibited: the answers decide, and GetIdletime covers this stretch.
    } else if (id != 0 && id == activeWatch_ && phase_ == Phase::Idle) {
        activeWatch_ = 0;  // one-shot: mutter has dropped it
        freshIdleWatch_ = false;
        phase_ = Phase::Waiting;
        addEvent(out, IdleEvent::Active);
    }
}

void MutterIdleState::onInhibitedAnswer(bool inhibited, MutterReaction& out) {
    if (inhibited) {
        phase_ = Phase::Inhibited;
        waitedForInhibitor_ = true;
    } else if (waitedForInhibitor_) {
        phase_ = Phase::AskingIdletime;
        addRequest(out, MutterCall::GetIdletime);
    } else {
        reportIdle(out);
    }
}

void MutterIdleState::onManagerOwner(std::string_view owner, MutterReaction& out) {
    managerOwner_ = owner;
    if (phase_ != Phase::Inhibited) return;
    if (owner.empty()) {
        onInhibitedAnswer(false, out);  // its inhibitors went with it
    } else {
        askInhibited(out);
    }
}

void MutterIdleState::askInhibited(MutterReaction& out) {
    phase_ = Phase::AskingInhibited;
    addRequest(out, MutterCall::IsInhibited);
}

void MutterIdleState::reportIdle(MutterReaction& out) {
    phase_ = Phase::Idle;
    addEvent(out, IdleEvent::Idle);
    ++activeCallsPending_;
    addRequest(out, MutterCall::AddUserActiveWatch);
}

void MutterIdleState::leaveIdle(MutterReaction& out) {
    addEvent(out, IdleEvent::Active);
    if (activeWatch_ != 0) {
        addRequest(out, MutterCall::RemoveWatch, activeWatch_);
        activeWatch_ = 0;
    } else if (activeCallsPending_ > activeCallsStale_) {
        ++activeCallsStale_;
    }
    phase_ = Phase::Waiting;
}

MutterReaction MutterIdleState::follow(std::string mutterOwner, std::uint32_t idleWatch) {
    MutterReaction out;
    if (phase_ == Phase::Gone) return out;
    mutterOwner_ = std::move(mutterOwner);
    idleWatch_ = idleWatch;
    lost_ = false;
    // The old owner's watches and pending answers went with it.
    activeWatch_ = 0;
    activeCallsPending_ = 0;
    activeCallsStale_ = 0;
    if (phase_ == Phase::Idle) {
        freshIdleWatch_ = true;
        ++activeCallsPending_;
        addRequest(out, MutterCall::AddUserActiveWatch);
    } else if (phase_ == Phase::AskingIdletime) {
        phase_ = Phase::Waiting;  // the new idle watch fires once the session is idle
    }
    return out;
}

int MutterIdleState::watchesToRemove(std::uint32_t (&watches)[2]) const {
    if (phase_ == Phase::Gone || lost_) return 0;
    int count = 0;
    watches[count++] = idleWatch_;
    if (activeWatch_ != 0) watches[count++] = activeWatch_;
    return count;
}

}  // namespace smokedrift::idle
