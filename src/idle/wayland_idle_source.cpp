// The idle source of a Wayland session ($WAYLAND_DISPLAY).
//  - ext_idle_notifier_v1 where offered (KWin 5.27, sway 1.8+, Hyprland, ...): a notification per
//    seat whose "idled" the compositor holds back while an idle inhibitor (a video player's
//    zwp_idle_inhibitor_v1) is in force.
//  - else KDE's org_kde_kwin_idle (sway 1.7): an idle timeout per seat; wlroots stops its timers
//    while an inhibitor is in force, so it honours inhibitors as well.
//  - the first seat only: a session has one in practice.
//  - a compositor that closes the connection, or a protocol error, is `Gone`.
#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include <wayland-client.h>

#include "ext-idle-notify-v1-client.h"
#include "idle/idle_source.h"
#include "idle/idle_source_choice.h"
#include "kde-idle-client.h"

namespace smokedrift::idle {

namespace {

struct WaylandIdleState {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    std::deque<IdleEvent> events;  // read from the connection, not yet handed to the watcher
};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* s = static_cast<WaylandIdleState*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && s->seat == nullptr) {
        s->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 && s->notifier == nullptr) {
        s->notifier =
            static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && s->kdeIdle == nullptr) {
        s->kdeIdle = static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
}

void globalRemove(void*, wl_registry*, std::uint32_t) {}

// A watcher started before its compositor, or a name left from an ended session: the socket, not
// the compositor's protocols, is what is missing.
std::string silentSocket(const SessionEnvironment& session, const char* why) {
    const std::string& name = session.waylandDisplay;
    const std::string path = name[0] == '/' || session.runtimeDir.empty() ? name : session.runtimeDir + "/" + name;
    return "the Wayland socket " + path + " does not answer (" + why + ")";
}

const wl_registry_listener registryListener = {global, globalRemove};

void queueIdle(void* data) { static_cast<WaylandIdleState*>(data)->events.push_back(IdleEvent::Idle); }
void queueActive(void* data) { static_cast<WaylandIdleState*>(data)->events.push_back(IdleEvent::Active); }

void notificationIdled(void* data, ext_idle_notification_v1*) { queueIdle(data); }
void notificationResumed(void* data, ext_idle_notification_v1*) { queueActive(data); }
const ext_idle_notification_v1_listener notificationListener = {notificationIdled, notificationResumed};

void timeoutIdle(void* data, org_kde_kwin_idle_timeout*) { queueIdle(data); }
void timeoutResumed(void* data, org_kde_kwin_idle_timeout*) { queueActive(data); }
const org_kde_kwin_idle_timeout_listener timeoutListener = {timeoutIdle, timeoutResumed};

class WaylandIdleSource final : public IdleSource {
public:
    explicit WaylandIdleSource(WaylandIdleState state) : s_(std::move(state)) {
        wl_registry_set_user_data(s_.registry, &s_);
        protocol_ = chooseWaylandIdleProtocol(s_.notifier != nullptr, s_.kdeIdle != nullptr);
    }

    ~WaylandIdleSource() override {
        if (s_.notification != nullptr) ext_idle_notification_v1_destroy(s_.notification);
        if (s_.kdeTimeout != nullptr) org_kde_kwin_idle_timeout_release(s_.kdeTimeout);
        if (s_.notifier != nullptr) ext_idle_notifier_v1_destroy(s_.notifier);
        if (s_.kdeIdle != nullptr) org_kde_kwin_idle_destroy(s_.kdeIdle);
        if (s_.seat != nullptr) wl_seat_destroy(s_.seat);
        wl_registry_destroy(s_.registry);
        wl_display_disconnect(s_.display);
    }

    const char* name() const override {
        return protocol_ == WaylandIdleProtocol::ExtIdleNotify ? "Wayland ext_idle_notifier_v1"
                                                               : "Wayland org_kde_kwin_idle";
    }

    bool start(std::uint32_t milliseconds) override {
        if (protocol_ == WaylandIdleProtocol::ExtIdleNotify) {
            s_.notification = ext_idle_notifier_v1_get_idle_notification(s_.notifier, milliseconds, s_.seat);
            ext_idle_notification_v1_add_listener(s_.notification, &notificationListener, &s_);
        } else {
            s_.kdeTimeout = org_kde_kwin_idle_get_idle_timeout(s_.kdeIdle, s_.seat, milliseconds);
            org_kde_kwin_idle_timeout_add_listener(s_.kdeTimeout, &timeoutListener, &s_);
        }
        if (wl_display_roundtrip(s_.display) < 0) {
            std::fprintf(stderr, "smokedrift: the Wayland compositor refused the idle watch (%s)\n",
                         std::strerror(errno));
            return false;
        }
        return true;
    }

    int fd() const override { return wl_display_get_fd(s_.display); }

    // Events handed out one at a time, and those libwayland read but has not dispatched.
    bool pending() override {
        if (!s_.events.empty()) return true;
        if (wl_display_prepare_read(s_.display) != 0) return true;
        wl_display_cancel_read(s_.display);
        return false;
    }

    // Reads what is there without blocking (libwayland reads with MSG_DONTWAIT), then hands the
    // events out one at a time.
    IdleEvent dispatch() override {
        if (s_.events.empty()) {
            while (wl_display_prepare_read(s_.display) != 0) {
                if (wl_display_dispatch_pending(s_.display) < 0) return IdleEvent::Gone;
            }
            if (wl_display_read_events(s_.display) < 0 || wl_display_dispatch_pending(s_.display) < 0 ||
                (wl_display_flush(s_.display) < 0 && errno != EAGAIN)) {
                return IdleEvent::Gone;
            }
        }
        if (s_.events.empty()) return IdleEvent::None;
        const IdleEvent next = s_.events.front();
        s_.events.pop_front();
        return next;
    }

private:
    WaylandIdleState s_;
    WaylandIdleProtocol protocol_ = WaylandIdleProtocol::None;
};

}  // namespace

std::unique_ptr<IdleSource> openWaylandIdleSource(const SessionEnvironment& session, std::string& missing) {
    if (!session.waylandSession()) return nullptr;
    WaylandIdleState s;
    s.display = wl_display_connect(session.waylandDisplay.c_str());
    if (s.display == nullptr) {
        missing = silentSocket(session, std::strerror(errno));
        return nullptr;
    }
    s.registry = wl_display_get_registry(s.display);
    // The state moves into the source below; the listener's data is set again there.
    wl_registry_add_listener(s.registry, &registryListener, &s);
    const bool answered = wl_display_roundtrip(s.display) >= 0;
    if (!answered) missing = silentSocket(session, std::strerror(errno));
    if (!answered || s.seat == nullptr ||
        chooseWaylandIdleProtocol(s.notifier != nullptr, s.kdeIdle != nullptr) == WaylandIdleProtocol::None) {
        if (s.notifier != nullptr) ext_idle_notifier_v1_destroy(s.notifier);
        if (s.kdeIdle != nullptr) org_kde_kwin_idle_destroy(s.kdeIdle);
        if (s.seat != nullptr) wl_seat_destroy(s.seat);
        wl_registry_destroy(s.registry);
        wl_display_disconnect(s.display);
        return nullptr;
    }
    return std::make_unique<WaylandIdleSource>(std::move(s));
}

}  // namespace smokedrift::idle
