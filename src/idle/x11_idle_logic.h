#pragma once
// What the X11 idle source makes of its one alarm on the server's IDLETIME counter, kept apart from
// Xlib so a unit test and a fuzz target drive it with plain calls.
//
// IDLETIME counts the milliseconds since the last input; input, XResetScreenSaver and the end of
// the last saver suspension set it back to 0. It keeps counting while a client holds the saver
// suspended (XScreenSaverSuspend: SDL, mpv), so when the idle alarm fires the source asks whether a
// suspension is held, and if so waits for the counter to drop and then for a whole idle stretch
// more, instead of reporting Idle.
#include <cstdint>

#include "idle/idle_source.h"

namespace smokedrift::idle {

class X11IdleLogic {
public:
    // The alarm's test. Comparisons, not transitions: armed when already true, it fires at once,
    // so nothing that happened between the firing and the re-arming is lost.
    enum class Alarm {
        UntilIdle,   // fires when IDLETIME >= the idle time
        UntilReset,  // fires when IDLETIME < the idle time
    };
    struct Step {
        IdleEvent event;
        Alarm next;
    };
    // An alarm as X Sync tests it: `rising`, IDLETIME >= value; else IDLETIME <= value (both
    // comparisons take in the value itself). The server often fires the idle alarm with the
    // counter exactly at the idle time, so the two ranges must not share it: a reset alarm armed
    // then would fire at once.
    struct Test {
        bool rising;
        std::int64_t value;
    };
    static Test test(Alarm alarm, std::uint32_t milliseconds);

    Alarm start();
    // Whether the next firing needs to know if a saver suspension is held (the answer costs the
    // source a request per client, so it asks only then).
    bool asksSuspension() const;
    // The armed alarm fired; `suspended`: a client holds the server's saver suspended.
    Step fired(bool suspended);

private:
    enum class Phase {
        Waiting,    // for an idle stretch
        Suspended,  // an idle stretch passed under a suspension: for the counter to drop
        Idle,       // Idle reported: for input
    };
    Phase phase_ = Phase::Waiting;
};

// The server's saver switched off while the watcher runs (`xset s off`, which xdg-screensaver
// suspend runs outside a desktop; its resume sets the timeout back): an inhibition until the timeout
// is non-zero again. Off since before the watcher started is the user's own setting, not an
// inhibition, until the watcher sees it on.
class ServerSaverSwitch {
public:
    explicit ServerSaverSwitch(int timeoutAtStart) : seenOn_(timeoutAtStart != 0) {}
    // The timeout (seconds) read when the session is idle.
    bool inhibits(int timeout) {
        if (timeout != 0) seenOn_ = true;
        return timeout == 0 && seenOn_;
    }

private:
    bool seenOn_;
};

}  // namespace smokedrift::idle
