// Inhibitions the desktop keeps itself: Plasma's power manager (the policy agent its screen
// locker hands org.freedesktop.ScreenSaver inhibitions to), logind's idle locks and its session's
// LockedHint. Asked only when the session is idle, with calls that start no service and wait a
// second at most; a peer that is not there or answers wrongly holds nothing.
#include <poll.h>
#include <systemd/sd-bus.h>
#include <time.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "idle/session_inhibitions.h"

namespace smokedrift::idle {

namespace {

constexpr std::uint64_t CALL_TIMEOUT_US = 1000000;
constexpr std::size_t MAX_TEXT = 64;
constexpr int MAX_LISTED = 256;  // entries of a list read before the rest is ignored

constexpr const char* AGENT = "org.kde.Solid.PowerManagement.PolicyAgent";
constexpr const char* AGENT_PATH = "/org/kde/Solid/PowerManagement/PolicyAgent";
// PowerDevil's policy that the screen locker's inhibitions take: ChangeScreenSettings.
constexpr std::uint32_t CHANGE_SCREEN_SETTINGS = 4;

constexpr const char* LOGIN1 = "org.freedesktop.login1";

// Sends `m` (taking it) without starting its destination; the reply, or null.
sd_bus_message* callQuietly(sd_bus* bus, sd_bus_message* m) {
    sd_bus_message* reply = nullptr;
    if (sd_bus_message_set_auto_start(m, 0) >= 0) sd_bus_call(bus, m, CALL_TIMEOUT_US, nullptr, &reply);
    sd_bus_message_unref(m);
    return reply;
}

// sd_bus_call waits for the connection's authentication and Hello first, bounded only by sd-bus's
// own 90 s, and its timeout counts from after that. A system bus that accepts and never answers
// would hold the watcher (its input, its signals) that long, so the connection is brought up here,
// within the call's second: true once it runs. Left half-way, the next check goes on from there.
bool runningWithin(sd_bus* bus, std::uint64_t timeoutUs) {
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (sd_bus_is_ready(bus) > 0) return true;
        const int r = sd_bus_process(bus, nullptr);
        if (r < 0) return false;
        if (r > 0) continue;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::int64_t spentUs = (now.tv_sec - start.tv_sec) * 1000000LL + (now.tv_nsec - start.tv_nsec) / 1000;
        const std::int64_t leftUs = static_cast<std::int64_t>(timeoutUs) - spentUs;
        const int events = sd_bus_get_events(bus);
        if (leftUs <= 0 || events < 0) return false;
        pollfd fd = {sd_bus_get_fd(bus), static_cast<short>(events), 0};
        if (poll(&fd, 1, static_cast<int>((leftUs + 999) / 1000)) < 0 && errno != EINTR) return false;
    }
}

// What else arrived on a connection nobody polls (signals sent to us) goes, a bounded amount a time.
void discardQueued(sd_bus* bus) {
    for (int i = 0; i < MAX_LISTED && sd_bus_process(bus, nullptr) > 0; ++i) {
    }
}

std::string text(const char* s) { return printable(s != nullptr ? s : "", MAX_TEXT); }

class PlasmaCheck final : public InhibitionCheck {
public:
    PlasmaCheck(sd_bus* bus, InhibitionNotice& notice) : bus_(bus), notice_(notice) {
        // Any sender: a forged signal only makes us ask again.
        sd_bus_match_signal(bus_, &changed_, nullptr, AGENT_PATH, AGENT, "InhibitionsChanged", onChanged, this);
    }
    ~PlasmaCheck() override { sd_bus_slot_unref(changed_); }

    Holding check() override {
        Holding h;
        sd_bus_message* m = nullptr;
        if (sd_bus_message_new_method_call(bus_, &m, AGENT, AGENT_PATH, AGENT, "HasInhibition") < 0) return h;
        sd_bus_message_append(m, "u", CHANGE_SCREEN_SETTINGS);
        sd_bus_message* reply = callQuietly(bus_, m);
        int held = 0;
        if (reply != nullptr && sd_bus_message_read(reply, "b", &held) >= 0 && held != 0) {
            h.held = true;
            h.holders = "Plasma's power management: " + inhibitions();
        }
        sd_bus_message_unref(reply);
        return h;
    }

private:
    // Each application and reason, from ListInhibitions. Its introspection data says a{ss}, but
    // PowerDevil 5.27 and 6.3 send a(ss): either is read.
    std::string inhibitions() {
        std::string list;
        sd_bus_message* m = nullptr;
        if (sd_bus_message_new_method_call(bus_, &m, AGENT, AGENT_PATH, AGENT, "ListInhibitions") < 0) return list;
        sd_bus_message* reply = callQuietly(bus_, m);
        char type = 0;
        const char* contents = nullptr;
        if (reply != nullptr && sd_bus_message_peek_type(reply, &type, &contents) > 0 && type == 'a' &&
            (std::strcmp(contents, "(ss)") == 0 || std::strcmp(contents, "{ss}") == 0) &&
            sd_bus_message_enter_container(reply, 'a', contents) > 0) {
            const char entry = contents[0] == '(' ? 'r' : 'e';
            for (int i = 0; i < MAX_LISTED && sd_bus_message_enter_container(reply, entry, "ss") > 0; ++i) {
                const char* application = nullptr;
                const char* reason = nullptr;
                if (sd_bus_message_read(reply, "ss", &application, &reason) < 0) break;
                appendHolder(list, "'" + text(application) + "': " + text(reason));
                sd_bus_message_exit_container(reply);
            }
        }
        sd_bus_message_unref(reply);
        return list.empty() ? "(unnamed)" : list;
    }

    static int onChanged(sd_bus_message*, void* self, sd_bus_error*) {
        static_cast<PlasmaCheck*>(self)->notice_.changed = true;
        return 0;
    }

    sd_bus* bus_;
    InhibitionNotice& notice_;
    sd_bus_slot* changed_ = nullptr;
};

class LogindCheck final : public InhibitionCheck {
public:
    explicit LogindCheck(sd_bus* bus) : bus_(bus) {}
    // Not flushed: only calls whose answers were awaited went out, and a flush would wait for a
    // mute bus to finish its authentication, for sd-bus's 90 s.
    ~LogindCheck() override { sd_bus_close_unref(bus_); }

    Holding check() override {
        Holding h;
        // A system bus restarted under us: connect again.
        if (sd_bus_is_open(bus_) <= 0) {
            sd_bus* fresh = nullptr;
            if (sd_bus_open_system(&fresh) < 0) return h;
            sd_bus_close_unref(bus_);
            bus_ = fresh;
        }
        if (!runningWithin(bus_, CALL_TIMEOUT_US)) return h;
        sd_bus_message* m = nullptr;
        if (sd_bus_message_new_method_call(bus_, &m, LOGIN1, "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", "ListInhibitors") < 0) {
            return h;
        }
        sd_bus_message* reply = callQuietly(bus_, m);
        if (reply != nullptr && sd_bus_message_enter_container(reply, 'a', "(ssssuu)") > 0) {
            for (int i = 0; i < MAX_LISTED && sd_bus_message_enter_container(reply, 'r', "ssssuu") > 0; ++i) {
                const char *what = nullptr, *who = nullptr, *why = nullptr, *mode = nullptr;
                std::uint32_t uid = 0, pid = 0;
                if (sd_bus_message_read(reply, "ssssuu", &what, &who, &why, &mode, &uid, &pid) < 0) break;
                sd_bus_message_exit_container(reply);
                if (std::strcmp(mode, "block") != 0 || !listHas(what, "idle")) continue;
                h.held = true;
                appendHolder(h.holders, "logind idle lock of '" + text(who) + "' (pid " + std::to_string(pid) +
                                            ", uid " + std::to_string(uid) + "): " + text(why));
            }
        }
        sd_bus_message_unref(reply);
        if (locked()) {
            // Without a desktop that says so itself (GNOME's and Plasma's are asked on the session
            // bus), the session's lock screen, whoever draws it: a saver under it is unseen.
            h.held = true;
            h.endsSaver = true;
            appendHolder(h.holders, "logind: the session is locked (LockedHint)");
        }
        discardQueued(bus_);
        if (h.held) h.recheckMs = RECHECK_MS;
        return h;
    }

private:
    // The session we run in, or else the user's graphical one: logind's "auto".
    bool locked() {
        sd_bus_message* m = nullptr;
        if (sd_bus_message_new_method_call(bus_, &m, LOGIN1, "/org/freedesktop/login1/session/auto",
                                           "org.freedesktop.DBus.Properties", "Get") < 0 ||
            sd_bus_message_append(m, "ss", "org.freedesktop.login1.Session", "LockedHint") < 0) {
            sd_bus_message_unref(m);
            return false;
        }
        sd_bus_message* reply = callQuietly(bus_, m);
        int hint = 0;
        const bool yes = reply != nullptr && sd_bus_message_enter_container(reply, 'v', "b") > 0 &&
                         sd_bus_message_read(reply, "b", &hint) >= 0 && hint != 0;
        sd_bus_message_unref(reply);
        return yes;
    }

    sd_bus* bus_;
};

}  // namespace

std::unique_ptr<InhibitionCheck> openPlasmaCheck(const CheckContext& context) {
    if (context.sessionBus == nullptr) return nullptr;
    return std::make_unique<PlasmaCheck>(context.sessionBus, context.notice);
}

std::unique_ptr<InhibitionCheck> openLogindCheck(const CheckContext& context) {
    std::FILE* log = context.log;
    sd_bus* bus = nullptr;
    const int r = sd_bus_open_system(&bus);
    if (r < 0) {
        if (log != nullptr) {
            std::fprintf(log, "smokedrift: idle: no system bus (%s): logind's idle locks not watched\n",
                         std::strerror(-r));
        }
        return nullptr;
    }
    return std::make_unique<LogindCheck>(bus);
}

}  // namespace smokedrift::idle
