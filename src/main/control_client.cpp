// The client side of the watcher's control interface: one connection to the session bus, calls
// that start no service (a watcher is started by the user or the systemd unit, never by a
// question), and the answers formatted by idle/watcher_status.
#include "main/control_client.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "idle/control_service.h"
#include "idle/watcher_status.h"

namespace smokedrift {

namespace {

using idle::WatcherStatus;

constexpr std::uint64_t CALL_TIMEOUT_US = 5000000;
constexpr std::size_t MAX_TEXT = 400;  // of a text from the bus, shown on a terminal
constexpr int MAX_LISTED = 256;

std::int64_t now() { return static_cast<std::int64_t>(std::time(nullptr)); }

// The watcher's name has no owner: the one line every command ends with.
bool noWatcher(const sd_bus_error& error) {
    return sd_bus_error_has_name(&error, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
           sd_bus_error_has_name(&error, SD_BUS_ERROR_NAME_HAS_NO_OWNER);
}

int failed(const sd_bus_error& error, int r) {
    if (noWatcher(error)) {
        std::fprintf(stderr, "smokedrift: no watcher runs in this session (smokedrift --idle SECONDS starts one)\n");
    } else {
        std::fprintf(stderr, "smokedrift: the watcher did not answer: %s\n",
                     error.message != nullptr ? idle::printable(error.message, MAX_TEXT).c_str() : std::strerror(-r));
    }
    return NO_WATCHER;
}

// Calls `method` of the watcher with the arguments `types` (one int64 at most); 0, or the exit code.
int call(sd_bus* bus, const char* interface, const char* method, const char* types, std::int64_t value,
         sd_bus_message** reply) {
    sd_bus_message* m = nullptr;
    int r = sd_bus_message_new_method_call(bus, &m, idle::WATCHER_BUS_NAME, idle::WATCHER_OBJECT, interface, method);
    if (r >= 0) r = sd_bus_message_set_auto_start(m, 0);
    if (r >= 0 && *types == 'x') r = sd_bus_message_append(m, "x", value);
    if (r >= 0 && *types == 's') r = sd_bus_message_append(m, "s", idle::WATCHER_INTERFACE);
    sd_bus_error error = SD_BUS_ERROR_NULL;
    if (r >= 0) r = sd_bus_call(bus, m, CALL_TIMEOUT_US, &error, reply);
    sd_bus_message_unref(m);
    const int code = r < 0 ? failed(error, r) : 0;
    sd_bus_error_free(&error);
    return code;
}

std::string text(const char* s) { return idle::printable(s != nullptr ? s : "", MAX_TEXT); }

// One property's value from GetAll's a{sv}; what this client does not know is skipped.
int readProperty(sd_bus_message* m, const char* name, WatcherStatus& s) {
    const std::string_view p = name;
    const char* str = nullptr;
    std::int64_t number = 0;
    int r = 0;
    if (p == "State" || p == "IdleSource" || p == "DesktopTimer") {
        r = sd_bus_message_read(m, "v", "s", &str);
        if (r < 0) return r;
        if (p == "State")
            s.state = idle::stateFromWord(str != nullptr ? str : "").value_or(idle::ControlState::Waiting);
        if (p == "IdleSource") s.source = text(str);
        if (p == "DesktopTimer") s.desktopTimer = text(str);
        return r;
    }
    if (p == "IdleTime" || p == "IdleSeconds" || p == "SecondsUntilSaver" || p == "PausedUntil") {
        r = sd_bus_message_read(m, "v", "x", &number);
        if (r < 0) return r;
        (p == "IdleTime"            ? s.idleTime
         : p == "IdleSeconds"       ? s.idleSeconds
         : p == "SecondsUntilSaver" ? s.secondsUntilSaver
                                    : s.pausedUntil) = number;
        return r;
    }
    if (p == "Inhibitions") {
        r = sd_bus_message_enter_container(m, 'v', "a(sssx)");
        if (r > 0) r = sd_bus_message_enter_container(m, 'a', "(sssx)");
        for (int i = 0; r > 0 && i < MAX_LISTED; ++i) {
            const char *path = nullptr, *holder = nullptr, *reason = nullptr;
            std::int64_t since = 0;
            r = sd_bus_message_read(m, "(sssx)", &path, &holder, &reason, &since);
            if (r > 0) s.inhibitions.push_back({text(path), text(holder), text(reason), since});
        }
        if (r < 0) return r;
        r = sd_bus_message_exit_container(m);
        return r < 0 ? r : sd_bus_message_exit_container(m);
    }
    return sd_bus_message_skip(m, "v");
}

// The watcher's status; 0, or the exit code (said).
int readStatus(sd_bus* bus, WatcherStatus& s) {
    sd_bus_message* reply = nullptr;
    if (const int code = call(bus, "org.freedesktop.DBus.Properties", "GetAll", "s", 0, &reply); code != 0) return code;
    s = {};
    int r = sd_bus_message_enter_container(reply, 'a', "{sv}");
    while (r > 0 && (r = sd_bus_message_enter_container(reply, 'e', "sv")) > 0) {
        const char* name = nullptr;
        r = sd_bus_message_read(reply, "s", &name);
        if (r >= 0) r = readProperty(reply, name, s);
        if (r >= 0) r = sd_bus_message_exit_container(reply);
        if (r >= 0) r = 1;
    }
    sd_bus_message_unref(reply);
    if (r < 0) {
        std::fprintf(stderr, "smokedrift: the watcher's answer could not be read: %s\n", std::strerror(-r));
        return NO_WATCHER;
    }
    return 0;
}

// One line for --watch: the time, the state and what holds the saver off.
std::string watchLine(const WatcherStatus& s) {
    std::string line = idle::localTime(now(), "%H:%M:%S") + " " + idle::stateWord(s.state);
    if (s.pausedUntil != 0) line += " until " + idle::localTime(s.pausedUntil, "%H:%M");
    for (const idle::Inhibitor& i : s.inhibitions)
        line += "; " + i.holder + (i.path.empty() ? "" : " (" + i.path + ")");
    return line;
}

// What a change is: the state, the pause, who holds the saver off (not the seconds counting).
std::string changeKey(const WatcherStatus& s) {
    std::string key = std::string(idle::stateWord(s.state)) + '\n' + std::to_string(s.pausedUntil);
    for (const idle::Inhibitor& i : s.inhibitions) key += '\n' + i.path + '\t' + i.holder + '\t' + i.reason;
    return key;
}

void print(const WatcherStatus& s, bool json, bool watching) {
    if (json) {
        std::printf("%s\n", idle::statusJson(s, now()).c_str());
    } else {
        std::printf("%s", watching ? (watchLine(s) + "\n").c_str() : idle::statusText(s, now()).c_str());
    }
    std::fflush(stdout);
}

int onSignal(sd_bus_message*, void* changed, sd_bus_error*) {
    *static_cast<bool*>(changed) = true;
    return 0;
}

int onOwner(sd_bus_message* m, void* gone, sd_bus_error*) {
    const char *name = nullptr, *before = nullptr, *after = nullptr;
    if (sd_bus_message_read(m, "sss", &name, &before, &after) >= 0 && after != nullptr && *after == '\0')
        *static_cast<bool*>(gone) = true;
    return 0;
}

// Follows the watcher until interrupted, or until it leaves the bus (one line, NO_WATCHER).
int watch(sd_bus* bus, bool json) {
    bool changed = false, gone = false;
    // Subscribed before the first read, so that no change falls between.
    sd_bus_slot* properties = nullptr;
    sd_bus_slot* owner = nullptr;
    int r = sd_bus_match_signal(bus, &properties, idle::WATCHER_BUS_NAME, idle::WATCHER_OBJECT,
                                "org.freedesktop.DBus.Properties", "PropertiesChanged", onSignal, &changed);
    const std::string rule =
        std::string("type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") +
        idle::WATCHER_BUS_NAME + "'";
    if (r >= 0) r = sd_bus_add_match(bus, &owner, rule.c_str(), onOwner, &gone);
    WatcherStatus s;
    int code = r < 0 ? NO_WATCHER : readStatus(bus, s);
    if (r < 0) std::fprintf(stderr, "smokedrift: cannot follow the watcher: %s\n", std::strerror(-r));
    std::string shown;
    while (code == 0) {
        if (changeKey(s) != shown) {
            print(s, json, true);
            shown = changeKey(s);
        }
        changed = false;
        while (!changed && !gone) {
            r = sd_bus_process(bus, nullptr);
            if (r == 0) r = sd_bus_wait(bus, UINT64_MAX);
            if (r < 0) break;
        }
        if (gone || r < 0) {
            std::fprintf(stderr, "smokedrift: %s\n", gone ? "the watcher ended" : "the session bus went away");
            code = NO_WATCHER;
            break;
        }
        code = readStatus(bus, s);
    }
    sd_bus_slot_unref(properties);
    sd_bus_slot_unref(owner);
    return code;
}

}  // namespace

int runControl(const ControlRequest& request) {
    sd_bus* bus = nullptr;
    const int r = sd_bus_open_user(&bus);
    if (r < 0) {
        std::fprintf(stderr, "smokedrift: no session bus (%s), so no watcher to ask\n", std::strerror(-r));
        return NO_WATCHER;
    }
    int code = 0;
    WatcherStatus s;
    switch (request.command) {
    case ControlCommand::Status:
        code = readStatus(bus, s);
        if (code == 0) print(s, request.json, false);
        break;
    case ControlCommand::Activate: code = call(bus, idle::WATCHER_INTERFACE, "Activate", "", 0, nullptr); break;
    case ControlCommand::Pause:
        code = call(bus, idle::WATCHER_INTERFACE, "Pause", "x", request.seconds, nullptr);
        break;
    case ControlCommand::Resume: code = call(bus, idle::WATCHER_INTERFACE, "Resume", "", 0, nullptr); break;
    case ControlCommand::Watch: code = watch(bus, request.json); break;
    }
    sd_bus_flush_close_unref(bus);
    return code;
}

}  // namespace smokedrift
