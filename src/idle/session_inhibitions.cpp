#include "idle/session_inhibitions.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <string_view>

namespace smokedrift::idle {

bool desktopServesScreenSaver(const SessionEnvironment& session, const IdleSource& source) {
    // Both desktops keep their inhibitions where the watcher asks (the session manager, the
    // policy agent).
    const auto serves = [](std::string_view desktop) { return desktop == "GNOME" || desktop == "KDE"; };
    return anyListEntry(session.currentDesktop, serves) || (source.desktop() != nullptr && serves(source.desktop()));
}

SessionInhibitions::SessionInhibitions(const SessionEnvironment& session, std::uint32_t idleMs, std::FILE* log,
                                       IdleSource& source) {
    if (sd_bus_open_user(&session_) >= 0) {
        sessionOpen_ = true;
        service_ = std::make_unique<ScreenSaverService>(session_, idleMs, log, notice_);
        bool ours = false;
        if (desktopServesScreenSaver(session, source)) {
            if (log != nullptr)
                std::fprintf(log, "smokedrift: idle: org.freedesktop.ScreenSaver left to the desktop\n");
        } else {
            ours = service_->serve();
        }
        plasma_ = openPlasmaCheck(session_, notice_);
        // Whoever else serves org.freedesktop.ScreenSaver (KWin's locker on Plasma) is asked
        // whether its lock is up; never ourselves, which would wait on our own answer.
        lock_ = openDesktopLockCheck(session_, !ours && !session.namesDesktop("GNOME"), idleMs, notice_);
    } else {
        session_ = nullptr;
        if (log != nullptr)
            std::fprintf(log, "smokedrift: idle: no session bus: org.freedesktop.ScreenSaver not served\n");
    }
    logind_ = openLogindCheck(log);
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    checks_.add(service_.get());
    checks_.add(plasma_.get());
    checks_.add(lock_.get());
    checks_.add(logind_.get());
    checks_.add(source.inhibitions());
}

SessionInhibitions::~SessionInhibitions() {
    service_.reset();
    plasma_.reset();
    lock_.reset();
    if (session_ != nullptr) sd_bus_flush_close_unref(session_);
    if (timer_ >= 0) close(timer_);
}

void SessionInhibitions::answerActive(std::function<bool()> active) {
    if (service_) service_->answerActive(std::move(active));
}

void SessionInhibitions::pollFds(pollfd* fds) const {
    fds[0] = {sessionOpen_ ? sd_bus_get_fd(session_) : -1, POLLIN, 0};
    if (sessionOpen_ && (sd_bus_get_events(session_) & POLLOUT) != 0) fds[0].events |= POLLOUT;
    fds[1] = {armedMs_ > 0 ? timer_ : -1, POLLIN, 0};
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
