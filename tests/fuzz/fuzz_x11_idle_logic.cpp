// The X11 idle source's alarm logic under any run of firings (each byte: bit 0 says whether a saver
// suspension is held, bit 1 restarts). Checks that Idle and Active alternate, Idle first; that Idle
// never comes while a suspension is held; that the armed test always matches the question asked;
// and that two firings in a row without a suspension always bring an event.
#include <cstddef>
#include <cstdint>

#include "idle/x11_idle_logic.h"

using smokedrift::idle::IdleEvent;
using smokedrift::idle::X11IdleLogic;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    X11IdleLogic logic;
    X11IdleLogic::Alarm armed = logic.start();
    bool idle = false;  // the last event was Idle
    int quietFree = 0;  // firings in a row without a suspension nor an event
    for (std::size_t i = 0; i < size; ++i) {
        const bool suspended = (data[i] & 1) != 0;
        if ((data[i] & 2) != 0) {
            armed = logic.start();
            idle = false;
            quietFree = 0;
        }
        if (logic.asksSuspension() != (armed == X11IdleLogic::Alarm::UntilIdle)) __builtin_trap();
        const bool asked = logic.asksSuspension();
        const X11IdleLogic::Step step = logic.fired(suspended);
        switch (step.event) {
        case IdleEvent::Idle:
            if (idle || !asked || suspended || step.next != X11IdleLogic::Alarm::UntilReset) __builtin_trap();
            idle = true;
            break;
        case IdleEvent::Active:
            if (!idle || step.next != X11IdleLogic::Alarm::UntilIdle) __builtin_trap();
            idle = false;
            break;
        case IdleEvent::None:
            quietFree = suspended ? 0 : quietFree + 1;
            if (quietFree >= 2) __builtin_trap();
            break;
        case IdleEvent::Gone: __builtin_trap();
        }
        if (step.event != IdleEvent::None) quietFree = 0;
        armed = step.next;
    }
    return 0;
}
