#include "idle/control_service.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace smokedrift::idle {

namespace {

std::uint64_t nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::uint64_t>(t.tv_sec) * 1000 + static_cast<std::uint64_t>(t.tv_nsec) / 1000000;
}

std::int64_t wallSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

constexpr std::uint64_t DEFAULT_FLAGS = SD_BUS_VTABLE_UNPRIVILEGED;

}  // namespace

ControlService::ControlService(InhibitionCheck& listed, long idleSeconds, std::string source, std::string desktopTimer,
                               std::FILE* log)
    : listed_(listed),
      idleSeconds_(idleSeconds),
      source_(std::move(source)),
      desktopTimer_(std::move(desktopTimer)),
      log_(log) {}

ControlService::~ControlService() {
    sd_bus_slot_unref(object_);
    if (bus_ != nullptr) sd_bus_flush_close_unref(bus_);
    if (timer_ >= 0) close(timer_);
}

void ControlService::serve(const IdleWatcher& watcher) {
    watcher_ = &watcher;
    shownState_ = state();
    if (sd_bus_open_user(&bus_) < 0) {
        bus_ = nullptr;
        if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: no session bus: no control interface\n");
        return;
    }
    // Without queueing: a name another process holds means no control, said once.
    const int r = sd_bus_request_name(bus_, WATCHER_BUS_NAME, 0);
    if (r < 0) {
        std::fprintf(stderr, "smokedrift: --idle: the control interface %s is not served: %s\n", WATCHER_BUS_NAME,
                     r == -EEXIST ? "another process holds the name" : std::strerror(-r));
        sd_bus_flush_close_unref(bus_);
        bus_ = nullptr;
        return;
    }
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("State", "s", onProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
        SD_BUS_PROPERTY("IdleSource", "s", onProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("IdleTime", "x", onProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("IdleSeconds", "x", onProperty, 0, 0),
        SD_BUS_PROPERTY("SecondsUntilSaver", "x", onProperty, 0, 0),
        SD_BUS_PROPERTY("PausedUntil", "x", onProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
        SD_BUS_PROPERTY("DesktopTimer", "s", onProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("Inhibitions", "a(sssx)", onProperty, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
        SD_BUS_METHOD("Activate", "", "", onActivate, DEFAULT_FLAGS),
        SD_BUS_METHOD("Pause", "x", "", onPause, DEFAULT_FLAGS),
        SD_BUS_METHOD("Resume", "", "", onResume, DEFAULT_FLAGS),
        SD_BUS_METHOD("SimulateActivity", "", "", onSimulateActivity, DEFAULT_FLAGS),
        SD_BUS_VTABLE_END,
    };
    sd_bus_add_object_vtable(bus_, &object_, WATCHER_OBJECT, WATCHER_INTERFACE, vtable, this);
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: serving %s on the session bus\n", WATCHER_BUS_NAME);
}

bool ControlService::paused() const { return pauseEndMs_ != 0 && nowMs() < pauseEndMs_; }

std::int64_t ControlService::pausedUntil() const {
    if (!paused()) return 0;
    return wallSeconds() + static_cast<std::int64_t>((pauseEndMs_ - nowMs() + 999) / 1000);
}

ControlState ControlService::state() const {
    if (watcher_ == nullptr) return ControlState::Waiting;
    switch (watcher_->state()) {
    case WatcherState::SaverRunning: return ControlState::SaverRunning;
    case WatcherState::IdleButInhibited: return paused() ? ControlState::Paused : ControlState::HeldOff;
    case WatcherState::WaitingForActivity: return paused() ? ControlState::Paused : ControlState::Idle;
    case WatcherState::WaitingForIdle: break;
    }
    return paused() ? ControlState::Paused : ControlState::Waiting;
}

Holding ControlService::check() {
    Holding h;
    const std::uint64_t now = nowMs();
    const auto hold = [&](std::uint64_t until, const std::string& who) {
        h.held = true;
        appendHolder(h.holders, who);
        const int ms = static_cast<int>(until - now);
        if (h.recheckMs == 0 || ms < h.recheckMs) h.recheckMs = ms;
    };
    if (paused()) hold(pauseEndMs_, "smokedrift --pause");
    const std::uint64_t activityEnd = activityAtMs_ + static_cast<std::uint64_t>(idleSeconds_) * 1000;
    if (activityAtMs_ != 0 && now < activityEnd) hold(activityEnd, "user activity simulated by smokedrift");
    return h;
}

WatcherStatus ControlService::status() const {
    WatcherStatus s;
    s.state = state();
    s.source = source_;
    s.idleTime = idleSeconds_;
    const std::uint64_t now = nowMs();
    if (idleSinceMs_ != 0) s.idleSeconds = static_cast<std::int64_t>((now - idleSinceMs_) / 1000);
    if (s.state == ControlState::SaverRunning) s.secondsUntilSaver = 0;
    // Paused while idle and nothing else holds it: the saver comes when the pause ends.
    if (s.state == ControlState::Paused && idleSinceMs_ != 0 && watcher_->holders() == "smokedrift --pause")
        s.secondsUntilSaver = static_cast<std::int64_t>((pauseEndMs_ - now + 999) / 1000);
    s.pausedUntil = pausedUntil();
    s.desktopTimer = desktopTimer_;
    return s;
}

void ControlService::watch(EventLoop& loop, const std::function<bool(ControlNotice)>& notices) {
    const auto handle = [this, notices] { return notices(dispatch()); };
    loop.add({[this] {
                  pollfd fd = {bus_ != nullptr ? sd_bus_get_fd(bus_) : -1, POLLIN, 0};
                  if (bus_ != nullptr && (sd_bus_get_events(bus_) & POLLOUT) != 0) fd.events |= POLLOUT;
                  return fd;
              },
              [this] {
                  return notice_.activate || notice_.activity || notice_.changed ||
                         (bus_ != nullptr && busPending(bus_));
              },
              [handle](short) { return handle(); }});
    loop.add({[this] {
                  return pollfd{pauseEndMs_ != 0 ? timer_ : -1, POLLIN, 0};
              },
              nullptr, [handle](short) { return handle(); }});
}

void ControlService::armTimer(std::uint64_t atMs) {
    if (timer_ < 0) return;
    itimerspec when{};
    if (atMs != 0) {
        const std::uint64_t now = nowMs();
        const std::uint64_t in = atMs > now ? atMs - now : 1;
        when.it_value.tv_sec = static_cast<time_t>(in / 1000);
        when.it_value.tv_nsec = static_cast<long>(in % 1000) * 1000000;
    }
    timerfd_settime(timer_, 0, &when, nullptr);
}

ControlNotice ControlService::dispatch() {
    std::uint64_t expirations = 0;
    if (pauseEndMs_ != 0 && timer_ >= 0 && read(timer_, &expirations, sizeof expirations) == sizeof expirations) {
        // The pause ended: the watcher, held off by it, asks again.
        pauseEndMs_ = 0;
        notice_.changed = true;
        if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: the pause ended\n");
    }
    if (bus_ != nullptr) {
        int r = 0;
        while ((r = sd_bus_process(bus_, nullptr)) > 0) {
        }
        if (r < 0 || sd_bus_is_open(bus_) <= 0) {
            // The session bus went: nobody can reach the interface any more.
            sd_bus_slot_unref(object_);
            object_ = nullptr;
            sd_bus_flush_close_unref(bus_);
            bus_ = nullptr;
        }
    }
    const ControlNotice n = notice_;
    notice_ = {};
    return n;
}

void ControlService::publish() {
    if (watcher_ == nullptr) return;
    const bool idle = watcher_->sourceIdle();
    if (idle && idleSinceMs_ == 0) idleSinceMs_ = nowMs() - static_cast<std::uint64_t>(idleSeconds_) * 1000;
    if (!idle) idleSinceMs_ = 0;
    const ControlState now = state();
    const std::int64_t pause = pausedUntil();
    const char* names[4] = {};
    int n = 0;
    if (now != shownState_) names[n++] = "State";
    if (pause != shownPause_) names[n++] = "PausedUntil";
    if (now != shownState_ || watcher_->holders() != shownHolders_) names[n++] = "Inhibitions";
    if (n == 0) return;
    if (log_ != nullptr && now != shownState_) std::fprintf(log_, "smokedrift: idle: state %s\n", stateWord(now));
    shownState_ = now;
    shownPause_ = pause;
    shownHolders_ = watcher_->holders();
    if (bus_ != nullptr && object_ != nullptr) {
        sd_bus_emit_properties_changed_strv(bus_, WATCHER_OBJECT, WATCHER_INTERFACE, const_cast<char**>(names));
    }
}

int ControlService::onActivate(sd_bus_message* m, void* self, sd_bus_error*) {
    static_cast<ControlService*>(self)->notice_.activate = true;
    return sd_bus_reply_method_return(m, "");
}

int ControlService::onPause(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    auto* self = static_cast<ControlService*>(userdata);
    std::int64_t seconds = 0;
    const int r = sd_bus_message_read(m, "x", &seconds);
    if (r < 0) return r;
    if (seconds < 1 || seconds > MAX_PAUSE_SECONDS) {
        return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS, "a pause lasts from 1 to %ld seconds",
                                 MAX_PAUSE_SECONDS);
    }
    self->pauseEndMs_ = nowMs() + static_cast<std::uint64_t>(seconds) * 1000;
    self->armTimer(self->pauseEndMs_);
    self->notice_.changed = true;
    if (self->log_ != nullptr)
        std::fprintf(self->log_, "smokedrift: idle: paused for %lld s\n", static_cast<long long>(seconds));
    return sd_bus_reply_method_return(m, "");
}

int ControlService::onResume(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<ControlService*>(userdata);
    if (self->pauseEndMs_ != 0) {
        self->pauseEndMs_ = 0;
        self->armTimer(0);
        self->notice_.changed = true;
        if (self->log_ != nullptr) std::fprintf(self->log_, "smokedrift: idle: the pause ended on request\n");
    }
    return sd_bus_reply_method_return(m, "");
}

int ControlService::onSimulateActivity(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<ControlService*>(userdata);
    self->activityAtMs_ = nowMs();
    self->notice_.activity = true;
    return sd_bus_reply_method_return(m, "");
}

int ControlService::onProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                               void* userdata, sd_bus_error*) {
    auto* self = static_cast<ControlService*>(userdata);
    const std::string_view p = property;
    if (p == "IdleSource") return sd_bus_message_append(reply, "s", self->source_.c_str());
    if (p == "IdleTime") return sd_bus_message_append(reply, "x", self->idleSeconds_);
    if (p == "DesktopTimer") return sd_bus_message_append(reply, "s", self->desktopTimer_.c_str());
    if (p == "PausedUntil") return sd_bus_message_append(reply, "x", self->pausedUntil());
    if (p == "State") return sd_bus_message_append(reply, "s", stateWord(self->state()));
    if (p == "Inhibitions") {
        std::vector<Inhibitor> list;
        self->listed_.list(list);
        int r = sd_bus_message_open_container(reply, 'a', "(sssx)");
        for (const Inhibitor& i : list) {
            if (r >= 0)
                r = sd_bus_message_append(reply, "(sssx)", i.path.c_str(), i.holder.c_str(), i.reason.c_str(), i.since);
        }
        return r < 0 ? r : sd_bus_message_close_container(reply);
    }
    const WatcherStatus s = self->status();
    return sd_bus_message_append(reply, "x", p == "IdleSeconds" ? s.idleSeconds : s.secondsUntilSaver);
}

}  // namespace smokedrift::idle
