#include "idle/x11_idle_logic.h"

namespace smokedrift::idle {

X11IdleLogic::Alarm X11IdleLogic::start() {
    phase_ = Phase::Waiting;
    return Alarm::UntilIdle;
}

X11IdleLogic::Test X11IdleLogic::test(Alarm alarm, std::uint32_t milliseconds) {
    if (alarm == Alarm::UntilIdle) return {true, milliseconds};
    return {false, static_cast<std::int64_t>(milliseconds) - 1};
}

bool X11IdleLogic::asksSuspension() const { return phase_ == Phase::Waiting; }

X11IdleLogic::Step X11IdleLogic::fired(bool suspended) {
    switch (phase_) {
    case Phase::Waiting:
        if (suspended) {
            phase_ = Phase::Suspended;
            return {IdleEvent::None, Alarm::UntilReset};
        }
        phase_ = Phase::Idle;
        return {IdleEvent::Idle, Alarm::UntilReset};
    case Phase::Suspended:
        // Input, a reset or the suspension's end: count a whole idle stretch from here.
        phase_ = Phase::Waiting;
        return {IdleEvent::None, Alarm::UntilIdle};
    case Phase::Idle: break;
    }
    phase_ = Phase::Waiting;
    return {IdleEvent::Active, Alarm::UntilIdle};
}

}  // namespace smokedrift::idle
