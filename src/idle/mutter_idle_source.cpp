// GNOME's idle source: mutter's IdleMonitor on the session bus (GNOME on Wayland and on X11),
// with the session manager's idle inhibitors, through sd-bus. What the messages mean is decided in
// mutter_idle_state.cpp; this file reads them off the bus and makes the calls asked for.
//
// - One idle watch for the source's life (mutter re-arms it after each input), a one-shot
//   user-active watch after each `Idle`; both removed when the source closes.
// - Calls made at start() wait for their replies (nothing waits on the source yet); calls made
//   from dispatch() are asynchronous, so a slow peer never holds up the loop.
// - Calls go to mutter's unique name and its signals count only from it: a watch of another
//   process cannot be mistaken for ours. Mutter replaced (gnome-shell --replace) is followed to
//   the name's next owner, if one comes within seconds; else, as when mutter quits, `Gone`.
// - The session manager is never started by our calls (no auto-start): without one, nothing
//   inhibits. A manager that never answers keeps the source waiting (it has no timer).
#include <poll.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "idle/event_loop.h"
#include "idle/gnome_overview.h"
#include "idle/idle_source.h"
#include "idle/mutter_idle_state.h"

namespace smokedrift::idle {

namespace {

constexpr const char* MUTTER_INTERFACE = "org.gnome.Mutter.IdleMonitor";
constexpr const char* MUTTER_PATH = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* MANAGER_NAME = "org.gnome.SessionManager";

// The unique name owning `name`, empty without an owner (or on any error).
std::string nameOwner(sd_bus* bus, const char* name) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    std::string owner;
    const char* unique = nullptr;
    if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetNameOwner",
                           &error, &reply, "s", name) >= 0 &&
        sd_bus_message_read(reply, "s", &unique) >= 0 && unique != nullptr) {
        owner = unique;
    }
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return owner;
}

const char* orEmpty(const char* s) { return s != nullptr ? s : ""; }

// The parts of a message the state looks at; the views live as long as `m`.
BusMessage readMessage(sd_bus_message* m) {
    BusMessage out;
    out.sender = orEmpty(sd_bus_message_get_sender(m));
    out.path = orEmpty(sd_bus_message_get_path(m));
    out.interface = orEmpty(sd_bus_message_get_interface(m));
    out.member = orEmpty(sd_bus_message_get_member(m));
    const std::string_view signature = orEmpty(sd_bus_message_get_signature(m, 1));
    bool read = true;
    if (signature == "u") {
        std::uint32_t u = 0;
        read = sd_bus_message_read(m, "u", &u) >= 0;
        out.number = u;
    } else if (signature == "t") {
        std::uint64_t t = 0;
        read = sd_bus_message_read(m, "t", &t) >= 0;
        out.number = t;
    } else if (signature == "b") {
        int b = 0;
        read = sd_bus_message_read(m, "b", &b) >= 0;
        out.number = b != 0;
    } else if (signature == "o") {
        const char* o = nullptr;
        read = sd_bus_message_read(m, "o", &o) >= 0;
        out.text[0] = orEmpty(o);
    } else if (signature == "sss") {
        const char* s[3] = {nullptr, nullptr, nullptr};
        read = sd_bus_message_read(m, "sss", &s[0], &s[1], &s[2]) >= 0;
        for (int i = 0; i < 3; ++i) out.text[i] = orEmpty(s[i]);
    }
    // Unreadable arguments: a signature no rule of the state accepts.
    out.signature = read ? signature : std::string_view("?");
    return out;
}

class MutterIdleSource final : public IdleSource {
public:
    MutterIdleSource(sd_bus* bus) : bus_(bus) {}

    ~MutterIdleSource() override {
        if (state_ && sd_bus_is_open(bus_) > 0) {
            std::uint32_t watches[2];
            const int count = state_->watchesToRemove(watches);
            for (int i = 0; i < count; ++i) {
                sd_bus_call_method_async(bus_, nullptr, mutterOwner_.c_str(), MUTTER_PATH, MUTTER_INTERFACE,
                                         "RemoveWatch", nullptr, nullptr, "u", watches[i]);
            }
        }
        sd_bus_slot_unref(watchFiredMatch_);
        sd_bus_flush_close_unref(bus_);
    }

    const char* name() const override { return "GNOME's org.gnome.Mutter.IdleMonitor (session bus)"; }

    const char* desktop() const override { return "GNOME"; }

    bool start(std::uint32_t milliseconds) override {
        // The matches first, then the owners and the watch, so that nothing falls in between.
        if (!addMatch(
                "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
                "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='org.gnome.Mutter.IdleMonitor'") ||
            !addMatch("type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
                      "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='org.gnome.SessionManager'") ||
            !addMatch("type='signal',path='/org/gnome/SessionManager',interface='org.gnome.SessionManager',"
                      "member='InhibitorRemoved'")) {
            return false;
        }
        mutterOwner_ = nameOwner(bus_, MUTTER_INTERFACE);
        if (mutterOwner_.empty()) {
            std::fprintf(stderr, "smokedrift: GNOME: mutter's idle monitor left the session bus\n");
            return false;
        }
        milliseconds_ = milliseconds;
        const std::uint32_t watch = addIdleWatch();
        if (watch == 0) return false;
        state_.emplace(mutterOwner_, nameOwner(bus_, MANAGER_NAME), milliseconds, watch);
        return true;
    }

    int fd() const override { return sd_bus_get_fd(bus_); }

    bool pending() override { return count_ > 0 || busPending(bus_); }

    void saverStarting() override { closeGnomeOverview(bus_, mutterOwner_.c_str()); }

    IdleEvent dispatch() override {
        // One message at a time until one gives events: the queue never holds more than one
        // message's worth, and None means sd-bus has nothing left that poll() would not show.
        while (count_ == 0 && state_ && !state_->gone()) {
            const int r = sd_bus_process(bus_, nullptr);
            if (r < 0 || sd_bus_is_open(bus_) <= 0) {
                receive(BusMessage::closed());
                break;
            }
            if (state_->lost()) follow();
            if (r == 0) {
                // What the calls left unsent (a full socket) goes out now; the bus reads it at once.
                if ((sd_bus_get_events(bus_) & POLLOUT) != 0) sd_bus_flush(bus_);
                break;
            }
        }
        if (count_ == 0) return IdleEvent::None;
        const IdleEvent event = queue_[head_];
        head_ = (head_ + 1) % QUEUE;
        --count_;
        return event;
    }

private:
    static constexpr int QUEUE = 4;             // what one message can bring, and a Gone
    static constexpr int SUCCESSOR_MS = 10000;  // mutter 43 on X11 took 2 s to take the name again
    static constexpr int SUCCESSOR_STEP_MS = 100;

    // The watch on mutterOwner_'s idle time and its signals; 0 (after one line) when refused.
    std::uint32_t addIdleWatch() {
        const std::string watchFired = "type='signal',sender='" + mutterOwner_ + "',path='" + MUTTER_PATH +
                                       "',interface='" + MUTTER_INTERFACE + "',member='WatchFired'";
        // The match on a replaced mutter's name goes: that name never comes back.
        watchFiredMatch_ = sd_bus_slot_unref(watchFiredMatch_);
        if (!addMatch(watchFired.c_str(), &watchFiredMatch_)) return 0;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        std::uint32_t watch = 0;
        const int r = sd_bus_call_method(bus_, mutterOwner_.c_str(), MUTTER_PATH, MUTTER_INTERFACE, "AddIdleWatch",
                                         &error, &reply, "t", static_cast<std::uint64_t>(milliseconds_));
        if (r < 0 || sd_bus_message_read(reply, "u", &watch) < 0 || watch == 0) {
            std::fprintf(stderr, "smokedrift: GNOME: mutter refused an idle watch: %s\n",
                         error.message != nullptr ? error.message : std::strerror(r < 0 ? -r : EPROTO));
            watch = 0;
        }
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
        return watch;
    }

    // Mutter replaced itself: its successor takes the name within seconds, and the watches are
    // made again there. The loop waits here meanwhile (a stop signal waits in its descriptor);
    // without a successor in time, or with the bus gone, the source is gone.
    void follow() {
        for (int waited = 0; waited < SUCCESSOR_MS && sd_bus_is_open(bus_) > 0; waited += SUCCESSOR_STEP_MS) {
            mutterOwner_ = nameOwner(bus_, MUTTER_INTERFACE);
            if (!mutterOwner_.empty()) {
                const std::uint32_t watch = addIdleWatch();
                if (watch == 0) break;
                react(state_->follow(mutterOwner_, watch));
                return;
            }
            usleep(SUCCESSOR_STEP_MS * 1000);
        }
        receive(BusMessage::closed());
    }

    // For the source's life, or as long as `slot` is held.
    bool addMatch(const char* rule, sd_bus_slot** slot = nullptr) {
        const int r = sd_bus_add_match(bus_, slot, rule, onSignal, this);
        if (r < 0) std::fprintf(stderr, "smokedrift: GNOME: the session bus refused a match: %s\n", std::strerror(-r));
        return r >= 0;
    }

    static int onSignal(sd_bus_message* m, void* self, sd_bus_error*) {
        static_cast<MutterIdleSource*>(self)->receive(readMessage(m));
        return 0;
    }

    template <MutterCall CALL>
    static int onReply(sd_bus_message* m, void* self, sd_bus_error*) {
        auto* source = static_cast<MutterIdleSource*>(self);
        // On a closed bus, sd-bus answers every pending call with an error of its own.
        if (sd_bus_is_open(source->bus_) <= 0) {
            source->receive(BusMessage::closed());
            return 0;
        }
        BusMessage message = readMessage(m);
        message.type = sd_bus_message_is_method_error(m, nullptr) ? BusMessage::Type::Error : BusMessage::Type::Reply;
        message.call = CALL;
        source->receive(message);
        return 0;
    }

    void receive(const BusMessage& message) {
        if (state_) react(state_->receive(message));
    }

    void react(const MutterReaction& reaction) {
        for (int i = 0; i < reaction.eventCount; ++i) {
            if (count_ < QUEUE) queue_[(head_ + count_++) % QUEUE] = reaction.events[i];
        }
        for (int i = 0; i < reaction.requestCount; ++i) {
            if (!call(reaction.requests[i])) {
                receive(BusMessage::closed());
                return;
            }
        }
    }

    bool call(const MutterRequest& request) {
        const char* mutter = mutterOwner_.c_str();
        switch (request.call) {
        case MutterCall::AddUserActiveWatch:
            return sd_bus_call_method_async(bus_, nullptr, mutter, MUTTER_PATH, MUTTER_INTERFACE, "AddUserActiveWatch",
                                            onReply<MutterCall::AddUserActiveWatch>, this, "") >= 0;
        case MutterCall::GetIdletime:
            return sd_bus_call_method_async(bus_, nullptr, mutter, MUTTER_PATH, MUTTER_INTERFACE, "GetIdletime",
                                            onReply<MutterCall::GetIdletime>, this, "") >= 0;
        case MutterCall::RemoveWatch:
            return sd_bus_call_method_async(bus_, nullptr, mutter, MUTTER_PATH, MUTTER_INTERFACE, "RemoveWatch",
                                            nullptr, nullptr, "u", request.watch) >= 0;
        case MutterCall::IsInhibited: {
            sd_bus_message* m = nullptr;
            int r = sd_bus_message_new_method_call(bus_, &m, MANAGER_NAME, "/org/gnome/SessionManager", MANAGER_NAME,
                                                   "IsInhibited");
            if (r >= 0) r = sd_bus_message_append(m, "u", INHIBIT_IDLE);
            if (r >= 0) r = sd_bus_message_set_auto_start(m, 0);
            if (r >= 0) r = sd_bus_call_async(bus_, nullptr, m, onReply<MutterCall::IsInhibited>, this, 0);
            sd_bus_message_unref(m);
            return r >= 0;
        }
        case MutterCall::None: break;
        }
        return true;
    }

    sd_bus* bus_;
    std::string mutterOwner_;
    sd_bus_slot* watchFiredMatch_ = nullptr;  // WatchFired from mutterOwner_
    std::uint32_t milliseconds_ = 0;
    std::optional<MutterIdleState> state_;
    IdleEvent queue_[QUEUE] = {};
    int head_ = 0;
    int count_ = 0;
};

}  // namespace

std::unique_ptr<IdleSource> openMutterIdleSource() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return nullptr;
    const bool offered = !nameOwner(bus, MUTTER_INTERFACE).empty();
    if (!offered) {
        sd_bus_flush_close_unref(bus);
        return nullptr;
    }
    return std::make_unique<MutterIdleSource>(bus);
}

}  // namespace smokedrift::idle
