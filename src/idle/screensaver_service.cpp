#include "idle/screensaver_service.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace smokedrift::idle {

namespace {

constexpr const char* NAME = "org.freedesktop.ScreenSaver";
constexpr const char* PATHS[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

std::uint64_t nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::uint64_t>(t.tv_sec) * 1000 + static_cast<std::uint64_t>(t.tv_nsec) / 1000000;
}

std::string sender(sd_bus_message* m) {
    const char* s = sd_bus_message_get_sender(m);
    return s != nullptr ? s : "";
}

int notSupported(sd_bus_message*, void*, sd_bus_error* error) {
    return sd_bus_error_set(error, SD_BUS_ERROR_NOT_SUPPORTED, "this screen saver only honours inhibitions");
}

}  // namespace

bool ScreenSaverService::serve() {
    const int r = sd_bus_request_name(bus_, NAME, SD_BUS_NAME_ALLOW_REPLACEMENT);
    if (r < 0) {
        if (log_ != nullptr) {
            std::fprintf(log_, "smokedrift: idle: %s not served by us: %s\n", NAME,
                         r == -EEXIST ? "the desktop serves it" : std::strerror(-r));
        }
        return false;
    }
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Inhibit", "ss", "u", onInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("UnInhibit", "u", "", onUnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("SimulateUserActivity", "", "", onSimulateUserActivity, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("GetActive", "", "b", onGetActive, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Lock", "", "", notSupported, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("SetActive", "b", "b", notSupported, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("GetActiveTime", "", "u", notSupported, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("GetSessionIdleTime", "", "u", notSupported, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END,
    };
    for (const char* path : PATHS) {
        sd_bus_slot* slot = nullptr;
        if (sd_bus_add_object_vtable(bus_, &slot, path, NAME, vtable, this) >= 0) slots_.push_back(slot);
    }
    sd_bus_match_signal(bus_, &nameLost_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                        "NameLost", onNameLost, this);
    if (log_ != nullptr) std::fprintf(log_, "smokedrift: idle: serving %s on the session bus\n", NAME);
    return true;
}

void ScreenSaverService::stop() {
    for (sd_bus_slot* s : slots_) sd_bus_slot_unref(s);
    slots_.clear();
    for (Peer& p : peers_) sd_bus_track_unref(p.track);
    peers_.clear();
    table_.clear();
}

Holding ScreenSaverService::check() {
    Holding h;
    if (!table_.empty()) {
        h.held = true;
        h.holders = std::string(NAME) + " inhibitions: " + table_.describe();
    }
    const std::uint64_t now = nowMs();
    if (activityAtMs_ != 0 && now < activityAtMs_ + idleMs_) {
        h.held = true;
        appendHolder(h.holders, "user activity simulated by " + activityBy_);
        h.recheckMs = static_cast<int>(activityAtMs_ + idleMs_ - now);
    }
    return h;
}

bool ScreenSaverService::track(sd_bus_message* m, const std::string& peer) {
    if (std::any_of(peers_.begin(), peers_.end(), [&](const Peer& p) { return p.name == peer; })) return true;
    sd_bus_track* t = nullptr;
    if (sd_bus_track_new(bus_, &t, onPeerGone, this) < 0) return false;
    // Fails when the caller left already (sd-bus asks the bus after subscribing).
    if (sd_bus_track_add_sender(t, m) < 0) {
        sd_bus_track_unref(t);
        return false;
    }
    peers_.push_back({peer, t});
    return true;
}

void ScreenSaverService::untrack(const std::string& peer) {
    const auto it = std::find_if(peers_.begin(), peers_.end(), [&](const Peer& p) { return p.name == peer; });
    if (it == peers_.end()) return;
    sd_bus_track_unref(it->track);
    peers_.erase(it);
}

int ScreenSaverService::onInhibit(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    const char* application = nullptr;
    const char* reason = nullptr;
    const int r = sd_bus_message_read(m, "ss", &application, &reason);
    if (r < 0) return r;
    const std::string peer = sender(m);
    const std::uint32_t cookie = self->table_.inhibit(peer, application, reason);
    if (cookie == 0) return sd_bus_error_set(error, SD_BUS_ERROR_LIMITS_EXCEEDED, "too many inhibitions");
    if (!self->track(m, peer)) {
        self->table_.peerLeft(peer);
        return sd_bus_error_set(error, SD_BUS_ERROR_FAILED, "cannot follow the caller on the bus");
    }
    if (self->log_ != nullptr) {
        std::fprintf(self->log_, "smokedrift: idle: %s inhibition %u taken by '%s' (%s): %s\n", NAME, cookie,
                     printable(application, InhibitionTable::MAX_TEXT).c_str(), printable(peer, 32).c_str(),
                     printable(reason, InhibitionTable::MAX_TEXT).c_str());
    }
    return sd_bus_reply_method_return(m, "u", cookie);
}

int ScreenSaverService::onUnInhibit(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    std::uint32_t cookie = 0;
    const int r = sd_bus_message_read(m, "u", &cookie);
    if (r < 0) return r;
    const std::string peer = sender(m);
    if (!self->table_.uninhibit(peer, cookie)) {
        return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "no such inhibition of this caller");
    }
    if (self->table_.heldBy(peer) == 0) self->untrack(peer);
    self->notice_.changed = true;
    if (self->log_ != nullptr) std::fprintf(self->log_, "smokedrift: idle: %s inhibition %u released\n", NAME, cookie);
    return sd_bus_reply_method_return(m, "");
}

int ScreenSaverService::onSimulateUserActivity(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    self->activityAtMs_ = nowMs();
    self->activityBy_ = printable(sender(m), 32);
    self->notice_.activity = true;
    return sd_bus_reply_method_return(m, "");
}

int ScreenSaverService::onGetActive(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    return sd_bus_reply_method_return(m, "b", self->active_ && self->active_() ? 1 : 0);
}

int ScreenSaverService::onNameLost(sd_bus_message* m, void* userdata, sd_bus_error*) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    // The match's sender is not enforced on a signal sent straight to us: any peer may send one
    // named NameLost. The bus sets the real sender, and only the bus itself takes names away.
    const char* from = sd_bus_message_get_sender(m);
    if (from == nullptr || std::strcmp(from, "org.freedesktop.DBus") != 0) return 0;
    const char* name = nullptr;
    if (sd_bus_message_read(m, "s", &name) < 0 || name == nullptr || std::strcmp(name, NAME) != 0) return 0;
    if (self->log_ != nullptr) {
        std::fprintf(self->log_, "smokedrift: idle: another service took %s; ours stops serving\n", NAME);
    }
    self->stop();
    self->notice_.changed = true;
    return 0;
}

int ScreenSaverService::onPeerGone(sd_bus_track* track, void* userdata) {
    auto* self = static_cast<ScreenSaverService*>(userdata);
    const auto it =
        std::find_if(self->peers_.begin(), self->peers_.end(), [&](const Peer& p) { return p.track == track; });
    if (it == self->peers_.end()) return 0;
    if (self->log_ != nullptr) {
        std::fprintf(self->log_, "smokedrift: idle: %s left the bus; its inhibitions end\n", it->name.c_str());
    }
    self->table_.peerLeft(it->name);
    sd_bus_track_unref(it->track);
    self->peers_.erase(it);
    self->notice_.changed = true;
    return 0;
}

}  // namespace smokedrift::idle
