#pragma once
// Every inhibition the watcher asks about once the session is idle, with what they need from the
// loop: the session bus (our ScreenSaver service, Plasma's power manager), logind on the system
// bus, the idle source's own (the X server's saver switched off), and one timer for those that
// announce nothing. Without a bus, or without the service on it, those checks find nothing held;
// only --verbose says so.
//
// The checks are rows (CHECKS in session_inhibitions.cpp), as the idle sources are: adding one is
// a file with its opener and a row. A check that needs a descriptor of its own adds it to the loop.
#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "base/session_environment.h"
#include "idle/event_loop.h"
#include "idle/idle_source.h"
#include "idle/inhibition.h"
#include "idle/screensaver_service.h"

namespace smokedrift::idle {

// Whether the session's desktop serves org.freedesktop.ScreenSaver itself (GNOME's settings daemon
// queues for the name; Plasma's locker gives up on it), and would fail to, or queue behind us, if
// the watcher took the name first: named in XDG_CURRENT_DESKTOP, or the one `source` is part of.
bool desktopServesScreenSaver(const SessionEnvironment& session, const IdleSource& source);

// What a check's opener is given.
struct CheckContext {
    const SessionEnvironment& session;
    sd_bus* sessionBus;    // null without one
    bool screenSaverOurs;  // the watcher serves org.freedesktop.ScreenSaver
    std::uint32_t idleMs;
    std::FILE* log;            // --verbose, else null
    InhibitionNotice& notice;  // what a check's bus callbacks announce
    EventLoop& loop;           // for a check with a descriptor of its own
};

// The openers of the rows; each returns null when the session lacks what it asks.
using CheckOpener = std::unique_ptr<InhibitionCheck> (*)(const CheckContext&);

class SessionInhibitions {
public:
    // `source` (which outlives this) adds its own check, and may leave the ScreenSaver name to
    // its desktop. The session bus and the re-check timer are watched in `loop`, and so are the
    // descriptors the checks add; `notices` hears what they bring.
    SessionInhibitions(const SessionEnvironment& session, std::uint32_t idleMs, std::FILE* log, IdleSource& source,
                       EventLoop& loop, const std::function<bool(InhibitionNotice)>& notices);
    ~SessionInhibitions();
    SessionInhibitions(const SessionInhibitions&) = delete;
    SessionInhibitions& operator=(const SessionInhibitions&) = delete;

    InhibitionCheck& checks() { return checks_; }
    // Whether the saver runs, for the ScreenSaver service's GetActive.
    void answerActive(std::function<bool()> active);

    // The re-check timer: in `ms` (0 stops it). A request equal to the armed one keeps its time,
    // so that traffic on the bus does not push the re-check back.
    void arm(int ms);

private:
    // Reads, without blocking, what the bus and the timer brought, including what sd-bus queued
    // while the checks waited for their answers.
    InhibitionNotice dispatch();
    bool pending() const;

    sd_bus* session_ = nullptr;
    bool sessionOpen_ = false;
    int timer_ = -1;
    int armedMs_ = 0;
    InhibitionNotice notice_;
    std::unique_ptr<ScreenSaverService> service_;
    std::vector<std::unique_ptr<InhibitionCheck>> opened_;  // the rows', closed before the bus
    InhibitionChecks checks_;
};

}  // namespace smokedrift::idle
