#pragma once
// The desktop's own timers (its screen blank, lock and screen-off times), read once when the
// watcher starts and only read: the watcher never changes or delays them. When one of them comes
// no later than the watcher's idle time, the desktop blanks or locks first and the saver is never
// seen; the watcher says so in one line, naming the setting and where a user changes it.
//
// Reading is split from deciding: the readers (desktop_timers_read.cpp: GSettings, KDE's
// configuration files, the X server) hand plain values to the pure functions here.
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/session_environment.h"

namespace smokedrift::idle {

// One timer: "GNOME blanks the screen after 300 s (org.gnome.desktop.session idle-delay)".
struct DesktopTimer {
    const char* desktop;  // "GNOME", "KDE Plasma", "the X server"
    const char* action;   // "blanks the screen", "locks the screen", ...
    const char* setting;  // the setting's own name
    const char* where;    // where a user changes it
    long seconds;         // after this many idle seconds; 0: never
    bool hides = true;    // false: the saver is still seen (a dimmed screen), so it warns of nothing
};

// GNOME's values as GSettings holds them.
struct GnomeValues {
    unsigned idleDelay;  // org.gnome.desktop.session idle-delay (0: never)
    bool lockEnabled;    // org.gnome.desktop.screensaver lock-enabled
    unsigned lockDelay;  // org.gnome.desktop.screensaver lock-delay, after the blank
};
std::vector<DesktopTimer> gnomeTimers(const GnomeValues& values);

// A KDE configuration file cascade (KConfig's INI dialect), as "Group/Key" -> value. Files are fed
// lowest priority first ($XDG_CONFIG_DIRS from the last, then $XDG_CONFIG_HOME); an entry or a
// group marked [$i] (immutable) keeps its value against later files.
struct KdeConfig {
    std::map<std::string, std::string> values;
    std::set<std::string> locked;
    bool found = false;  // any file was read
    void read(std::string_view text);
    const std::string* get(std::string_view group, std::string_view key) const;
};

// Plasma: the screen locker (kscreenlockerrc) and PowerDevil on mains power, each with Plasma's
// defaults where the files say nothing. Plasma 6 keeps PowerDevil's settings in powerdevilrc,
// Plasma 5 in powermanagementprofilesrc; `sessionVersion` is $KDE_SESSION_VERSION (0: unset).
std::vector<DesktopTimer> plasmaTimers(const KdeConfig& screenLocker, const KdeConfig& powerProfiles,
                                       const KdeConfig& powerDevil = {}, int sessionVersion = 0);

// The X server: its screen saver (xset s) and, when the server has DPMS, its three levels.
struct X11Values {
    int saverTimeout;  // 0: off
    bool hasDpms;      // the server has the extension and the monitor takes it
    bool dpmsEnabled;
    unsigned standby, suspend, off;  // 0: that level never comes
};
std::vector<DesktopTimer> x11Timers(const X11Values& values);

// The timer that comes first, if any comes no later than `watcherSeconds`; the first listed wins
// a tie.
std::optional<DesktopTimer> firstBefore(const std::vector<DesktopTimer>& timers, long watcherSeconds);

// The one line said at start for that timer, and the line --verbose prints for each timer read
// (both without the program's prefix).
std::string warningLine(const DesktopTimer& timer, long watcherSeconds);
std::string timerLine(const DesktopTimer& timer);

// Reads the timers of the session `session` names (GNOME and Plasma by
// XDG_CURRENT_DESKTOP, the X server when the session is X11's) and says what it found on `out`.
// GLib may start threads here: call it with the stop signals already blocked. Returns the warning
// line said, or nothing.
std::string reportDesktopTimers(const SessionEnvironment& session, long watcherSeconds, bool verbose, std::FILE* out);

}  // namespace smokedrift::idle
