#pragma once
// The watcher's control interface on the session bus, for `smokedrift --status`, --activate,
// --pause, --resume and --watch, and for anything else of the user's (a status bar, a meeting
// script). One object, org.example.smokedrift.Watcher at /org/example/smokedrift/Watcher
// (res/org.example.smokedrift.Watcher.xml describes it):
// - State, with PropertiesChanged: waiting, idle, held-off, saver-running, paused; PausedUntil and
//   Inhibitions (each path, holder, reason, since) announce their changes too. IdleSeconds and
//   SecondsUntilSaver are worked out when read (-1: the source cannot tell).
// - Activate() starts the saver now; Pause(seconds) holds it off like a player's inhibition, until
//   then or Resume(); SimulateActivity() ends a running saver and holds it off for the idle time.
// The session bus is the user's: whoever reaches it may call, as they may kill the watcher. The
// service has a connection of its own, so that its traffic and the inhibitions' stay apart; the
// pause lives in the watcher's memory and ends with it.
#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "idle/event_loop.h"
#include "idle/idle_watcher.h"
#include "idle/inhibition.h"
#include "idle/watcher_status.h"

namespace smokedrift::idle {

inline constexpr const char* WATCHER_BUS_NAME = "org.example.smokedrift.Watcher";
inline constexpr const char* WATCHER_OBJECT = "/org/example/smokedrift/Watcher";
inline constexpr const char* WATCHER_INTERFACE = "org.example.smokedrift.Watcher";

// What callers asked of the watcher since the last dispatch.
struct ControlNotice {
    bool activate = false;  // Activate()
    bool activity = false;  // SimulateActivity()
    bool changed = false;   // the pause began or ended: ask the inhibitions again
};

class ControlService final : public InhibitionCheck {
public:
    // `listed` gives the inhibitions shown (the session's, without the pause); `desktopTimer` is
    // the warning said at start, if any.
    ControlService(InhibitionCheck& listed, long idleSeconds, std::string source, std::string desktopTimer,
                   std::FILE* log);
    ~ControlService() override;
    ControlService(const ControlService&) = delete;
    ControlService& operator=(const ControlService&) = delete;

    // The watcher whose state is told; until then (and without a session bus) nothing is served.
    void serve(const IdleWatcher& watcher);

    // The pause, and the idle time after SimulateActivity.
    Holding check() override;
    // Shown as the state, not among the inhibitions.
    void list(std::vector<Inhibitor>&) override {}

    // Watches the bus and the timer at the end of the pause in `loop`; `notices` hears what
    // callers asked (its false ends the loop's turn).
    void watch(EventLoop& loop, const std::function<bool(ControlNotice)>& notices);
    // Announces what changed since the last call; call it once the watcher has taken the events.
    void publish();

private:
    ControlNotice dispatch();
    // All but the inhibitions, which cost a call to each check.
    WatcherStatus status() const;

    static int onActivate(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onPause(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onResume(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onSimulateActivity(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onProperty(sd_bus* bus, const char* path, const char* interface, const char* property,
                          sd_bus_message* reply, void* self, sd_bus_error* error);

    ControlState state() const;
    bool paused() const;
    std::int64_t pausedUntil() const;  // wall clock, 0: not paused
    void armTimer(std::uint64_t atMs);

    InhibitionCheck& listed_;
    std::int64_t idleSeconds_;
    std::string source_, desktopTimer_;
    std::FILE* log_;
    const IdleWatcher* watcher_ = nullptr;
    sd_bus* bus_ = nullptr;
    sd_bus_slot* object_ = nullptr;
    int timer_ = -1;
    ControlNotice notice_;
    std::uint64_t pauseEndMs_ = 0;    // CLOCK_MONOTONIC; 0: no pause
    std::uint64_t activityAtMs_ = 0;  // the last SimulateActivity; 0: none
    std::uint64_t idleSinceMs_ = 0;   // when the session went idle, as the source said; 0: not idle
    // What was last announced.
    ControlState shownState_ = ControlState::Waiting;
    std::int64_t shownPause_ = 0;
    std::string shownHolders_;
};

}  // namespace smokedrift::idle
