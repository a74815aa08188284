// What the desktop's timers mean for the watcher, from plain values; no session is touched here.
#include "idle/desktop_timers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace smokedrift::idle {

namespace {

std::string_view trim(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

// KConfig's flags after a name ("[$i]", "[$ie]"): true when they make it immutable.
bool immutableFlag(std::string_view flag) { return flag.size() > 1 && flag[0] == '$' && flag.find('i') != flag.npos; }

// A whole number of the file, or nothing when it is not one (KConfig then uses the default too).
std::optional<long> number(const std::string* text, long highest) {
    if (text == nullptr || text->empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(text->c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || n < 0 || n > highest) return std::nullopt;
    return n;
}

std::optional<bool> boolean(const std::string* text) {
    if (text == nullptr) return std::nullopt;
    for (const char* yes : {"true", "on", "yes", "1"})
        if (*text == yes) return true;
    for (const char* no : {"false", "off", "no", "0"})
        if (*text == no) return false;
    return std::nullopt;
}

// A year in seconds bounds what the files may say, so nothing overflows when minutes become seconds.
constexpr long LONGEST = 24L * 60 * 60 * 366;

}  // namespace

void KdeConfig::read(std::string_view text) {
    found = true;
    std::string group;
    bool groupLocked = false;
    bool fileLocked = false;
    std::set<std::string> newLocks;  // they hold against later files, not within this one
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            // "[A][B]" names the group B inside A; a last "[$i]" locks it ("[$i]" alone, the file).
            std::string name;
            bool locked = false;
            while (!line.empty() && line[0] == '[') {
                const std::size_t close = line.find(']');
                if (close == line.npos) break;
                const std::string_view part = line.substr(1, close - 1);
                if (immutableFlag(part)) {
                    locked = true;
                } else {
                    if (!name.empty()) name += '/';
                    name += part;
                }
                line.remove_prefix(close + 1);
            }
            if (name.empty() && locked && group.empty()) {
                fileLocked = true;
                continue;
            }
            group = name;
            groupLocked = locked;
            if (locked) newLocks.insert(group + '/');
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == line.npos) continue;
        std::string_view key = trim(line.substr(0, eq));
        bool keyLocked = groupLocked || fileLocked;
        if (const std::size_t open = key.find('['); open != key.npos) {
            const std::string_view flag = key.substr(open + 1, key.size() - open - 2);
            if (key.back() != ']' || flag.empty() || flag[0] != '$') continue;  // a translation: not ours
            keyLocked = keyLocked || immutableFlag(flag);
            key = key.substr(0, open);
        }
        const std::string full = group + '/' + std::string(key);
        if (this->locked.count(full) != 0 || this->locked.count(group + '/') != 0) continue;
        values[full] = std::string(trim(line.substr(eq + 1)));
        if (keyLocked) newLocks.insert(full);
    }
    this->locked.merge(newLocks);
}

const std::string* KdeConfig::get(std::string_view group, std::string_view key) const {
    const auto it = values.find(std::string(group) + '/' + std::string(key));
    return it == values.end() ? nullptr : &it->second;
}

std::vector<DesktopTimer> gnomeTimers(const GnomeValues& v) {
    // The lock comes lock-delay after the blank, and only with it: no blank, no lock.
    const long blank = v.idleDelay;
    const long lock = v.lockEnabled && blank > 0 ? blank + static_cast<long>(v.lockDelay) : 0;
    return {{"GNOME", "blanks the screen", "org.gnome.desktop.session idle-delay", "in Settings > Power > Screen Blank",
             blank},
            {"GNOME", "locks the screen", "org.gnome.desktop.screensaver lock-enabled, lock-delay",
             "in Settings > Privacy > Screen Lock", lock}};
}

namespace {

// Plasma 6 when PowerDevil migrated its profiles, or the session says so; else Plasma 5 when its
// profiles file holds a mains-power profile. A fresh account of either writes at most that file, so
// with nothing to go by today's Plasma is the better guess.
bool plasma6(const KdeConfig& profiles, int sessionVersion) {
    if (profiles.get("Migration", "MigratedProfilesToPlasma6") != nullptr) return true;
    if (sessionVersion > 0) return sessionVersion >= 6;
    const auto ac = profiles.values.lower_bound("AC/");
    return ac == profiles.values.end() || ac->first.compare(0, 3, "AC/") != 0;
}

// kscreenlockerrc's Timeout: minutes, an integer in Plasma 5 and a double in Plasma 6 ("2.5").
std::optional<long> lockSeconds(const std::string* text) {
    if (text == nullptr || text->empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double minutes = std::strtod(text->c_str(), &end);
    if (errno != 0 || *end != '\0' || !(minutes >= 0) || minutes > static_cast<double>(LONGEST) / 60)
        return std::nullopt;
    return std::lround(minutes * 60);
}

}  // namespace

std::vector<DesktopTimer> plasmaTimers(const KdeConfig& locker, const KdeConfig& profiles, const KdeConfig& power,
                                       int sessionVersion) {
    // The defaults live in Plasma's programs, not in any file: the locker on, after 5 minutes.
    const bool autolock = boolean(locker.get("Daemon", "Autolock")).value_or(true);
    const long lock = lockSeconds(locker.get("Daemon", "Timeout")).value_or(5 * 60);
    std::vector<DesktopTimer> timers = {{"KDE Plasma", "locks the screen", "kscreenlockerrc [Daemon] Autolock, Timeout",
                                         "in System Settings > Workspace Behavior > Screen Locking",
                                         autolock ? lock : 0}};
    if (!plasma6(profiles, sessionVersion)) {
        // Plasma 5 writes its profiles on first start, with the screen off after 10 minutes on
        // mains power: a missing file means that default, a missing group means off.
        long screenOff = 600;
        if (profiles.found) screenOff = number(profiles.get("AC/DPMSControl", "idleTime"), LONGEST).value_or(0);
        timers.push_back({"KDE Plasma", "switches the screen off",
                          "powermanagementprofilesrc [AC][DPMSControl] idleTime",
                          "in System Settings > Power Management > Energy Saving > Screen Energy Saving", screenOff});
        return timers;
    }
    // Plasma 6 writes none of these unless the user changes them (a migration from 5 copies the old
    // values here and leaves the stale groups in powermanagementprofilesrc). Defaults on mains power.
    const auto timer = [&](const char* group, const char* enabledKey, bool enabledByDefault, const char* key,
                           long fallback) -> long {
        const std::string* enabled = power.get(group, enabledKey);
        bool on = boolean(enabled).value_or(enabledByDefault);
        if (enabled != nullptr && !boolean(enabled)) on = number(enabled, 1000).value_or(0) != 0;  // an action's number
        return on ? number(power.get(group, key), LONGEST).value_or(fallback) : 0;
    };
    const char* where = "in System Settings > Power Management > On AC Power";
    timers.push_back({"KDE Plasma", "dims the screen",
                      "powerdevilrc [AC][Display] DimDisplayWhenIdle, DimDisplayIdleTimeoutSec", where,
                      timer("AC/Display", "DimDisplayWhenIdle", true, "DimDisplayIdleTimeoutSec", 300), false});
    timers.push_back({"KDE Plasma", "switches the screen off",
                      "powerdevilrc [AC][Display] TurnOffDisplayWhenIdle, TurnOffDisplayIdleTimeoutSec", where,
                      timer("AC/Display", "TurnOffDisplayWhenIdle", true, "TurnOffDisplayIdleTimeoutSec", 600)});
    // AutoSuspendAction is a number (0: do nothing); sleep is Plasma 6's default on mains power.
    timers.push_back({"KDE Plasma", "puts the computer to sleep",
                      "powerdevilrc [AC][SuspendAndShutdown] AutoSuspendAction, AutoSuspendIdleTimeoutSec", where,
                      timer("AC/SuspendAndShutdown", "AutoSuspendAction", true, "AutoSuspendIdleTimeoutSec", 900)});
    return timers;
}

std::vector<DesktopTimer> x11Timers(const X11Values& v) {
    std::vector<DesktopTimer> timers = {{"the X server", "starts its screen saver", "xset s",
                                         "with xset s SECONDS (or xset s off)",
                                         v.saverTimeout > 0 ? v.saverTimeout : 0}};
    if (!v.hasDpms) return timers;
    const auto level = [&](unsigned seconds) { return v.dpmsEnabled ? static_cast<long>(seconds) : 0L; };
    const char* where = "with xset dpms STANDBY SUSPEND OFF (or xset -dpms)";
    timers.push_back({"the X server", "puts the monitor in standby", "DPMS standby", where, level(v.standby)});
    timers.push_back({"the X server", "suspends the monitor", "DPMS suspend", where, level(v.suspend)});
    timers.push_back({"the X server", "switches the monitor off", "DPMS off", where, level(v.off)});
    return timers;
}

std::optional<DesktopTimer> firstBefore(const std::vector<DesktopTimer>& timers, long watcherSeconds) {
    std::optional<DesktopTimer> first;
    for (const DesktopTimer& t : timers) {
        if (!t.hides || t.seconds <= 0 || t.seconds > watcherSeconds) continue;
        if (!first || t.seconds < first->seconds) first = t;
    }
    return first;
}

std::string warningLine(const DesktopTimer& t, long watcherSeconds) {
    return std::string(t.desktop) + ' ' + t.action + " after " + std::to_string(t.seconds) + " s (" + t.setting +
           "), no later than --idle " + std::to_string(watcherSeconds) + ": the saver will not be seen; change it " +
           t.where + ", or give the watcher less time";
}

std::string timerLine(const DesktopTimer& t) {
    if (t.seconds <= 0)
        return std::string("desktop timer: ") + t.desktop + " never " + t.action + " (" + t.setting + ")";
    return std::string("desktop timer: ") + t.desktop + ' ' + t.action + " after " + std::to_string(t.seconds) +
           " s (" + t.setting + ")";
}

}  // namespace smokedrift::idle
