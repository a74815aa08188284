#include "idle/session_inhibitions.h"

#include <sys/timerfd.h>
#include <unistd.h>

namespace smokedrift::idle {

// The checks, asked in this order after the ScreenSaver service's and before the idle source's.
// Each opener lives in the check's own file.

// Plasma: PowerDevil's policy agent, which Plasma's own org.freedesktop.ScreenSaver hands its
// inhibitions to (KWin's idle notifications do not follow them). Announces changes with a signal.
std::unique_ptr<InhibitionCheck> openPlasmaCheck(const CheckContext& context);
// The desktop's own screen lock (GNOME Shell's; on Plasma, KWin's locker, which owns
// org.freedesktop.ScreenSaver there): held while it is up, ending a running saver, and for the idle
// time after it ends.
std::unique_ptr<InhibitionCheck> openDesktopLockCheck(const CheckContext& context);
// logind's `idle` block locks, and its session's LockedHint (systemd-inhibit --what=idle); re-asked
// on a timer, since logind announces no change of them. Null without a system bus.
std::unique_ptr<InhibitionCheck> openLogindCheck(const CheckContext& context);

namespace {

constexpr CheckOpener CHECKS[] = {openPlasmaCheck, openDesktopLockCheck, openLogindCheck};

}  // namespace

bool desktopServesScreenSaver(const SessionEnvironment& session, const IdleSource& source) {
    // Both desktops keep their inhibitions where the watcher asks (the session manager, the
    // policy agent).
    const auto serves = [](std::string_view desktop) { return desktop == "GNOME" || desktop == "KDE"; };
    return anyListEntry(session.currentDesktop, serves) || (source.desktop() != nullptr && serves(source.desktop()));
}

SessionInhibitions::SessionInhibitions(const SessionEnvironment& session, std::uint32_t idleMs, std::FILE* log,
                                       IdleSource& source, EventLoop& loop,
                                       const std::function<bool(InhibitionNotice)>& notices) {
    bool ours = false;
    if (sd_bus_open_user(&session_) >= 0) {
        sessionOpen_ = true;
        service_ = std::make_unique<ScreenSaverService>(session_, idleMs, log, notice_);
        if (desktopServesScreenSaver(session, source)) {
            if (log != nullptr)
                std::fprintf(log, "smokedrift: idle: org.freedesktop.ScreenSaver left to the desktop\n");
        } else {
            ours = service_->serve();
        }
    } else {
        session_ = nullptr;
        if (log != nullptr)
            std::fprintf(log, "smokedrift: idle: no session bus: org.freedesktop.ScreenSaver not served\n");
    }
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    checks_.add(service_.get());
    const CheckContext context{session, session_, ours, idleMs, log, notice_, loop};
    for (const CheckOpener open : CHECKS) {
        if (std::unique_ptr<InhibitionCheck> check = open(context)) {
            checks_.add(check.get());
            opened_.push_back(std::move(check));
        }
    }
    checks_.add(source.inhibitions());

    const auto handle = [this, notices] { return notices(dispatch()); };
    loop.add({[this] {
                  pollfd fd = {sessionOpen_ ? sd_bus_get_fd(session_) : -1, POLLIN, 0};
                  if (sessionOpen_ && (sd_bus_get_events(session_) & POLLOUT) != 0) fd.events |= POLLOUT;
                  return fd;
              },
              [this] { return pending(); }, [handle](short) { return handle(); }});
    loop.add({[this] {
                  return pollfd{armedMs_ > 0 ? timer_ : -1, POLLIN, 0};
              },
              nullptr, [handle](short) { return handle(); }});
}

SessionInhibitions::~SessionInhibitions() {
    service_.reset();
    opened_.clear();
    if (session_ != nullptr) sd_bus_flush_close_unref(session_);
    if (timer_ >= 0) close(timer_);
}

void SessionInhibitions::answerActive(std::function<bool()> active) {
    if (service_) service_->answerActive(std::move(active));
}

bool SessionInhibitions::pending() const {
    return notice_.activity || notice_.changed || (sessionOpen_ && busPending(session_));
}

InhibitionNotice SessionInhibitions::dispatch() {
    std::uint64_t expirations = 0;
    if (armedMs_ > 0 && read(timer_, &expirations, sizeof expirations) == sizeof expirations) {
        armedMs_ = 0;
        notice_.changed = true;
    }
    if (sessionOpen_) {
        int r = 0;
        while ((r = sd_bus_process(session_, nullptr)) > 0) {
        }
        if (r < 0 || sd_bus_is_open(session_) <= 0) {
            // The session bus went, and every inhibition held on it; the checks' calls on the
            // closed connection fail at once from now on.
            sessionOpen_ = false;
            service_->stop();
            notice_.changed = true;
        }
    }
    const InhibitionNotice n = notice_;
    notice_ = {};
    return n;
}

void SessionInhibitions::arm(int ms) {
    if (ms == armedMs_ || timer_ < 0) return;
    itimerspec when{};
    when.it_value.tv_sec = ms / 1000;
    when.it_value.tv_nsec = static_cast<long>(ms % 1000) * 1000000;
    if (timerfd_settime(timer_, 0, &when, nullptr) == 0) armedMs_ = ms;
}

}  // namespace smokedrift::idle
