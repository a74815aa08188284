// The watcher's loop (event_loop.h): it sleeps in poll() with no timeout on the idle source's
// descriptor, a signalfd for the stop signals and SIGCHLD, and the inhibitions' (the session bus,
// and a timer armed only while the session is idle and inhibited by something that announces no
// change), and wakes at once for what a library already queued; it holds no window and no GL
// context, so while the session is in use it costs nothing.
#include "idle/idle_mode.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "base/child_process.h"
#include "base/session_environment.h"
#include "base/session_lock.h"
#include "idle/control_service.h"
#include "idle/desktop_timers.h"
#include "idle/event_loop.h"
#include "idle/idle_source_choice.h"
#include "idle/idle_watcher.h"
#include "idle/saver_process.h"
#include "idle/session_inhibitions.h"

namespace smokedrift::idle {

namespace {

// The signals the loop reads from its descriptor; blocked so that they wait there. SIGCHLD goes
// back to its default first: left ignored by whoever started us, the kernel would reap the saver
// itself, and the loop would neither see it end nor stop signalling its long-gone pid. SIGINT and
// SIGHUP ignored by whoever started us (nohup, a script's `cmd &`) stay ignored and out of the set:
// the kernel queues a blocked signal even when it is ignored. SIGTERM always stops the watcher.
int openSignalFd() {
    signal(SIGCHLD, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGTERM, SIGCHLD}) sigaddset(&set, s);
    for (const int s : {SIGINT, SIGHUP}) {
        struct sigaction was = {};
        if (sigaction(s, nullptr, &was) == 0 && (was.sa_flags & SA_SIGINFO) == 0 && was.sa_handler == SIG_IGN) continue;
        sigaddset(&set, s);
    }
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return -1;
    return signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

// One watcher per session: true when another of ours holds the session's lock. A lock no other
// account can take; without a folder to lock in, this one watches anyway.
bool anotherWatcherRuns(const SessionEnvironment& env) {
    const std::string session =
        sessionKey(env.waylandDisplay.c_str(), env.runtimeDir.c_str(), env.x11Display.c_str(), env.sessionBus.c_str());
    if (session.empty()) return false;
    const SessionLock lock = takeSessionLock("idle", session, env.runtimeDir.c_str(), env.tmpDir.c_str());
    if (lock.result == LockResult::Unavailable) {
        std::fprintf(stderr, "smokedrift: --idle: no folder of our own to lock the session in (%s); watching anyway\n",
                     std::strerror(errno));
    }
    return lock.result == LockResult::HeldByUs;
}

// Reaps the saver if it ended; true when it did.
bool reapSaver(SaverProcess& saver, int& status) {
    if (!reapChild(saver.pid(), status)) return false;
    saver.forget();
    return true;
}

}  // namespace

int runIdleMode(const IdleModeOptions& options, const SessionEnvironment& env) {
    if (anotherWatcherRuns(env)) {
        std::fprintf(stderr, "smokedrift: --idle: a watcher already runs in this session\n");
        return 0;
    }

    std::string missing;
    std::unique_ptr<IdleSource> source = chooseIdleSource(sessionCandidates(env), missing);
    if (source == nullptr) {
        std::fprintf(stderr, "smokedrift: %s\n", missing.c_str());
        return 255;
    }
    if (options.verbose) std::fprintf(stderr, "smokedrift: idle source: %s\n", source->name());

    const int signals = openSignalFd();
    if (signals < 0) {
        std::fprintf(stderr, "smokedrift: --idle: cannot watch signals: %s\n", std::strerror(errno));
        return 255;
    }
    // After the signals are blocked: GLib's threads inherit that.
    const std::string desktopTimer = reportDesktopTimers(env, options.seconds, options.verbose, stderr);
    if (!source->start(static_cast<std::uint32_t>(options.seconds * 1000))) return 255;

    SaverProcess saver(options.saverOptions);
    SourceReadiedSaver readied(saver, *source);
    InhibitionChecks held;  // the session's and the pause, added below
    IdleWatcher watcher(readied, held, options.verbose ? stderr : nullptr);

    // What every watch's dispatch leads to: go on, or end with this code. The signals are watched
    // first, then the source: a stop signal ends the turn before anything else is taken.
    int code = KEEP_WATCHING;
    EventLoop loop;
    loop.add({[signals] {
                  return pollfd{signals, POLLIN, 0};
              },
              nullptr,
              [&](short) {
                  signalfd_siginfo info;
                  bool stop = false;
                  while (read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                      if (info.ssi_signo != SIGCHLD) stop = true;
                  }
                  // SIGCHLD may stand for more than one child; only the saver is ours.
                  int status = 0;
                  if (reapSaver(saver, status)) code = watcher.onSaverEnded(status);
                  if (stop) {
                      if (options.verbose) std::fprintf(stderr, "smokedrift: idle: stopped by a signal\n");
                      code = watcher.onStopSignal();
                      return false;
                  }
                  return code == KEEP_WATCHING;
              }});
    loop.add({[&source] {
                  return pollfd{source->fd(), POLLIN, 0};
              },
              [&source] { return source->pending(); },
              [&](short revents) {
                  code = (revents & POLLNVAL) != 0 ? watcher.onEvent(IdleEvent::Gone, source->name())
                                                   : watcher.onSourceReady(*source);
                  return code == KEEP_WATCHING;
              }});

    const auto idleMs = static_cast<std::uint32_t>(options.seconds * 1000);
    SessionInhibitions inhibitions(env, idleMs, options.verbose ? stderr : nullptr, *source, loop,
                                   [&](InhibitionNotice n) {
                                       if (n.activity) watcher.onSimulatedActivity();
                                       if (n.changed) watcher.onInhibitionsChanged();
                                       return true;
                                   });
    ControlService control(inhibitions.checks(), options.seconds, source->name(), desktopTimer,
                           options.verbose ? stderr : nullptr);
    held.add(&inhibitions.checks());
    held.add(&control);
    control.watch(loop, [&](ControlNotice c) {
        if (c.activity) watcher.onSimulatedActivity();
        if (c.changed) watcher.onInhibitionsChanged();
        if (c.activate) watcher.activate();
        return true;
    });
    control.serve(watcher);
    inhibitions.answerActive([&watcher] { return watcher.state() == WatcherState::SaverRunning; });
    code = watcher.onSourceReady(*source);
    while (code == KEEP_WATCHING) {
        control.publish();
        inhibitions.arm(watcher.recheckMs());
        if (!loop.turn()) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "smokedrift: --idle: poll: %s\n", std::strerror(errno));
            saver.stop();
            code = 255;
        }
    }
    close(signals);
    return code;
}

}  // namespace smokedrift::idle
