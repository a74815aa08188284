#pragma once
// org.freedesktop.ScreenSaver on the session bus, served where no desktop does (sway, Hyprland,
// plain X11), so that browsers and players that ask it (Chromium, Firefox, VLC, Steam) keep the
// saver off. The name is asked for without queueing and with replacement allowed: a desktop's own
// service started later takes it, and ours then stops serving.
//
// - Both paths clients use, /org/freedesktop/ScreenSaver and /ScreenSaver: Inhibit(s, s) → u,
//   UnInhibit(u), SimulateUserActivity(), GetActive() → b; Lock, SetActive, GetActiveTime and
//   GetSessionIdleTime answer NotSupported, anything else sd-bus's UnknownMethod.
// - An inhibition ends with UnInhibit by its caller or when the caller leaves the bus (an
//   sd_bus_track per caller); the table (inhibition_table.h) bounds what callers may hold.
// - SimulateUserActivity ends a running saver and holds the saver off for the idle time from then.
#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "idle/inhibition.h"
#include "idle/inhibition_table.h"

namespace smokedrift::idle {

// What the session's buses brought, for the watcher.
struct InhibitionNotice {
    bool activity = false;  // SimulateUserActivity
    bool changed = false;   // an inhibition may have ended
};

class ScreenSaverService final : public InhibitionCheck {
public:
    ScreenSaverService(sd_bus* bus, std::uint32_t idleMs, std::FILE* log, InhibitionNotice& notice)
        : bus_(bus), idleMs_(idleMs), log_(log), notice_(notice) {}
    ~ScreenSaverService() override {
        stop();
        sd_bus_slot_unref(nameLost_);
    }

    // Takes the name if nobody has it; false (said with --verbose) when another owns it.
    bool serve();
    // Whether the saver runs, for GetActive.
    void answerActive(std::function<bool()> active) { active_ = std::move(active); }

    Holding check() override;
    void list(std::vector<Inhibitor>& out) override { table_.list("org.freedesktop.ScreenSaver", out); }
    // Stops serving: the objects go and every inhibition ends (the name lost, the bus closed).
    void stop();

private:
    static int onInhibit(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onUnInhibit(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onSimulateUserActivity(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onGetActive(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onNameLost(sd_bus_message* m, void* self, sd_bus_error* error);
    static int onPeerGone(sd_bus_track* track, void* self);

    bool track(sd_bus_message* m, const std::string& peer);
    void untrack(const std::string& peer);

    struct Peer {
        std::string name;
        sd_bus_track* track;
    };

    sd_bus* bus_;
    std::uint32_t idleMs_;
    std::FILE* log_;
    InhibitionNotice& notice_;
    std::function<bool()> active_;
    InhibitionTable table_;
    std::vector<Peer> peers_;
    std::vector<sd_bus_slot*> slots_;  // the objects at both paths
    sd_bus_slot* nameLost_ = nullptr;
    std::uint64_t activityAtMs_ = 0;  // CLOCK_MONOTONIC of the last SimulateUserActivity, 0: none
    std::string activityBy_;
};

}  // namespace smokedrift::idle
