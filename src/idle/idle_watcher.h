#pragma once
// The watcher's states, apart from any session or process: it waits for the session to go idle,
// runs the saver, and after the saver ends waits for the user to come back before it waits for
// idle again, so that a saver that ends by itself (a failure, a lost output) is not started over
// and over while nobody is there. Activity the session reports while the saver runs ends the
// saver too: input the saver never saw (typed into a lock screen above it) still means the user
// is back. Once the source reports idle, the inhibitions are asked (inhibition.h): while one is
// held the saver waits, and starts when the last goes, unless the user came back meanwhile.
// The real loop (idle_mode.cpp) feeds it what poll() brought; unit tests feed it a scripted
// source, saver and inhibitions.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "idle/idle_source.h"
#include "idle/inhibition.h"

namespace smokedrift::idle {

// The saver process as the watcher sees it.
class SaverChild {
public:
    virtual ~SaverChild() = default;
    // Starts the saver; false (with one line on stderr) when it could not be started.
    virtual bool start() = 0;
    // Ends the saver if it runs, and waits for it.
    virtual void stop() = 0;
};

enum class WatcherState {
    WaitingForIdle,      // the saver is not running; the next `Idle` starts it
    IdleButInhibited,    // idle, but an inhibition is held: its end starts the saver, `Active` ends this
    SaverRunning,        // until the child ends (input ends it) or the session reports activity
    WaitingForActivity,  // the saver ended with nobody back yet; the next `Active` re-arms
};

// What the loop does next: go on waiting, or end with this exit code.
constexpr int KEEP_WATCHING = -1;

// An inhibition announced this soon after the saver started may have been asked for before it:
// Plasma's power manager counts one about 5 s after a player asks, so a film started a few
// seconds before the idle time is announced only once the saver covers it. Such a saver ends and
// waits for the inhibition's end. Later inhibitions leave a running saver alone: nobody starts a
// film without touching the session, and a player that autoplays behind the saver has nobody
// watching it.
inline constexpr std::int64_t LATE_INHIBITION_MS = 10000;

// CLOCK_MONOTONIC in milliseconds.
std::int64_t monotonicMs();

class IdleWatcher {
public:
    // `log` gets the events with --verbose, and is null otherwise.
    IdleWatcher(SaverChild& saver, InhibitionCheck& inhibitions, std::FILE* log,
                std::function<std::int64_t()> clock = monotonicMs)
        : saver_(saver), inhibitions_(inhibitions), log_(log), clock_(std::move(clock)) {}

    // Takes every event the source has ready (the source's fd was readable).
    int onSourceReady(IdleSource& source);
    int onEvent(IdleEvent event, const char* sourceName);
    // The saver process ended, with wait()'s status.
    int onSaverEnded(int status);
    // SIGTERM, SIGINT or SIGHUP: the saver ends with the watcher, which ends with 0.
    int onStopSignal();
    // An inhibition may have ended or begun (one was released, a holder announced a change, or
    // the re-check time passed): asked again if the session waits idle and inhibited. A running
    // saver ends when the desktop's own lock came up, or when an inhibition is announced within
    // LATE_INHIBITION_MS of its start.
    void onInhibitionsChanged();
    // An application said the user is active (ScreenSaver.SimulateUserActivity): a running saver
    // ends; the session, idle as far as the source knows, waits again (the service holds it off
    // for the idle time).
    void onSimulatedActivity();

    // Start the saver now (smokedrift --activate): input ends it as always; after it the watcher
    // waits for idle again, unless the source has reported the session idle meanwhile.
    void activate();

    WatcherState state() const { return state_; }
    // Between the source's `Idle` and its `Active`.
    bool sourceIdle() const { return sourceIdle_; }
    // Who held the saver off when last asked; empty once it started or the user came back.
    const std::string& holders() const { return holders_; }
    // While idle and inhibited by something that announces no change: when to ask again (0: no timer).
    int recheckMs() const { return state_ == WatcherState::IdleButInhibited ? recheckMs_ : 0; }

private:
    void startSaver();
    void idleReached();
    void heldOff(const Holding& h);

    SaverChild& saver_;
    InhibitionCheck& inhibitions_;
    std::FILE* log_;
    std::function<std::int64_t()> clock_;
    std::int64_t startedAtMs_ = 0;
    WatcherState state_ = WatcherState::WaitingForIdle;
    bool sourceIdle_ = false;
    int recheckMs_ = 0;
    std::string holders_;  // last logged, so that a re-check that finds the same says nothing
};

}  // namespace smokedrift::idle
