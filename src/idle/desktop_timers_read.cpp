// Reads the desktop's timers where the session's environment says they mean something: GNOME's
// GSettings on GNOME, Plasma's files on Plasma, the X server's settings in an X11 session (under
// Wayland, XWayland's saver blanks nothing). Everything here only reads; a setting, a file or a
// server that is missing or odd leaves its timers out, silently.
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "idle/desktop_timers.h"

namespace smokedrift::idle {

namespace {

// A uint or boolean key of a schema, type-checked first: GSettings aborts on a key it does not know.
std::optional<GVariant*> readKey(GSettingsSchema* schema, GSettings* settings, const char* key,
                                 const GVariantType* type) {
    if (!g_settings_schema_has_key(schema, key)) return std::nullopt;
    GSettingsSchemaKey* k = g_settings_schema_get_key(schema, key);
    const bool right = g_variant_type_equal(g_settings_schema_key_get_value_type(k), type);
    g_settings_schema_key_unref(k);
    if (!right) return std::nullopt;
    return g_settings_get_value(settings, key);
}

std::optional<GnomeValues> readGnome() {
    // Without the schemas installed, GSettings would abort on them rather than fail.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) return std::nullopt;
    GSettingsSchema* session = g_settings_schema_source_lookup(source, "org.gnome.desktop.session", TRUE);
    GSettingsSchema* saver = g_settings_schema_source_lookup(source, "org.gnome.desktop.screensaver", TRUE);
    std::optional<GnomeValues> result;
    if (session != nullptr && saver != nullptr) {
        GSettings* sessionSettings = g_settings_new_full(session, nullptr, nullptr);
        GSettings* saverSettings = g_settings_new_full(saver, nullptr, nullptr);
        const auto idle = readKey(session, sessionSettings, "idle-delay", G_VARIANT_TYPE_UINT32);
        const auto enabled = readKey(saver, saverSettings, "lock-enabled", G_VARIANT_TYPE_BOOLEAN);
        const auto delay = readKey(saver, saverSettings, "lock-delay", G_VARIANT_TYPE_UINT32);
        if (idle && enabled && delay) {
            result = GnomeValues{g_variant_get_uint32(*idle), g_variant_get_boolean(*enabled) != FALSE,
                                 g_variant_get_uint32(*delay)};
        }
        for (const auto& v : {idle, enabled, delay})
            if (v) g_variant_unref(*v);
        g_object_unref(sessionSettings);
        g_object_unref(saverSettings);
    }
    if (session != nullptr) g_settings_schema_unref(session);
    if (saver != nullptr) g_settings_schema_unref(saver);
    return result;
}

// A configuration file's first 64 KiB: more than these files ever hold. Only regular files: a
// FIFO put in its place would block the watcher.
std::optional<std::string> readSmallFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st;
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        std::string buffer(64 * 1024, '\0');
        std::size_t have = 0;
        ssize_t n = 0;
        while (have < buffer.size() && (n = read(fd, buffer.data() + have, buffer.size() - have)) > 0)
            have += static_cast<std::size_t>(n);
        buffer.resize(have);
        if (n >= 0) text = std::move(buffer);
    }
    close(fd);
    return text;
}

// The file `name` through KDE's cascade: $XDG_CONFIG_DIRS from the least important (the last),
// then $XDG_CONFIG_HOME (or ~/.config). Relative entries are ignored, as the base-directory rules say.
KdeConfig readKdeConfig(const SessionEnvironment& session, const char* name) {
    std::vector<std::string> dirs;
    anyListEntry(session.configDirs.empty() ? "/etc/xdg" : session.configDirs, [&dirs](std::string_view dir) {
        if (dir[0] == '/') dirs.insert(dirs.begin(), std::string(dir));
        return false;
    });
    if (session.configHome[0] == '/') {
        dirs.push_back(session.configHome);
    } else if (session.home[0] == '/') {
        dirs.push_back(session.home + "/.config");
    }
    KdeConfig config;
    for (const std::string& dir : dirs) {
        if (const auto text = readSmallFile(dir + '/' + name)) config.read(*text);
    }
    return config;
}

std::optional<X11Values> readX11(const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) return std::nullopt;
    X11Values v{};
    int interval = 0, blanking = 0, exposures = 0;
    XGetScreenSaver(display, &v.saverTimeout, &interval, &blanking, &exposures);
    int event = 0, error = 0;
    if (DPMSQueryExtension(display, &event, &error) && DPMSCapable(display)) {
        CARD16 level = 0, standby = 0, suspend = 0, off = 0;
        BOOL enabled = False;
        v.hasDpms = DPMSInfo(display, &level, &enabled) && DPMSGetTimeouts(display, &standby, &suspend, &off);
        v.dpmsEnabled = enabled != False;
        v.standby = standby;
        v.suspend = suspend;
        v.off = off;
    }
    XCloseDisplay(display);
    return v;
}

// The X server's values, given a second: a server that accepts and never answers would hold the
// watcher in XOpenDisplay (its signals already blocked) for good. Past the second the reader is
// left behind, blocked on a connection nobody else uses, and the X server's timers go unread.
std::optional<X11Values> readX11Within(const std::string& name, std::chrono::milliseconds limit) {
    struct Result {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<X11Values> values;
    };
    const auto result = std::make_shared<Result>();
    try {
        std::thread([result, name] {
            const std::optional<X11Values> values = readX11(name);
            const std::lock_guard<std::mutex> lock(result->mutex);
            result->values = values;
            result->finished = true;
            result->done.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock<std::mutex> lock(result->mutex);
    if (!result->done.wait_for(lock, limit, [&] { return result->finished; })) return std::nullopt;
    return result->values;
}

}  // namespace

std::string reportDesktopTimers(const SessionEnvironment& session, long watcherSeconds, bool verbose, std::FILE* out) {
    std::vector<DesktopTimer> timers;
    const auto add = [&](const std::vector<DesktopTimer>& more) {
        timers.insert(timers.end(), more.begin(), more.end());
    };
    if (session.namesDesktop("GNOME")) {
        if (const auto gnome = readGnome()) add(gnomeTimers(*gnome));
    }
    if (session.namesDesktop("KDE")) {
        // Saturates, never overflows.
        const long v =
            !session.kdeSessionVersion.empty() ? std::strtol(session.kdeSessionVersion.c_str(), nullptr, 10) : 0;
        const int sessionVersion = v > 0 && v < 100 ? static_cast<int>(v) : 0;
        add(plasmaTimers(readKdeConfig(session, "kscreenlockerrc"), readKdeConfig(session, "powermanagementprofilesrc"),
                         readKdeConfig(session, "powerdevilrc"), sessionVersion));
    }
    if (!session.waylandSession() && !session.x11Display.empty()) {
        if (const auto server = readX11Within(session.x11Display, std::chrono::seconds(1))) add(x11Timers(*server));
    }
    if (verbose) {
        for (const DesktopTimer& t : timers) std::fprintf(out, "smokedrift: %s\n", timerLine(t).c_str());
    }
    const auto first = firstBefore(timers, watcherSeconds);
    if (!first) return {};
    std::string line = warningLine(*first, watcherSeconds);
    std::fprintf(out, "smokedrift: %s\n", line.c_str());
    return line;
}

}  // namespace smokedrift::idle
