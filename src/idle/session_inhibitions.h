#pragma once
// Every inhibition the watcher asks about once the session is idle, with what they need from the
// loop: the session bus (our ScreenSaver service, Plasma's power manager), logind on the system
// bus, the idle source's own (the X server's saver switched off), and one timer for those that
// announce nothing. Without a bus, or without the service on it, those checks find nothing held;
// only --verbose says so.
#include <poll.h>
#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

#include "base/session_environment.h"
#include "idle/idle_source.h"
#include "idle/inhibition.h"
#include "idle/screensaver_service.h"

namespace smokedrift::idle {

// Whether the session's desktop serves org.freedesktop.ScreenSaver itself (GNOME's settings daemon
// queues for the name; Plasma's locker gives up on it), and would fail to, or queue behind us, if
// the watcher took the name first: named in XDG_CURRENT_DESKTOP, or the one `source` is part of.
bool desktopServesScreenSaver(const SessionEnvironment& session, const IdleSource& source);

// Plasma: PowerDevil's policy agent, which Plasma's own org.freedesktop.ScreenSaver hands its
// inhibitions to (KWin's idle notifications do not follow them). Announces changes with a signal.
std::unique_ptr<InhibitionCheck> openPlasmaCheck(sd_bus* session, InhibitionNotice& notice);
// The desktop's own screen lock (GNOME Shell's; with `plasma`, KWin's locker, which owns
// org.freedesktop.ScreenSaver there): held while it is up, ending a running saver, and for the idle
// time after it ends.
std::unique_ptr<InhibitionCheck> openDesktopLockCheck(sd_bus* session, bool plasma, std::uint32_t idleMs,
                                                      InhibitionNotice& notice);
// logind's `idle` block locks, and its session's LockedHint (systemd-inhibit --what=idle); re-asked on a timer, since
// logind announces no change of them. Null without a system bus.
std::unique_ptr<InhibitionCheck> openLogindCheck(std::FILE* log);

class SessionInhibitions {
public:
    // `source` (which outlives this) adds its own check, and may leave the ScreenSaver name to
    // its desktop.
    SessionInhibitions(const SessionEnvironment& session, std::uint32_t idleMs, std::FILE* log, IdleSource& source);
    ~SessionInhibitions();

    InhibitionCheck& checks() { return checks_; }
    // Whether the saver runs, for the ScreenSaver service's GetActive.
    void answerActive(std::function<bool()> active);

    // The descriptors to poll (-1: none): the session bus and the re-check timer.
    static constexpr int FDS = 2;
    void pollFds(pollfd* fds) const;
    // Reads, without blocking, what the bus and the timer brought, including what sd-bus queued
    // while the checks waited for their answers; call it before each poll().
    InhibitionNotice dispatch();
    // The re-check timer: in `ms` (0 stops it). A request equal to the armed one keeps its time,
    // so that traffic on the bus does not push the re-check back.
    void arm(int ms);

private:
    sd_bus* session_ = nullptr;
    bool sessionOpen_ = false;
    int timer_ = -1;
    int armedMs_ = 0;
    InhibitionNotice notice_;
    std::unique_ptr<ScreenSaverService> service_;
    std::unique_ptr<InhibitionCheck> plasma_;
    std::unique_ptr<InhibitionCheck> lock_;
    std::unique_ptr<InhibitionCheck> logind_;
    InhibitionChecks checks_;
};

}  // namespace smokedrift::idle
