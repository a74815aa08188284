#include "idle/idle_watcher.h"

#include <sys/wait.h>
#include <time.h>

namespace smokedrift::idle {

std::int64_t monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int IdleWatcher::onSourceReady(IdleSource& source) {
    for (;;) {
        const IdleEvent event = source.dispatch();
        if (event == IdleEvent::None) return KEEP_WATCHING;
        const int code = onEvent(event, source.name());
        if (code != KEEP_WATCHING) return code;
    }
}

void IdleWatcher::startSaver() {
    if (saver_.start()) {
        state_ = WatcherState::SaverRunning;
        startedAtMs_ = clock_();
        if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: the saver started\n");
    } else {
        // As if it had ended at once: wait for the user before trying again.
        state_ = WatcherState::WaitingForActivity;
    }
}

void IdleWatcher::idleReached() {
    const Holding h = inhibitions_.check();
    if (!h.held) {
        holders_.clear();
        startSaver();
        return;
    }
    heldOff(h);
}

void IdleWatcher::heldOff(const Holding& h) {
    state_ = WatcherState::IdleButInhibited;
    recheckMs_ = h.recheckMs;
    if (log_ != nullptr && h.holders != holders_)
        std::fprintf(log_, "smokedrift: idle: held off by %s\n", h.holders.c_str());
    holders_ = h.holders;
}

void IdleWatcher::onInhibitionsChanged() {
    if (state_ == WatcherState::IdleButInhibited) {
        idleReached();
        return;
    }
    if (state_ != WatcherState::SaverRunning) return;
    const bool late = clock_() - startedAtMs_ < LATE_INHIBITION_MS;
    const Holding h = inhibitions_.check();
    if (!h.held || !(late || h.endsSaver)) return;
    if (log_ != nullptr) {
        std::fprintf(log_, "smokedrift: idle: the saver ends: %s\n",
                     h.endsSaver ? "the desktop's own lock or blank came up" : "an inhibition announced late");
    }
    saver_.stop();
    heldOff(h);
}

void IdleWatcher::activate() {
    if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: asked to start the saver now\n");
    if (state_ == WatcherState::SaverRunning) return;
    holders_.clear();
    startSaver();
    // A session the source never reported idle will report no `Active` to re-arm on.
    if (state_ == WatcherState::WaitingForActivity && !sourceIdle_) state_ = WatcherState::WaitingForIdle;
}

void IdleWatcher::onSimulatedActivity() {
    if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: an application simulated user activity\n");
    if (state_ == WatcherState::WaitingForIdle) return;
    if (state_ == WatcherState::SaverRunning) saver_.stop();
    idleReached();
}

int IdleWatcher::onEvent(IdleEvent event, const char* sourceName) {
    switch (event) {
    case IdleEvent::None: break;
    case IdleEvent::Idle:
        if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: the session is idle\n");
        sourceIdle_ = true;
        if (state_ == WatcherState::WaitingForIdle) idleReached();
        break;
    case IdleEvent::Active:
        if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: the user is active\n");
        sourceIdle_ = false;
        if (state_ == WatcherState::SaverRunning) saver_.stop();
        state_ = WatcherState::WaitingForIdle;
        holders_.clear();
        break;
    case IdleEvent::Gone:
        saver_.stop();
        std::fprintf(stderr, "smokedrift: the session's idle source (%s) went away; the watcher ends\n", sourceName);
        return 255;
    }
    return KEEP_WATCHING;
}

int IdleWatcher::onSaverEnded(int status) {
    if (log_ != nullptr) {
        if (WIFEXITED(status)) {
            std::fprintf(log_, "smokedrift: idle: the saver ended with %d\n", WEXITSTATUS(status));
        } else {
            std::fprintf(log_, "smokedrift: idle: the saver ended by signal %d\n", WTERMSIG(status));
        }
    }
    if (state_ == WatcherState::SaverRunning)
        state_ = sourceIdle_ ? WatcherState::WaitingForActivity : WatcherState::WaitingForIdle;
    return KEEP_WATCHING;
}

int IdleWatcher::onStopSignal() {
    saver_.stop();
    return 0;
}

}  // namespace smokedrift::idle
