// The desktop's own screen saver or lock: GNOME Shell's (org.gnome.ScreenSaver) and Plasma's
// (KWin's locker, which serves org.freedesktop.ScreenSaver there). While it is up, a saver would
// draw unseen beneath it, so it holds the saver off and ends a running one; its end counts as
// activity, so the idle time starts again from then. Both announce changes with ActiveChanged.
#include <systemd/sd-bus.h>

#include <cstring>
#include <string>

#include "idle/idle_watcher.h"
#include "idle/session_inhibitions.h"

namespace smokedrift::idle {

namespace {

constexpr std::uint64_t CALL_TIMEOUT_US = 1000000;

struct Locker {
    const char* name;
    const char* path;
    const char* interface;
    const char* holder;
};

constexpr Locker GNOME = {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver",
                          "GNOME's own screen lock (org.gnome.ScreenSaver)"};
// On Plasma this name is KWin's locker, never ours: the watcher leaves it to the desktop there.
constexpr Locker PLASMA = {"org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver",
                           "Plasma's own screen lock (org.freedesktop.ScreenSaver)"};

// GetActive, without starting the service; a peer that is absent or answers wrongly is not active.
bool active(sd_bus* bus, const Locker& locker) {
    sd_bus_message* m = nullptr;
    if (sd_bus_message_new_method_call(bus, &m, locker.name, locker.path, locker.interface, "GetActive") < 0)
        return false;
    sd_bus_message* reply = nullptr;
    if (sd_bus_message_set_auto_start(m, 0) >= 0) sd_bus_call(bus, m, CALL_TIMEOUT_US, nullptr, &reply);
    sd_bus_message_unref(m);
    int on = 0;
    const bool yes = reply != nullptr && sd_bus_message_read(reply, "b", &on) >= 0 && on != 0;
    sd_bus_message_unref(reply);
    return yes;
}

class DesktopLockCheck final : public InhibitionCheck {
public:
    DesktopLockCheck(sd_bus* bus, bool plasma, std::uint32_t idleMs, InhibitionNotice& notice)
        : bus_(bus), plasma_(plasma), idleMs_(idleMs), notice_(notice) {
        // Any sender: a forged signal only makes us ask again.
        sd_bus_match_signal(bus_, &gnomeSlot_, nullptr, nullptr, GNOME.interface, "ActiveChanged", onChanged, this);
        if (plasma_)
            sd_bus_match_signal(bus_, &plasmaSlot_, nullptr, nullptr, PLASMA.interface, "ActiveChanged", onChanged,
                                this);
    }
    ~DesktopLockCheck() override {
        sd_bus_slot_unref(gnomeSlot_);
        sd_bus_slot_unref(plasmaSlot_);
    }

    Holding check() override {
        Holding h;
        const char* holder = nullptr;
        if (active(bus_, GNOME)) {
            holder = GNOME.holder;
        } else if (plasma_ && active(bus_, PLASMA)) {
            holder = PLASMA.holder;
        }
        const std::int64_t now = monotonicMs();
        if (holder != nullptr) {
            seenActive_ = true;
            h.held = true;
            h.endsSaver = true;
            h.holders = holder;
            return h;
        }
        // Only an end this check saw counts: a forged ActiveChanged(false) delays nothing.
        if (seenActive_) {
            seenActive_ = false;
            endedAtMs_ = now;
        }
        if (endedAtMs_ != 0 && now < endedAtMs_ + idleMs_) {
            h.held = true;
            h.holders = "the desktop's own lock, which ended less than the idle time ago";
            h.recheckMs = static_cast<int>(endedAtMs_ + idleMs_ - now);
        }
        return h;
    }

private:
    static int onChanged(sd_bus_message*, void* self, sd_bus_error*) {
        static_cast<DesktopLockCheck*>(self)->notice_.changed = true;
        return 0;
    }

    sd_bus* bus_;
    bool plasma_;
    std::uint32_t idleMs_;
    InhibitionNotice& notice_;
    sd_bus_slot* gnomeSlot_ = nullptr;
    sd_bus_slot* plasmaSlot_ = nullptr;
    bool seenActive_ = false;
    std::int64_t endedAtMs_ = 0;
};

}  // namespace

std::unique_ptr<InhibitionCheck> openDesktopLockCheck(const CheckContext& context) {
    if (context.sessionBus == nullptr) return nullptr;
    // Whoever else serves org.freedesktop.ScreenSaver (KWin's locker on Plasma) is asked whether
    // its lock is up; never ourselves, which would wait on our own answer.
    const bool plasma = !context.screenSaverOurs && !context.session.namesDesktop("GNOME");
    return std::make_unique<DesktopLockCheck>(context.sessionBus, plasma, context.idleMs, context.notice);
}

}  // namespace smokedrift::idle
